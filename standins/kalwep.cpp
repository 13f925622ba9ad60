// KALWEP.DLL: WEP keys from a passphrase, and the WEP cipher.
#include "call.h"
#include "text_fields.h"

#include "vantra/drivers/wep_api.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstring>
#include <type_traits>
#include <vector>

namespace {

std::recursive_mutex lock;

// The usual 40-bit derivation: the passphrase folded into a 32-bit seed that
// drives a linear congruential generator; four different keys.
std::vector<uint8_t> Keys40(const std::string& passphrase)
{
    uint8_t fold[4] = {};
    for (size_t i = 0; i < passphrase.size(); ++i) fold[i % 4] ^= static_cast<uint8_t>(passphrase[i]);
    uint32_t x = fold[0] | fold[1] << 8 | fold[2] << 16 | static_cast<uint32_t>(fold[3]) << 24;
    std::vector<uint8_t> keys(4 * 5);
    for (uint8_t& byte : keys) {
        x = x * 0x343FDu + 0x269EC3u;
        byte = static_cast<uint8_t>(x >> 16);
    }
    return keys;
}

// The usual 104-bit derivation, also used for 128-bit keys: the start of the
// MD5 digest of the passphrase repeated to 64 bytes, the same in all four.
bool KeysFromDigest(const std::string& passphrase, size_t keyLength, std::vector<uint8_t>& keys)
{
    std::string block;
    while (block.size() < 64) block += passphrase;
    block.resize(64);
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    BYTE digest[16];
    DWORD size = sizeof digest;
    bool ok = CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT) &&
              CryptCreateHash(provider, CALG_MD5, 0, 0, &hash) &&
              CryptHashData(hash, reinterpret_cast<const BYTE*>(block.data()), 64, 0) &&
              CryptGetHashParam(hash, HP_HASHVAL, digest, &size, 0) && size == sizeof digest;
    if (hash) CryptDestroyHash(hash);
    if (provider) CryptReleaseContext(provider, 0);
    if (!ok) return false;
    keys.clear();
    for (int i = 0; i < 4; ++i) keys.insert(keys.end(), digest, digest + keyLength);
    return true;
}

// WEP: RC4 keyed with the initialisation vector followed by the key.
void Rc4(const uint8_t* iv, const uint8_t* key, size_t keyLength, uint8_t* data, size_t length)
{
    uint8_t seed[3 + 16];
    std::memcpy(seed, iv, 3);
    std::memcpy(seed + 3, key, keyLength);
    size_t seedLength = 3 + keyLength;
    uint8_t s[256];
    for (int i = 0; i < 256; ++i) s[i] = static_cast<uint8_t>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + seed[i % seedLength]) & 255;
        std::swap(s[i], s[j]);
    }
    for (size_t n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 255;
        j = (j + s[i]) & 255;
        std::swap(s[i], s[j]);
        data[n] ^= s[(s[i] + s[j]) & 255];
    }
}

uint8_t Cipher(const char* name, const uint8_t* iv, const uint8_t* key, int32_t keyLength, uint8_t* data,
               int32_t length)
{
    Call call(lock, name);
    call.Record("iv", iv, 3).Int("keyLength", keyLength).Int("length", length);
    if (keyLength >= 0 && keyLength <= 16) call.Record("key", key, static_cast<size_t>(keyLength));
    if (!iv || !key || !data || keyLength < 1 || keyLength > 16 || length < 0 || call.Forced())
        return call.Done<uint8_t>(0);
    Rc4(iv, key, static_cast<size_t>(keyLength), data, static_cast<size_t>(length));
    return call.Done<uint8_t>(1);
}

} // namespace

extern "C" {

uint8_t __stdcall Wep_Init()
{
    Call call(lock, "Wep_Init");
    return call.Done<uint8_t>(!call.Forced());
}

uint8_t __stdcall Wep_GenWepKeys(const char* passphrase, int32_t keyLength, char* output)
{
    Call call(lock, "Wep_GenWepKeys");
    call.Text("passphrase", passphrase, WepKeyOutputSize - 1).Int("keyLength", keyLength);
    if (!passphrase || !output || call.Forced() || (keyLength != 5 && keyLength != 13 && keyLength != 16))
        return call.Done<uint8_t>(0);
    std::string text = FieldText(passphrase, WepKeyOutputSize - 1);
    std::vector<uint8_t> keys;
    if (text.empty()) return call.Done<uint8_t>(0);
    if (keyLength == 5)
        keys = Keys40(text);
    else if (!KeysFromDigest(text, static_cast<size_t>(keyLength), keys))
        return call.Done<uint8_t>(0);
    std::string hex = HexBytes(keys.data(), keys.size());
    std::memcpy(output, hex.c_str(), hex.size() + 1);
    return call.Done<uint8_t>(1);
}

uint8_t __stdcall Wep_Encrypt(const uint8_t* iv, const uint8_t* key, int32_t keyLength, uint8_t* data,
                              int32_t length)
{
    return Cipher("Wep_Encrypt", iv, key, keyLength, data, length);
}

uint8_t __stdcall Wep_Decrypt(const uint8_t* iv, const uint8_t* key, int32_t keyLength, uint8_t* data,
                              int32_t length)
{
    return Cipher("Wep_Decrypt", iv, key, keyLength, data, length);
}

} // extern "C"

#define MATCHES_BINDING(name) static_assert(std::is_same<decltype(&name), name##_t>::value, #name)
MATCHES_BINDING(Wep_Init);
MATCHES_BINDING(Wep_GenWepKeys);
MATCHES_BINDING(Wep_Encrypt);
MATCHES_BINDING(Wep_Decrypt);
