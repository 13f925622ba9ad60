// Windows XP's own wireless configuration service "WZCSVC": while it runs
// it keeps the adapter to itself.
#pragma once
#include <cstdint>

// On Action 2: whether the service is running.
bool ControlWzcService(int Action);
// On XP (version code 6), whether the service runs.
bool WzcServiceBlocks(int32_t WinVersionCode);
