// The survey table and its row texts: portable, and in the native tree run
// under the address and undefined-behaviour sanitizers, so that a read or
// write past the table or a text shows.
#include "vantra/survey_table.h"
#include "vantra/drivers/record_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

SiteSurveyEntry Entry(const std::string& Ssid, uint8_t Signal, uint8_t LastBssidByte = 1, uint8_t Mode = 1)
{
    SiteSurveyEntry e{};
    std::memcpy(e.SSID, Ssid.data(), std::min<size_t>(Ssid.size(), 32));
    e.SSID_length = static_cast<uint8_t>(Ssid.size());
    const uint8_t bssid[6] = {0x02, 0x10, 0x20, 0x30, 0x40, LastBssidByte};
    std::memcpy(e.Bssid, bssid, 6);
    e.Signal = Signal;
    e.OperatingModeID = Mode;
    e.Channel = 6;
    return e;
}

WlanInfo Link(const SiteSurveyEntry& Of, uint8_t Signal)
{
    WlanInfo link{};
    std::memcpy(link.SSID, Of.SSID, 32);
    link.SSID_length = Of.SSID_length;
    std::memcpy(link.Bssid, Of.Bssid, 6);
    link.OperatingModeID = Of.OperatingModeID;
    link.Channel = 11;
    link.StationState = WLAN_STATION_STATE_READY;
    link.SignalStrength = Signal;
    return link;
}

// A table on the heap of exactly the table's size, so that the sanitizer
// sees a step past its end.
struct HeapTable {
    std::unique_ptr<SiteSurveyEntry[]> Storage{new SiteSurveyEntry[SurveyCapacity]()};
    SurveyTable& Table() { return *reinterpret_cast<SurveyTable*>(Storage.get()); }
};

TEST(SurveyTable, SignalBandAndRowPictures)
{
    EXPECT_STREQ(SurveySignalText(50), "Good");
    EXPECT_STREQ(SurveySignalText(49), "Fair");
    EXPECT_STREQ(SurveySignalText(20), "Fair");
    EXPECT_STREQ(SurveySignalText(19), "Poor");
    EXPECT_STREQ(SurveyBandText(1), "A");
    EXPECT_STREQ(SurveyBandText(2), "A");
    EXPECT_STREQ(SurveyBandText(0), "B");
    EXPECT_STREQ(SurveyBandText(3), "B");

    SiteSurveyEntry protectedAp = Entry("office", 60);
    protectedAp.WepEnabled = 1;
    EXPECT_EQ(SurveyBaseImage(protectedAp), 3);
    EXPECT_EQ(SurveyBaseImage(protectedAp) + static_cast<int>(SurveyMark::Connected), 5);
    EXPECT_EQ(SurveyBaseImage(Entry("party", 30, 2, 0)), 6);
    SiteSurveyEntry adhocWep = Entry("party", 30, 2, 0);
    adhocWep.WepEnabled = 7; // any non-zero value
    EXPECT_EQ(SurveyBaseImage(adhocWep), 9);

    EXPECT_EQ(MarkOfImage(5), SurveyMark::Connected);
    EXPECT_EQ(MarkOfImage(10), SurveyMark::Failed);
    EXPECT_EQ(MarkOfImage(6), SurveyMark::None);
    EXPECT_EQ(MarkOfImage(-1), SurveyMark::None);
}

TEST(SurveyTable, RowTextsAndTooltip)
{
    SiteSurveyEntry e = Entry("Kestrel-Home", 64, 0x93);
    e.Band = 2;
    e.WepEnabled = 1;
    const SurveyRowTexts row = SurveyRow(e);
    EXPECT_EQ(row.Caption, "Kestrel-Home");
    EXPECT_EQ(row.SubItems[SurveySubItem::Band], "A");
    EXPECT_EQ(row.SubItems[SurveySubItem::Signal], "Good");
    EXPECT_EQ(row.SubItems[SurveySubItem::Bssid], "02-10-20-30-40-93");
    EXPECT_EQ(row.SubItems[SurveySubItem::Infrastructure], "1");
    EXPECT_EQ(row.SubItems[SurveySubItem::Wep], "1");
    EXPECT_EQ(row.ImageIndex, 3);
    EXPECT_EQ(SurveyHintText(e),
              "\n    SSID:Kestrel-Home    \n    Infrastructure    \n    Wep Enabled    \n    BSSID:02-10-20-30-40-93    \n");
    EXPECT_EQ(SurveyHintText(Entry("lan", 10, 1, 0)).find("\n    AdHoc    \n    Wep Disabled    \n"), 17u);
}

TEST(SurveyTable, EqualSignalsComeOutAsTheExchangeLeavesThem)
{
    SiteSurveyEntry entries[] = {Entry("first", 5), Entry("second", 7), Entry("third", 7)};
    SortSurveyEntries(entries, 3);
    EXPECT_STREQ(SsidToText(entries[0].SSID, entries[0].SSID_length), "second");
    EXPECT_STREQ(SsidToText(entries[1].SSID, entries[1].SSID_length), "third");
    EXPECT_STREQ(SsidToText(entries[2].SSID, entries[2].SSID_length), "first");

    SortSurveyEntries(entries, 0); // nothing to do, nothing touched
    SortSurveyEntries(entries, 1);
    EXPECT_EQ(entries[0].Signal, 7);
}

TEST(SurveyTable, TimeTextOnTheTwelveHourClock)
{
    EXPECT_EQ(SurveyTimeText(13, 5, 9), "\" 1:05:09 PM\"");
    EXPECT_EQ(SurveyTimeText(0, 10, 0), "\" 0:10:00 AM\"");
    EXPECT_EQ(SurveyTimeText(11, 59, 59), "\"11:59:59 AM\"");
    EXPECT_EQ(SurveyTimeText(12, 0, 1), "\" 0:00:01 PM\"");
    EXPECT_EQ(SurveyTimeText(23, 0, 0), "\"11:00:00 PM\"");
}

// Every byte an SSID may hold, quotes and commas included, comes back from
// the log line's comma-text split, with the other fields where they belong.
TEST(SurveyTable, LogLineGivesItsFieldsBackWhateverTheSsidHolds)
{
    const std::string ssids[] = {"plain",       "say \"hi\", you", "\"", ",",     ",\"\",",
                                 std::string(32, '\xFF'), "",        " lead", "trail ", "a\tb"};
    for (const std::string& ssid : ssids) {
        SiteSurveyEntry e = Entry(ssid, 40, 0xE4);
        e.Channel = 36;
        e.Turbo = 1;
        const std::string line = SurveyLogLine(e, SurveyTimeText(13, 5, 9));
        SurveyDetails details;
        ASSERT_TRUE(ReadSurveyLogLine(line, details)) << line;
        EXPECT_EQ(details.NetworkType, "Infrastructure") << line;
        EXPECT_EQ(details.Channel, "36") << line;
        EXPECT_EQ(details.Wep, "WEP Disabled") << line;
        EXPECT_EQ(details.Mac, "02-10-20-30-40-E4") << line;
        EXPECT_EQ(details.Time, " 1:05:09 PM") << line;
        EXPECT_NE(SurveyHintText(e).find("SSID:" + ssid + "    \n"), std::string::npos);
        EXPECT_EQ(SurveyRow(e).Caption, ssid);
    }
    EXPECT_EQ(SurveyLogLine(Entry("a\"b", 40, 0x20, 0), "\" 0:10:00 AM\""),
              "\"a\"\"b\",\"AdHoc\",\"6\",\"WEP Disabled\",\"Turbo Disabled\",\"02-10-20-30-40-20\",\" 0:10:00 AM\"");

    SurveyDetails untouched;
    untouched.Mac = "kept";
    EXPECT_FALSE(ReadSurveyLogLine("", untouched));
    EXPECT_EQ(untouched.Mac, "kept");
}

TEST(SurveyTable, AConnectedLinkTheSurveyLacksIsAppended)
{
    HeapTable heap;
    SurveyTable& table = heap.Table();
    table[0] = Entry("tarvane", 82, 0x20);
    table[1] = Entry("lanparty", 35, 0x0E, 0);
    int32_t count = 2;

    // Infrastructure by BSSID: the same name from another access point is not the link.
    SiteSurveyEntry elsewhere = Entry("tarvane", 0, 0x21);
    WlanInfo infra = Link(elsewhere, 57);
    WlanWepInfo wep{};
    wep.EncryptionLevel = 2;
    ASSERT_TRUE(AddMissingLink(table, count, infra, wep));
    ASSERT_EQ(count, 3);
    EXPECT_EQ(table[2].Signal, 57);
    EXPECT_EQ(table[2].Bssid[5], 0x21);
    EXPECT_EQ(table[2].Channel, 11);
    EXPECT_EQ(table[2].WepEnabled, 1);
    EXPECT_EQ(table[2].OperatingModeID, 1);
    EXPECT_EQ(table[2].Band, 0);
    EXPECT_STREQ(SsidToText(table[2].SSID, table[2].SSID_length), "tarvane");
    EXPECT_FALSE(AddMissingLink(table, count, infra, wep)); // now listed
    EXPECT_EQ(count, 3);

    // Ad hoc by SSID, whatever the BSSID.
    WlanInfo adhoc = Link(Entry("lanparty", 0, 0x77, 0), 30);
    EXPECT_FALSE(AddMissingLink(table, count, adhoc, WlanWepInfo{}));
    WlanInfo otherCell = Link(Entry("lanparty2", 0, 0x0E, 0), 30);
    EXPECT_TRUE(AddMissingLink(table, count, otherCell, WlanWepInfo{}));
    EXPECT_EQ(count, 4);
    EXPECT_EQ(table[3].WepEnabled, 0);
}

// A library that reports more entries than the table holds, or a broken
// SSID length: nothing is read or written past the table or a text.
TEST(SurveyTable, ACrowdedWorldStaysInsideTheTable)
{
    HeapTable heap;
    SurveyTable& table = heap.Table();
    for (int i = 0; i < SurveyCapacity; ++i) table[i] = Entry("cell" + std::to_string(i), static_cast<uint8_t>(i % 101), i % 256);
    table[7] = Entry(std::string(32, 'x'), 7);
    table[7].SSID_length = 200;

    EXPECT_EQ(CheckSurveyEntries(table, 150), SurveyCapacity);
    EXPECT_EQ(CheckSurveyEntries(table, -3), 0);
    EXPECT_EQ(CheckSurveyEntries(table, 100), 100);
    EXPECT_EQ(table[7].SSID_length, 32);
    EXPECT_EQ(SurveyRow(table[7]).Caption.size(), 32u);

    int32_t count = SurveyCapacity;
    WlanInfo link = Link(Entry("not-listed", 0, 0xEE), 99);
    link.Bssid[0] = 0x0A;
    EXPECT_FALSE(AddMissingLink(table, count, link, WlanWepInfo{})); // full: no room for the link
    EXPECT_EQ(count, SurveyCapacity);
    count = SurveyCapacity - 1;
    EXPECT_TRUE(AddMissingLink(table, count, link, WlanWepInfo{}));
    EXPECT_EQ(count, SurveyCapacity);

    SortSurveyEntries(table, count);
    EXPECT_EQ(table[0].Signal, 100);
    for (int i = 1; i < count; ++i) EXPECT_GE(table[i - 1].Signal, table[i].Signal);
}

} // namespace
