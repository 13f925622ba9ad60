#include "state_files.h"

#include "toolkit/format.h"

#include <windows.h>

void EnsureFolder(const std::string& folder)
{
    if (folder.size() <= 3 || GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    EnsureFolder(ExtractFilePath(folder.substr(0, folder.size() - 1)));
    CreateDirectoryA(folder.c_str(), nullptr);
}

bool ReadStateFile(const std::string& path, std::string& contents)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    contents.clear();
    char buffer[4096];
    DWORD n = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &n, nullptr)) && n > 0) contents.append(buffer, n);
    CloseHandle(file);
    return ok;
}

bool WriteStateFile(const std::string& path, const std::string& contents)
{
    EnsureFolder(ExtractFilePath(path));
    std::string temporary = path + ".new";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
              written == contents.size();
    CloseHandle(file);
    ok = ok && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!ok) DeleteFileA(temporary.c_str());
    return ok;
}
