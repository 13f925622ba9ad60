// The driver-parameter reader against real registry values (under Wine).
#include "vantra/drivers/registry_reader.h"

#include <gtest/gtest.h>

namespace {

const char* const Key = "Software\\VantraTest\\Driver";

class RegistryReader : public testing::Test {
protected:
    void SetUp() override
    {
        HKEY key;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        DWORD all = 0xFFFFFFFF, small = 40;
        const BYTE binary[] = {0x01, 0xAB};
        ::RegSetValueExA(key, "allBits", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&all), 4);
        ::RegSetValueExA(key, "keyLength0", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&small), 4);
        ::RegSetValueExA(key, "mac", 0, REG_BINARY, binary, sizeof binary);
        ::RegSetValueExA(key, "privacyInvoked", 0, REG_SZ, reinterpret_cast<const BYTE*>("True"), 5);
        ::RegCloseKey(key);
        SetRegistryRoot(HKEY_CURRENT_USER);
    }
    void TearDown() override { ::RegDeleteKeyA(HKEY_CURRENT_USER, Key); }
};

TEST_F(RegistryReader, ValuesAsText)
{
    char out[521];
    ASSERT_TRUE(ReadRegistryValueText(Key, "allBits", out));
    EXPECT_STREQ(out, "-1");
    ASSERT_TRUE(ReadRegistryValueText(Key, "keyLength0", out));
    EXPECT_STREQ(out, "40");
    ASSERT_TRUE(ReadRegistryValueText(Key, "mac", out));
    EXPECT_STREQ(out, "01AB");
    ASSERT_TRUE(ReadRegistryValueText(Key, "privacyInvoked", out));
    EXPECT_STREQ(out, "True");
}

TEST_F(RegistryReader, MissingKeyOrValueLeavesTheBufferUntouched)
{
    char out[521] = "unchanged";
    EXPECT_FALSE(ReadRegistryValueText(Key, "absent", out));
    EXPECT_FALSE(ReadRegistryValueText("Software\\VantraTest\\Nowhere", "x", out));
    EXPECT_STREQ(out, "unchanged");
    // A failed open must not have closed or spoiled anything for the next read.
    ASSERT_TRUE(ReadRegistryValueText(Key, "mac", out));
    EXPECT_STREQ(out, "01AB");
}

TEST(IntPower, Rules)
{
    EXPECT_EQ(IntPower(256, -1), 0);
    EXPECT_EQ(IntPower(256, 0), 1);
    EXPECT_EQ(IntPower(256, 3), 16777216);
    EXPECT_EQ(IntPower(256, 4), 0); // wraps in 32 bits
}

} // namespace
