// What the link page makes of the link record and the card's settings:
// portable, both trees.
#include "vantra/link_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(LinkText, BarsGrowBySegmentsAndStopAtTheirLength)
{
    const struct {
        int32_t Value, Width;
    } bars[] = {{0, 0}, {9, 0}, {10, 7}, {19, 7}, {20, 15}, {55, 39}, {99, 71}, {100, 79}, {150, 79}, {255, 79}};
    for (const auto& b : bars) EXPECT_EQ(BarWidth(b.Value), b.Width) << b.Value;
}

TEST(LinkText, EncryptionFromTheDriverValues)
{
    EXPECT_EQ(EncryptionLevelOfDriverValues("0", "13"), 0); // privacy off, whatever the key length
    EXPECT_EQ(EncryptionLevelOfDriverValues("1", "0"), 0);
    EXPECT_EQ(EncryptionLevelOfDriverValues("1", "5"), 1);
    EXPECT_EQ(EncryptionLevelOfDriverValues("1", "13"), 2);
    EXPECT_EQ(EncryptionLevelOfDriverValues(nullptr, "16"), 3); // privacy unreadable: the length decides
    EXPECT_EQ(EncryptionLevelOfDriverValues("1", "10"), -1);
    EXPECT_EQ(EncryptionLevelOfDriverValues("1", nullptr), -1);
    EXPECT_EQ(EncryptionLevelOfDriverValues("00", "013"), -1); // texts, not numbers

    EXPECT_STREQ(EncryptionText(0), "Disabled");
    EXPECT_STREQ(EncryptionText(1), "64 bits");
    EXPECT_STREQ(EncryptionText(2), "128 bits");
    EXPECT_STREQ(EncryptionText(3), "152 bits");
    EXPECT_STREQ(EncryptionText(-1), "Unknow");
    EXPECT_STREQ(EncryptionText(4), "Unknow");
}

TEST(LinkText, RateAndChannel)
{
    EXPECT_EQ(TransmitRateText(540), "54.0 Mbps");
    EXPECT_EQ(TransmitRateText(55), "5.5 Mbps");
    EXPECT_EQ(TransmitRateText(0), "0.0 Mbps");
    EXPECT_EQ(ChannelText(6, 2437), "6 (2.437 GHz)");
    EXPECT_EQ(ChannelText(36, 5180), "36 (5.180 GHz)");
}

DnsLabels Split(const char* List) { return SplitDnsList(List, std::strlen(List) + 1); }

TEST(LinkText, DnsListSplitsAtItsFirstComma)
{
    DnsLabels two = Split("1.2.3.4,5.6.7.8");
    EXPECT_EQ(two.First, "1.2.3.4");
    EXPECT_EQ(two.Second, "5.6.7.8");
    DnsLabels one = Split("1.2.3.4");
    EXPECT_EQ(one.First, "1.2.3.4");
    EXPECT_EQ(one.Second, "");
    DnsLabels leading = Split(",1.2.3.4");
    EXPECT_EQ(leading.First, ",1.2.3.4");
    EXPECT_EQ(leading.Second, "");
    DnsLabels three = Split("1.2.3.4,5.6.7.8,9.9.9.9");
    EXPECT_EQ(three.Second, "5.6.7.8");
    DnsLabels none = Split("");
    EXPECT_EQ(none.First, "");
    EXPECT_EQ(none.Second, "");
}

TEST(LinkText, LongDnsPartsAreCutToAnAddress)
{
    DnsLabels cut = Split("255.255.255.255999,10.100.200.250.77");
    EXPECT_EQ(cut.First, "255.255.255.255");
    EXPECT_EQ(cut.Second, "10.100.200.250.");
    // A list that fills its field without a terminating zero is read to the
    // field's end and no further.
    char field[20];
    std::memset(field, '7', sizeof field);
    field[3] = ',';
    DnsLabels full = SplitDnsList(field, sizeof field);
    EXPECT_EQ(full.First, "777");
    EXPECT_EQ(full.Second, std::string(15, '7'));
}

} // namespace
