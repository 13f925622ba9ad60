// The WEP key text forms: portable, both trees.
#include "vantra/wep_keys.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(WepKeys, SizesAndMasksPerLevel)
{
    EXPECT_STREQ(WepLevelName(0), "Disabled");
    EXPECT_STREQ(WepLevelName(1), "64 Bits");
    EXPECT_STREQ(WepLevelName(2), "128 Bits");
    EXPECT_STREQ(WepLevelName(3), "152 Bits");
    EXPECT_STREQ(WepLevelName(4), "");
    EXPECT_STREQ(WepLevelName(255), "");

    EXPECT_EQ(WepKeySize(WepLevel::Disabled), 0);
    EXPECT_EQ(WepKeySize(WepLevel::Bits64), 5);
    EXPECT_EQ(WepKeySize(WepLevel::Bits128), 13);
    EXPECT_EQ(WepKeySize(WepLevel::Bits152), 16);
    EXPECT_EQ(WepKeySize(static_cast<WepLevel>(4)), 0);
    EXPECT_EQ(WepKeySize(static_cast<WepLevel>(255)), 0);

    EXPECT_EQ(WepKeyMask(WepLevel::Disabled, WepKeyForm::Hexadecimal), "");
    EXPECT_EQ(WepKeyMask(WepLevel::Disabled, WepKeyForm::Text), "");
    EXPECT_EQ(WepKeyMask(WepLevel::Bits64, WepKeyForm::Hexadecimal), "aa:aa:aa:aa:aa;0;0");
    EXPECT_EQ(WepKeyMask(WepLevel::Bits128, WepKeyForm::Hexadecimal), "aa:aa:aa:aa:aa:aa:aa:aa:aa:aa:aa:aa:aa;0;0");
    EXPECT_EQ(WepKeyMask(WepLevel::Bits152, WepKeyForm::Hexadecimal),
              "aa:aa:aa:aa:aa:aa:aa:aa:aa:aa:aa:aa:aa:aa:aa:aa;0;0");
    EXPECT_EQ(WepKeyMask(WepLevel::Bits64, WepKeyForm::Text), "aaaaa;0; ");
    EXPECT_EQ(WepKeyMask(WepLevel::Bits128, WepKeyForm::Text), "aaaaaaaaaaaaa;0; ");
    EXPECT_EQ(WepKeyMask(WepLevel::Bits152, WepKeyForm::Text), "aaaaaaaaaaaaaaaa;0; ");
    EXPECT_EQ(WepKeyMask(static_cast<WepLevel>(9), WepKeyForm::Hexadecimal), "");
}

TEST(WepKeys, KeyFieldTakesHexadecimalDigitsAndBackspace)
{
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        const bool hex = (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
        EXPECT_EQ(IsWepKeyCharacter(ch), hex || ch == '\b') << "character " << c;
    }
}

TEST(WepKeys, KeyTextToBytes)
{
    uint8_t key[16];
    std::memset(key, 0xEE, sizeof key);
    HexTextToKey(key, "00112233445566778899aAbBcC", WepLevel::Bits128);
    const uint8_t full[13] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC};
    EXPECT_EQ(std::memcmp(key, full, 13), 0);
    EXPECT_EQ(key[13], 0xEE); // nothing beyond the level's size

    // Only 1, 2 and 3 typed at level 1; a blank (an empty position) and the
    // missing end count as 0, as does any other character.
    std::memset(key, 0xEE, sizeof key);
    HexTextToKey(key, "123", WepLevel::Bits64);
    const uint8_t typed[5] = {0x12, 0x30, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(key, typed, 5), 0);
    EXPECT_EQ(key[5], 0xEE);
    HexTextToKey(key, "1 2 G1-x", WepLevel::Bits64);
    const uint8_t odd[5] = {0x10, 0x20, 0x01, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(key, odd, 5), 0);

    // A text key fills two and a half bytes and leaves the rest 0.
    HexTextToKey(key, "ABCDE", WepLevel::Bits64);
    const uint8_t text[5] = {0xAB, 0xCD, 0xE0, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(key, text, 5), 0);

    // Longer texts are read to the level's size only.
    HexTextToKey(key, std::string(64, 'F'), WepLevel::Bits152);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(key[i], 0xFF);
}

TEST(WepKeys, LevelsWithoutAKeyWriteNothing)
{
    uint8_t key[16];
    std::memset(key, 0x5A, sizeof key);
    for (int level : {0, 4, 7, 255}) {
        HexTextToKey(key, "0123456789ABCDEF0123456789ABCDEF", static_cast<WepLevel>(level));
        for (uint8_t b : key) EXPECT_EQ(b, 0x5A) << "level " << level;
    }
}

} // namespace
