// The Windows version code that chooses the NIC library and the TCP/IP path:
// 1 = 95, 2 = 98, 3 = ME, 4 = NT 4 and every NT outside 5.x, 5 = 2000,
// 6 = XP and later 5.x, 0 = other.
#pragma once
#include <cstdint>

int32_t WinVersionCodeOf(uint32_t PlatformId, uint32_t Major, uint32_t Minor);
int32_t GetWinVersionCode(); // of the running system (Windows only)

// The NT family (codes 4, 5 and 6) uses Nicorra.dll and the NT TCP/IP path.
inline bool IsNtFamily(int32_t Code) { return Code >= 4 && Code <= 6; }
// Windows 95, 98 and ME (codes 1, 2 and 3) name their cards differently.
inline bool IsWin9x(int32_t Code) { return Code >= 1 && Code <= 3; }
