// Vorlex.exe and rondsvc.exe, the maker's companion programs: each notes in
// the call log that it ran, with its command line, and ends.
#include "call.h"

#include "toolkit/format.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    std::recursive_mutex lock;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = ExtractFileName(path);
    Call call(lock, name.c_str());
    call.Text("arguments", commandLine, 1024);
    return call.Done(0);
}
