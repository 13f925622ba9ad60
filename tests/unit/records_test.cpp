// The record helpers and the Windows version rule: portable, both trees.
#include "vantra/drivers/record_text.h"
#include "vantra/drivers/win_version.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(RecordText, MacTextBothWays)
{
    const uint8_t mac[6] = {0x00, 0x0A, 0xFF, 0x10, 0x20, 0x30};
    char text[18];
    MacToText(mac, text);
    EXPECT_STREQ(text, "00-0A-FF-10-20-30");

    uint8_t back[6];
    TextToMac("00-0a-ff-10-20-30", back);
    EXPECT_EQ(std::memcmp(back, mac, 6), 0);

    TextToMac(" A-G1-zz-1", back); // a blank and any other character count as 0
    const uint8_t expected[6] = {0x0A, 0x01, 0x00, 0x10, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(back, expected, 6), 0);
}

TEST(RecordText, HexPairsAndSixteenByteKeys)
{
    EXPECT_EQ(HexPairToByte('a', 'F'), 0xAF);
    EXPECT_EQ(HexPairToByte(' ', '7'), 0x07);
    EXPECT_EQ(HexPairToByte('G', '1'), 0x01);
    uint8_t key[16];
    for (int i = 0; i < 16; ++i) key[i] = static_cast<uint8_t>(i * 17);
    EXPECT_EQ(BytesToHexText(key), "00112233445566778899AABBCCDDEEFF");
}

TEST(RecordText, SsidIsClampedToThirtyTwoBytes)
{
    uint8_t ssid[40];
    std::memset(ssid, 'x', sizeof ssid);
    EXPECT_EQ(std::strlen(SsidToText(ssid, 255)), 32u);
    EXPECT_STREQ(SsidToText(reinterpret_cast<const uint8_t*>("HomeNet"), 4), "Home");
    EXPECT_STREQ(SsidToText(ssid, 0), "");
}

TEST(RecordText, KeyIndexAndConfigDefaults)
{
    WlanWepInfo wep{};
    for (int i = 0; i <= 255; ++i) {
        wep.WepKeyToUse = static_cast<uint8_t>(i);
        ClampKeyIndex(&wep);
        EXPECT_EQ(wep.WepKeyToUse, i <= 4 ? i : 4);
    }
    ClampKeyIndex(nullptr);

    WlanInfo info{};
    std::memset(info.Reserved, 0x5A, sizeof info.Reserved);
    SetConfigDefaults(&info);
    EXPECT_EQ(info.FragThreshold, 2346);
    EXPECT_EQ(info.RtsThreshold, 2347);
    EXPECT_EQ(info.StationState, 11);
    EXPECT_EQ(info.Reserved[25], 0x5A);
    InitWepSetRecord(&wep);
    EXPECT_EQ(wep.WepMode, 1);
    EXPECT_EQ(wep.AuthenticationType, 0);
}

TEST(RecordText, FrequencyTable)
{
    EXPECT_EQ(FrequencyTable[0], 2412);
    EXPECT_EQ(FrequencyTable[13], 2477);
    EXPECT_EQ(FrequencyTable[14], 5180);
    EXPECT_EQ(FrequencyTable[21], 5320);
    EXPECT_EQ(FrequencyTable[26], 5825);
    EXPECT_EQ(FrequencyTable[31], 5800);

    EXPECT_EQ(ChannelFrequency(1), 2412);
    EXPECT_EQ(ChannelFrequency(11), 2462);
    EXPECT_EQ(ChannelFrequency(14), 2477);
    EXPECT_EQ(ChannelFrequency(32), 5800);
    EXPECT_EQ(ChannelFrequency(0), 0);
    EXPECT_EQ(ChannelFrequency(33), 0);
    EXPECT_EQ(ChannelFrequency(-1), 0);
}

TEST(WinVersion, WholeTable)
{
    struct Row {
        uint32_t platform, major, minor;
        int32_t code;
    } rows[] = {
        {1, 4, 0, 1},  {1, 4, 10, 2}, {1, 4, 90, 3}, {1, 4, 11, 3}, {1, 4, 1, 0},  {1, 4, 9, 0},
        {1, 3, 10, 0}, {1, 5, 0, 0},  {2, 5, 0, 5},  {2, 5, 1, 6},  {2, 5, 2, 6},  {2, 4, 0, 4},
        {2, 6, 0, 4},  {2, 10, 0, 4}, {0, 4, 10, 0}, {3, 5, 1, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(WinVersionCodeOf(r.platform, r.major, r.minor), r.code)
            << r.platform << " " << r.major << "." << r.minor;
    EXPECT_TRUE(IsNtFamily(4) && IsNtFamily(5) && IsNtFamily(6));
    EXPECT_FALSE(IsNtFamily(0) || IsNtFamily(1) || IsNtFamily(2) || IsNtFamily(3));
}

} // namespace
