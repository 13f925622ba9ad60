// Texts in the fixed-size fields of the records, and the text forms of MAC
// addresses and key bytes that the world file uses.
#pragma once
#include "vantra/drivers/record_text.h" // CopyText, FieldText

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// "00-1A-2B-3C-4D-5E" (or ':' separators); false leaves mac zero.
bool ParseMac(const std::string& text, uint8_t mac[6]);
std::string HexBytes(const void* bytes, size_t count); // upper-case, back to back
std::vector<uint8_t> ParseHex(const std::string& text); // stops at the first non-pair
