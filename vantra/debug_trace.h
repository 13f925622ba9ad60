// The utility's trace: it prints nothing in use; the platform seam keeps the
// lines when it records, for the tests.
#pragma once
#include "toolkit/seam.h"

#include <string>

inline void DebugTrace(int /*Level*/, const std::string& Text) { Platform().Trace(Text); }
