#include "win_version.h"

int32_t WinVersionCodeOf(uint32_t PlatformId, uint32_t Major, uint32_t Minor)
{
    switch (PlatformId) {
    case 1: // the Windows 9x family
        if (Major != 4) return 0;
        if (Minor == 0) return 1;
        if (Minor == 10) return 2;
        return Minor > 10 ? 3 : 0;
    case 2: // the NT family
        if (Major != 5) return 4;
        return Minor == 0 ? 5 : 6;
    default:
        return 0;
    }
}
