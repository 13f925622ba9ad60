// The WEP key text forms used throughout the utility: key sizes by
// encryption level, the input masks of key fields, which characters a key
// field takes, and a key text turned into key bytes. Portable: no Windows call.
#pragma once
#include <cstdint>
#include <string>

// The EncryptionLevel byte of a WEP record. The level lists of the windows
// offer the first three; 152-bit keys come only from stored profiles.
enum class WepLevel : uint8_t { Disabled = 0, Bits64 = 1, Bits128 = 2, Bits152 = 3 };

// "Disabled", "64 Bits", "128 Bits" or "152 Bits" by EncryptionLevel: the
// items of the level lists, and what the profile pages show of a profile's
// level. Empty for a level that has no name.
const char* WepLevelName(unsigned Level);

// How a key field takes its key: hexadecimal pairs, or one character per
// key byte (a profile's ProfileMode: 0 hexadecimal, anything else text).
enum class WepKeyForm { Hexadecimal, Text };

// Key bytes of a level: 5, 13 or 16; 0 for Disabled and unknown levels.
int WepKeySize(WepLevel Level);

// The key field's edit mask: pairs of letter-or-digit positions separated by
// ":" with empty positions shown as "0", or single positions shown as
// blanks; no mask for a level without a key.
std::string WepKeyMask(WepLevel Level, WepKeyForm Form);

// The characters a key field takes, in either form: hexadecimal digits and backspace.
bool IsWepKeyCharacter(char C);

// Writes the key bytes of Level into Destination: byte i from characters 2i
// and 2i + 1 of KeyText by HexPairToByte; characters missing at the end of
// the text count as 0. A level without a key writes nothing.
void HexTextToKey(uint8_t* Destination, const std::string& KeyText, WepLevel Level);

// The longest passphrase the WEP key library is given: its buffer holds 260
// bytes with the terminating zero.
constexpr int PassphraseMaxLength = 259;
