// What the utility asks of the WEP key library (KALWEP.DLL): key 1 made
// from a passphrase. Bound on first use; a library or an entry point that is
// missing makes no key and is never called through.
#pragma once
#include <string>

// Binds the library when it is not yet bound. Whether keys can be made from
// a passphrase: the library is loaded and exports Wep_Init and Wep_GenWepKeys.
bool WepKeyGeneratorAvailable();

// Key 1 of a KeySize-byte key (5, 13 or 16) as 2 * KeySize hexadecimal
// characters, made from the first 259 characters of Passphrase. False, with
// Key unchanged, when no key can be made: the library cannot be bound, or
// its Wep_Init says it cannot make keys now.
bool GenerateWepKey1(const std::string& Passphrase, int KeySize, std::string& Key);
