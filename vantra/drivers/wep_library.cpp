#include "wep_library.h"
#include "bindings.h"

#include <cstring>

bool WepKeyGeneratorAvailable()
{
    LoadWepLibrary();
    return Wep.Wep_Init && Wep.Wep_GenWepKeys;
}

bool GenerateWepKey1(const std::string& Passphrase, int KeySize, std::string& Key)
{
    if (!WepKeyGeneratorAvailable() || static_cast<uint8_t>(Wep.Wep_Init()) == 0) return false;
    // The library reads a zero-terminated text from a buffer of its own size,
    // and writes four keys back to back into one of the same size.
    char passphrase[WepKeyOutputSize] = {};
    Passphrase.copy(passphrase, sizeof passphrase - 1);
    char output[WepKeyOutputSize] = {};
    Wep.Wep_GenWepKeys(passphrase, KeySize, output);
    const size_t key1 = KeySize > 0 && KeySize <= 16 ? 2 * static_cast<size_t>(KeySize) : 0;
    Key.assign(output, strnlen(output, key1));
    return true;
}
