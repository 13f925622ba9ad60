// The stages of a long operation that reports its progress: graphics
// loading and saving, in the toolkit and in the units that add formats.
#pragma once

enum TProgressStage { psStarting, psRunning, psEnding };
