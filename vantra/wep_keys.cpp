#include "wep_keys.h"
#include "drivers/record_text.h"

const char* WepLevelName(unsigned Level)
{
    static const char* const names[] = {"Disabled", "64 Bits", "128 Bits", "152 Bits"};
    return Level < 4 ? names[Level] : "";
}

int WepKeySize(WepLevel Level)
{
    switch (Level) {
    case WepLevel::Bits64: return 5;
    case WepLevel::Bits128: return 13;
    case WepLevel::Bits152: return 16;
    default: return 0;
    }
}

std::string WepKeyMask(WepLevel Level, WepKeyForm Form)
{
    const int size = WepKeySize(Level);
    if (size == 0) return "";
    std::string mask;
    for (int i = 0; i < size; ++i) {
        if (Form == WepKeyForm::Text) {
            mask += 'a';
        } else {
            if (i > 0) mask += ':';
            mask += "aa";
        }
    }
    // The separators stay out of the field's text.
    return mask + (Form == WepKeyForm::Text ? ";0; " : ";0;0");
}

bool IsWepKeyCharacter(char C)
{
    return (C >= '0' && C <= '9') || (C >= 'a' && C <= 'f') || (C >= 'A' && C <= 'F') || C == '\b';
}

void HexTextToKey(uint8_t* Destination, const std::string& KeyText, WepLevel Level)
{
    auto at = [&KeyText](size_t i) { return i < KeyText.size() ? KeyText[i] : '\0'; };
    const int size = WepKeySize(Level);
    for (int i = 0; i < size; ++i) Destination[i] = HexPairToByte(at(2 * i), at(2 * i + 1));
}
