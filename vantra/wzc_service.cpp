#include "wzc_service.h"
#include "toolkit/seam.h"

bool ControlWzcService(int) { return Platform().ServiceRunning("WZCSVC"); }

bool WzcServiceBlocks(int32_t WinVersionCode) { return WinVersionCode == 6 && ControlWzcService(2); }
