// The program's own life: whether it is ending, whether it may make sounds,
// the Windows it runs on and where its files lie.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

struct TProgramState {
    // Set while the utility exits, or when it was started only to stop a
    // running copy; every chipset call is skipped meanwhile. Workers read it.
    std::atomic<bool> Quitting{false};
    bool EndingSession = false; // Windows asked whether the logoff may proceed
    bool SoundEnabled = false;  // a wave output device exists
    int32_t WinVersionCode = 0; // 1 95, 2 98, 3 ME, 4 NT 4, 5 2000, 6 XP, 0 other
    std::string ProgramFolder;  // with its trailing backslash
    std::string WlanIniPath;    // ProgramFolder + "WLAN.INI"
};
