#include "handshake.h"
#include "toolkit/format.h"

#include <windows.h>

#include <cstring>

namespace {

// Reads a text value into Buffer, which always ends up terminated; false
// when the value is missing or does not fit.
bool ReadText(const char* Key, const char* Name, char* Buffer, DWORD Size)
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = Size - 1; // room for a terminator the stored value may lack
    const LONG result = ::RegQueryValueExA(key, Name, nullptr, nullptr, reinterpret_cast<BYTE*>(Buffer), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS) return false;
    Buffer[size] = '\0';
    return true;
}

} // namespace

void DeleteSoftwareValue(const char* Name)
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    ::RegDeleteValueA(key, Name);
    ::RegCloseKey(key);
}

void WriteOpenValue()
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    // The installer reads these 10 bytes: the text without its terminating zero.
    static const char open[] = "Open Setup";
    ::RegSetValueExA(key, "Open", 0, REG_SZ, reinterpret_cast<const BYTE*>(open), sizeof open - 1);
    ::RegCloseKey(key);
}

bool InstallerCompleted()
{
    // "exit" and its terminator fit; a longer value is refused by the read.
    char value[10 + 1];
    return ReadText("SOFTWARE", "Exitkey", value, sizeof value) && CompareText(value, "exit") == 0;
}

bool IsWindows98OrMe()
{
    char version[64];
    return ReadText("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "VersionNumber", version, sizeof version) &&
           (std::strncmp(version, "4.10", 4) == 0 || std::strncmp(version, "4.90", 4) == 0);
}
