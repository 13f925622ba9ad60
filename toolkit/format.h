// printf-style formatting into std::string, and the small text helpers
// the rest of the code shares.
#pragma once
#include <cstdint>
#include <string>

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string LowerCase(std::string text);
std::string UpperCase(std::string text);
int CompareText(const std::string& a, const std::string& b); // ASCII, case-insensitive
std::string Trim(const std::string& text);                   // drops characters <= ' ' at both ends

// Whole-text decimal integer with an optional sign; no blanks, no trailing
// characters, within 32 bits. False leaves `value` untouched.
bool TryStrToInt(const std::string& text, int32_t& value);
int32_t StrToIntDef(const std::string& text, int32_t fallback);
// As TryStrToInt after trimming blanks; anything else raises EConvertError
// with Texts::InvalidInteger.
int32_t StrToInt(const std::string& text);
std::string IntToStr(int64_t value);

// Path helpers over '\' and '/' separators.
std::string ExtractFilePath(const std::string& path); // up to and including the last separator
std::string ExtractFileName(const std::string& path); // after the last separator
