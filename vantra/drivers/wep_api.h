// Entry points of the WEP key library (KALWEP.DLL), as the utility binds them
// by name. All are __stdcall and exported undecorated.
// Windows builds only.
#pragma once
#include <cstdint>

// 0 means that the library cannot generate keys now.
using Wep_Init_t = uint8_t(__stdcall*)();
// Four keys derived from the passphrase (zero-terminated, at most 259
// characters read) as upper-case hexadecimal texts of 2 * keyLength
// characters each, back to back, key 1 first, then a terminating zero, in a
// 260-byte output buffer. keyLength: 5, 13 or 16; anything else, or an empty
// passphrase, gives 0 and leaves the output untouched.
using Wep_GenWepKeys_t = uint8_t(__stdcall*)(const char* passphrase, int32_t keyLength, char* output);
// WEP (RC4) over length bytes of data in place, seeded with the 3-byte
// initialisation vector followed by keyLength key bytes. Encryption and
// decryption are the same operation.
using Wep_Encrypt_t = uint8_t(__stdcall*)(const uint8_t* iv, const uint8_t* key, int32_t keyLength,
                                           uint8_t* data, int32_t length);
using Wep_Decrypt_t = Wep_Encrypt_t;

constexpr int WepKeyOutputSize = 260;
