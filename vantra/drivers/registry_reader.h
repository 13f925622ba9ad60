// Reads the adapter's driver parameters from the registry as text.
#pragma once
#include <windows.h>

#include <cstdint>

// Takes Root as the key that later calls open under, unless it is the key
// opened last.
void SetRegistryRoot(HKEY Root);
bool OpenRegistryKey(const char* SubKey, bool Create);
bool CreateRegistryKey(const char* SubKey);
// Reads one value as text into Out (room for 521 bytes): strings as they
// are, REG_DWORD as signed decimal, REG_BINARY as upper-case hexadecimal
// pairs, anything else up to its first zero byte. False, and Out untouched,
// when the key or the value cannot be read.
bool ReadRegistryValueText(const char* SubKey, const char* ValueName, char* Out);
int32_t IntPower(int32_t Base, int32_t Exponent);
