// The cost of one site survey of the simulated adapter (Belgrin.dll, loaded
// as the utility loads it) in worlds of 100, 1,000 and 10,000 cells: the
// first call after the world file changed, which reads it, and the calls
// after that, which only find it unchanged.
//   scripts/wine-run win64 build/win64/bench/survey_bench.exe
#include "vantra/drivers/chipset_api.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

std::string ExeFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of("\\/") + 1);
}

// The default world with cells of its own after it, to `cells` in all.
std::string World(const std::string& defaultWorld, int cells)
{
    std::string text = defaultWorld;
    char cell[160];
    for (int i = 7; i <= cells; ++i) {
        std::snprintf(cell, sizeof cell, "\r\n[Cell%d]\r\nSSID=bench-%d\r\nBSSID=02-BE-%02X-%02X-00-01\r\nMode=1\r\n"
                      "Channel=%d\r\nSignal=%d\r\n", i, i, i >> 8 & 0xFF, i & 0xFF, 1 + i % 11, i % 101);
        text += cell;
    }
    return text;
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

} // namespace

int main()
{
    const std::string bin = ExeFolder() + "..\\bin\\";
    HMODULE library = LoadLibraryA((bin + "Belgrin.dll").c_str());
    if (!library) {
        std::fprintf(stderr, "Belgrin.dll not found in %s\n", bin.c_str());
        return 1;
    }
    auto open = reinterpret_cast<WLAN_Open_Adapter_t>(reinterpret_cast<void*>(GetProcAddress(library, "WLAN_Open_Adapter")));
    auto survey =
        reinterpret_cast<WLAN_Get_Site_Survey_t>(reinterpret_cast<void*>(GetProcAddress(library, "WLAN_Get_Site_Survey")));
    WlanAdapter adapter{};
    if (!open(&adapter)) {
        std::fprintf(stderr, "the adapter of the default world did not open\n");
        return 1;
    }
    std::stringstream defaultWorld;
    defaultWorld << std::ifstream(bin + "standins.ini", std::ios::binary).rdbuf();

    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "vantra-survey-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);

    std::printf("site survey of the simulated adapter (WLAN_Get_Site_Survey)\n");
    std::printf("%8s %14s %22s %16s\n", "cells", "world file", "first call (reads it)", "each call after");
    for (int cells : {100, 1000, 10000}) {
        const std::string file = folder + "world-" + std::to_string(cells) + ".ini";
        const std::string text = World(defaultWorld.str(), cells);
        std::ofstream(file, std::ios::binary) << text;
        SetEnvironmentVariableA("VANTRA_WORLD", file.c_str());

        static SiteSurveyEntry entries[SurveyMaxEntries];
        int32_t count = 0;
        auto start = Clock::now();
        if (!survey(entries, &count, 1) || count != SurveyMaxEntries) {
            std::fprintf(stderr, "the survey of %d cells failed (%d entries)\n", cells, count);
            return 1;
        }
        const double first = Milliseconds(Clock::now() - start);

        // At least half a second of calls, for a steady figure.
        int calls = 0;
        start = Clock::now();
        do {
            survey(entries, &count, 1);
            ++calls;
        } while (Clock::now() - start < std::chrono::milliseconds(500));
        const double each = Milliseconds(Clock::now() - start) / calls;
        std::printf("%8d %11.1f KB %19.2f ms %13.3f ms\n", cells, text.size() / 1024.0, first, each);
        DeleteFileA(file.c_str());
    }
    FreeLibrary(library);
    return 0;
}
