#include "sandbox.h"

#include <fstream>
#include <sstream>

#ifndef BIN_DIR
#error BIN_DIR must name the folder of the built programs
#endif

namespace {

std::string TempRoot()
{
    char path[MAX_PATH];
    ::GetTempPathA(MAX_PATH, path);
    return path;
}

void CopyFolder(const std::string& From, const std::string& To, const std::vector<std::string>& Omit)
{
    ::CreateDirectoryA(To.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((From + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        bool omitted = false;
        for (const std::string& o : Omit) omitted |= lstrcmpiA(o.c_str(), name.c_str()) == 0;
        if (omitted) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyFolder(From + name + "\\", To + name + "\\", Omit);
        else
            ::CopyFileA((From + name).c_str(), (To + name).c_str(), FALSE);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
}

void DeleteFolder(const std::string& Folder)
{
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((Folder + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) DeleteFolder(Folder + name + "\\");
            else ::DeleteFileA((Folder + name).c_str());
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(Folder.c_str());
}

std::vector<std::string> SplitLines(const std::string& Text)
{
    std::vector<std::string> lines;
    std::istringstream in(Text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace

Sandbox::Sandbox(const std::string& Name, const std::vector<std::string>& Omit)
    : Folder(TempRoot() + "vantra-e2e-" + Name + "\\")
{
    DeleteFolder(Folder);
    CopyFolder(BIN_DIR "\\", Folder, Omit);
}

Sandbox::~Sandbox()
{
    for (HANDLE process : Processes) {
        if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) ::TerminateProcess(process, 1);
        ::WaitForSingleObject(process, 5000);
        ::CloseHandle(process);
    }
}

void Sandbox::WriteFile(const std::string& File, const std::string& Text) const
{
    std::ofstream(Path(File), std::ios::binary) << Text;
}

std::string Sandbox::ReadFile(const std::string& File) const
{
    std::ifstream in(Path(File), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

HANDLE Sandbox::Start(const std::string& Program, const std::string& Arguments)
{
    ::SetEnvironmentVariableA("SEAM_LOG", Path("seam.log").c_str());
    std::string commandLine = "\"" + Path(Program) + "\"" + (Arguments.empty() ? "" : " " + Arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, Folder.c_str(), &startup,
                          &info))
        return nullptr;
    ::CloseHandle(info.hThread);
    Processes.push_back(info.hProcess);
    return info.hProcess;
}

DWORD Sandbox::WaitExit(HANDLE Process, DWORD Milliseconds)
{
    if (::WaitForSingleObject(Process, Milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(Process, &code);
    return code;
}

namespace {
struct WindowSearch {
    DWORD Pid;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectWindow(HWND Wnd, LPARAM Param)
{
    auto* search = reinterpret_cast<WindowSearch*>(Param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(Wnd, &pid);
    if (pid == search->Pid) search->Found.push_back(Wnd);
    return TRUE;
}
} // namespace

std::vector<HWND> WindowsOf(DWORD ProcessId)
{
    WindowSearch search{ProcessId, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND Sandbox::WaitWindow(HANDLE Process, const char* ClassName, DWORD Milliseconds)
{
    const DWORD pid = ::GetProcessId(Process);
    const DWORD start = ::GetTickCount();
    do {
        for (HWND wnd : WindowsOf(pid)) {
            char name[64] = {};
            ::GetClassNameA(wnd, name, sizeof name);
            if (lstrcmpA(name, ClassName) == 0) return wnd;
        }
        ::Sleep(20);
    } while (::GetTickCount() - start < Milliseconds && ::WaitForSingleObject(Process, 0) == WAIT_TIMEOUT);
    return nullptr;
}

std::vector<std::string> Sandbox::Lines(const std::string& File) const { return SplitLines(ReadFile(File)); }

std::vector<std::string> Sandbox::SeamCalls(const std::string& Prefix) const
{
    std::vector<std::string> calls;
    for (const std::string& line : SeamLog())
        if (line.compare(0, Prefix.size(), Prefix) == 0) calls.push_back(line);
    return calls;
}

size_t Sandbox::Calls(const std::string& Name) const
{
    size_t n = 0;
    for (const std::string& line : Lines("calls.log"))
        if (line.compare(0, Name.size() + 1, Name + " ") == 0) ++n;
    return n;
}

bool Sandbox::WaitSeamCall(const std::string& Prefix, DWORD Milliseconds) const
{
    for (const DWORD start = ::GetTickCount(); SeamCalls(Prefix).empty(); ::Sleep(20))
        if (::GetTickCount() - start > Milliseconds) return false;
    return true;
}

bool Sandbox::EndedClean() const
{
    return SeamCalls("Trace\tAlive at the end:") ==
           std::vector<std::string>{"Trace\tAlive at the end: 0 timers, 0 windows, 0 threads"};
}

void SetWineVersion(const std::string& Program, const std::string& Version)
{
    const std::string key = "Software\\Wine\\AppDefaults\\" + Program;
    if (Version.empty()) {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
        return;
    }
    HKEY handle;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) ==
        ERROR_SUCCESS) {
        ::RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(Version.c_str()),
                         static_cast<DWORD>(Version.size() + 1));
        ::RegCloseKey(handle);
    }
}
