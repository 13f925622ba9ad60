#include "registry_reader.h"

#include <cstdio>
#include <cstring>

namespace {
HKEY RootKey = nullptr;
HKEY CurrentKey = nullptr;

// Read access is all a query needs; a limited user has no more.
bool OpenForReading(const char* SubKey)
{
    HKEY key;
    if (::RegOpenKeyExA(RootKey, SubKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    CurrentKey = key;
    return true;
}

void CloseCurrentKey()
{
    if (CurrentKey) ::RegCloseKey(CurrentKey);
    CurrentKey = nullptr;
}
} // namespace

void SetRegistryRoot(HKEY Root)
{
    if (Root != CurrentKey) RootKey = Root;
}

bool CreateRegistryKey(const char* SubKey)
{
    HKEY key;
    char noClass[] = "";
    if (::RegCreateKeyExA(RootKey, SubKey, 0, noClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return false;
    CurrentKey = key;
    return true;
}

bool OpenRegistryKey(const char* SubKey, bool Create)
{
    if (OpenForReading(SubKey)) return true;
    return Create && CreateRegistryKey(SubKey);
}

int32_t IntPower(int32_t Base, int32_t Exponent)
{
    if (Exponent < 0) return 0;
    uint32_t result = 1;
    while (Exponent-- > 0) result *= static_cast<uint32_t>(Base);
    return static_cast<int32_t>(result);
}

bool ReadRegistryValueText(const char* SubKey, const char* ValueName, char* Out)
{
    if (!RootKey) RootKey = HKEY_LOCAL_MACHINE;
    if (!OpenRegistryKey(SubKey, false)) return false; // nothing of ours to close

    BYTE data[260] = {};
    DWORD type = 0, size = sizeof data - 1; // keeps a terminating zero for texts
    bool ok = ::RegQueryValueExA(CurrentKey, ValueName, nullptr, &type, data, &size) == ERROR_SUCCESS;
    if (ok) {
        char text[521] = {};
        switch (type) {
        case REG_DWORD: {
            uint32_t value = 0;
            for (int i = 3; i >= 0; --i) value += data[i] * static_cast<uint32_t>(IntPower(256, i));
            std::snprintf(text, sizeof text, "%d", static_cast<int32_t>(value));
            break;
        }
        case REG_BINARY:
            for (DWORD i = 0; i < size; ++i) std::snprintf(text + 2 * i, 3, "%02X", data[i]);
            break;
        default: // REG_SZ, REG_EXPAND_SZ and the rest: up to the first zero byte
            std::memcpy(text, data, size);
            break;
        }
        std::memcpy(Out, text, std::strlen(text) + 1);
    }
    CloseCurrentKey();
    return ok;
}
