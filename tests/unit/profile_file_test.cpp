// Profile files on disk through the toolkit's INI class, and the cipher of
// their WEP keys: the format of the keys, fresh IVs, round trips, the
// readers' defaults and what a damaged or hostile file may not do.
#include "vantra/drivers/record_text.h"
#include "vantra/profile_cipher.h"
#include "vantra/profile_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

namespace {

class ProfileFile : public testing::Test {
protected:
    void TearDown() override { std::remove(Path.c_str()); }

    void WriteText(const std::string& Text) { std::ofstream(Path, std::ios::binary) << Text; }
    std::string Text() const
    {
        std::ifstream in(Path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Export(const ProfileSetting& Profile)
    {
        TIniFile ini(Path);
        WriteProfileFile(ini, Profile, Ivs);
#ifdef _WIN32
        ini.UpdateFile();
#endif
    }
    ProfileSetting Import()
    {
        TIniFile ini(Path);
        return ReadProfileFile(ini);
    }
    std::string Value(const char* Section, const char* Key)
    {
        TIniFile ini(Path);
        return ini.ReadString(Section, Key, "(missing)");
    }
    std::vector<std::string> Keys()
    {
        std::vector<std::string> keys;
        for (const char* k : {"WepKey1", "WepKey2", "WepKey3", "WepKey4"}) keys.push_back(Value("WLAN_Wep_Info", k));
        return keys;
    }
    // The whole text of the file that a profile with these keys exports to.
    std::string WithKeys(const std::string& Level, const std::vector<std::string>& KeyTexts)
    {
        return "[WLAN_Wep_Info]\r\nEncryptionLevel=" + Level + "\r\nWepKey1=" + KeyTexts[0] + "\r\nWepKey2=" +
               KeyTexts[1] + "\r\nWepKey3=" + KeyTexts[2] + "\r\nWepKey4=" + KeyTexts[3] +
               "\r\n[WLAN_Ip_Address_Info]\r\nblDhcpEnabled=1\r\n";
    }

    const std::string Path = testing::TempDir() + "profile test.cfg";
    CfgIvSource Ivs{20261209};
};

ProfileSetting Sample(uint8_t Level)
{
    ProfileSetting p{};
    CopyText(p.ProfileName, "Harbour Lane");
    p.ProfileMode = 0;
    p.WepKeyFormat = 1;
    p.SetIP = 1;
    std::memcpy(p.Wlan.SSID, "harbour-ap", 10);
    p.Wlan.SSID_length = 10;
    p.Wlan.OperatingModeID = 0;
    p.Wlan.Channel = 9;
    p.Wlan.RateIndex = 4;
    p.Wlan.NetBand = 3;
    p.Wep.EncryptionLevel = Level;
    p.Wep.WepKeyToUse = 2;
    uint8_t* slots[] = {p.Wep.WepKey1, p.Wep.WepKey2, p.Wep.WepKey3, p.Wep.WepKey4};
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 16; ++i) slots[k][i] = static_cast<uint8_t>(0x10 * (k + 1) + i);
    CopyText(p.Ip.cIpAdress, "192.168.4.20");
    CopyText(p.Ip.cNetMask, "255.255.255.0");
    CopyText(p.Ip.cGateway, "192.168.4.1");
    CopyText(p.Ip.cDnsServer, "192.168.4.1,9.9.9.9");
    p.Ip.blDhcpEnabled = 0;
    return p;
}

TEST(ProfileCipher, IsRc4AsPublishedAndKeepsItsStateBetweenCalls)
{
    Rc4State state;
    Rc4Init(state, reinterpret_cast<const uint8_t*>("Key"), 3);
    uint8_t text[16] = "Plaintext";
    Rc4Crypt(state, text, 4);
    Rc4Crypt(state, text + 4, 5);
    EXPECT_EQ(BytesToHexText(text).substr(0, 18), "BBF316E8D940AF0AD3");
}

TEST(ProfileCipher, FramesUnderTheFixedKeyDecipherBackAndRefuseASliceBeyondIt)
{
    // Worked out apart from this code: IV 01 02 03, key 11 22 33 44 55.
    uint8_t frame[9] = {0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44, 0x55};
    const uint8_t iv[3] = {1, 2, 3};
    ASSERT_TRUE(WepEncapsulate(frame, 5, 0, CfgFixedKey, iv, 5));
    const uint8_t expected[9] = {0x01, 0x02, 0x03, 0x00, 0x27, 0xE8, 0xEA, 0xBA, 0x50};
    EXPECT_EQ(std::memcmp(frame, expected, 9), 0);
    ASSERT_TRUE(WepDecapsulate(frame, 9, CfgFixedKey, 5));
    EXPECT_EQ(frame[4], 0x11);
    EXPECT_EQ(frame[8], 0x55);

    // Index 2 of five-byte keys still lies within the 16 bytes; index 1 of
    // 13-byte keys does not, and leaves the frame as it was.
    EXPECT_TRUE(WepEncapsulate(frame, 5, 2, CfgFixedKey, iv, 5));
    EXPECT_EQ(WepFrameKeyIndex(frame), 2u);
    uint8_t wide[17] = {1, 2, 3, 0x40};
    EXPECT_FALSE(WepDecapsulate(wide, 17, CfgFixedKey, 13));
    EXPECT_EQ(wide[4], 0);
    EXPECT_FALSE(WepEncapsulate(wide, 13, 1, CfgFixedKey, iv, 13));
    EXPECT_FALSE(WepDecapsulate(wide, 3, CfgFixedKey, 5));
}

TEST(ProfileCipher, IvBytesNeverTake255)
{
    CfgIvSource ivs(7);
    std::set<int> seen;
    for (int i = 0; i < 10000; ++i) {
        const int b = ivs.Next();
        ASSERT_NE(b, 255);
        seen.insert(b);
    }
    EXPECT_EQ(seen.size(), 255u); // and every other value comes
}

TEST_F(ProfileFile, WritesTheKeysOfTheFormatInTheirOrder)
{
    Export(Sample(0));
    EXPECT_EQ(Text(), "[BASIC]\r\nProfileName=Harbour Lane\r\nProfileMode=0\r\nWepKeyFormat=1\r\nSetIP=1\r\n"
                      "[WLAN_Info]\r\nSSID=harbour-ap\r\nSSID_length=10\r\nOperatingModeID=0\r\nChannel=9\r\n"
                      "RateIndex=4\r\nPowerMgmtMode=0\r\nPreambleType=0\r\nNetBand=3\r\n"
                      "[WLAN_Wep_Info]\r\nEncryptionLevel=0\r\nWepKeyToUse=0\r\nWepKey1=\r\nWepKey2=\r\n"
                      "WepKey3=\r\nWepKey4=\r\n"
                      "[WLAN_Ip_Address_Info]\r\ncIpAddress=192.168.4.20\r\ncNetMask=255.255.255.0\r\n"
                      "cGateway=192.168.4.1\r\ncDnsServer=192.168.4.1,9.9.9.9\r\nblDhcpEnabled=0\r\n");

    // An unencrypted profile comes back with zero keys and key index 0.
    const ProfileSetting back = Import();
    const ProfileSetting blank{};
    EXPECT_EQ(std::memcmp(back.Wep.WepKey1, blank.Wep.WepKey1, 64), 0);
    EXPECT_EQ(back.Wep.WepKeyToUse, 0);
    EXPECT_STREQ(back.ProfileName, "Harbour Lane");
    EXPECT_STREQ(back.ProfileNameCopy, "Harbour Lane");
    EXPECT_STREQ(back.SsidText, "harbour-ap");
    EXPECT_EQ(back.Wlan.SSID_length, 10);
    EXPECT_EQ(back.Wlan.Channel, 9);
    EXPECT_EQ(int(back.Wlan.NetBand), 3);
    EXPECT_EQ(back.WepKeyFormat, 1);
    EXPECT_EQ(back.SetIP, 1);
    EXPECT_STREQ(back.Ip.cDnsServer, "192.168.4.1,9.9.9.9");
    EXPECT_EQ(int(back.Ip.blDhcpEnabled), 0);
}

TEST_F(ProfileFile, A128BitProfileExportsFreshlyEncipheredKeysThatImportToTheSameBytes)
{
    const ProfileSetting profile = Sample(2);
    Export(profile);
    const std::vector<std::string> first = Keys();
    for (const std::string& key : first) {
        ASSERT_EQ(key.size(), 34u) << key;
        EXPECT_EQ(key.find_first_not_of("0123456789ABCDEF"), std::string::npos) << key;
        EXPECT_EQ(key.substr(6, 2), "00") << key; // key index 0
    }
    EXPECT_EQ(Value("WLAN_Wep_Info", "WepKeyToUse"), "2");
    const ProfileSetting once = Import();

    Export(profile); // the same file again: new IVs, so new texts
    const std::vector<std::string> second = Keys();
    for (int k = 0; k < 4; ++k) EXPECT_NE(first[k], second[k]) << k;
    const ProfileSetting twice = Import();

    const uint8_t* slots[] = {profile.Wep.WepKey1, profile.Wep.WepKey2, profile.Wep.WepKey3, profile.Wep.WepKey4};
    const uint8_t* a[] = {once.Wep.WepKey1, once.Wep.WepKey2, once.Wep.WepKey3, once.Wep.WepKey4};
    const uint8_t* b[] = {twice.Wep.WepKey1, twice.Wep.WepKey2, twice.Wep.WepKey3, twice.Wep.WepKey4};
    const uint8_t zeros[3] = {};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(std::memcmp(a[k], slots[k], 13), 0) << k;
        EXPECT_EQ(std::memcmp(b[k], slots[k], 13), 0) << k;
        EXPECT_EQ(std::memcmp(a[k] + 13, zeros, 3), 0) << k;
    }
    EXPECT_EQ(once.Wep.WepKeyToUse, 2);
}

TEST_F(ProfileFile, A64BitRoundTripKeepsFiveKeyBytesAndZeroesTheRest)
{
    Export(Sample(1));
    for (const std::string& key : Keys()) EXPECT_EQ(key.size(), 18u);
    const ProfileSetting back = Import();
    const uint8_t* slots[] = {back.Wep.WepKey1, back.Wep.WepKey2, back.Wep.WepKey3, back.Wep.WepKey4};
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(slots[k][i], i < 5 ? 0x10 * (k + 1) + i : 0) << k << "," << i;

    // A 152-bit profile's keys are 40 digits and whole.
    Export(Sample(3));
    for (const std::string& key : Keys()) EXPECT_EQ(key.size(), 40u);
    EXPECT_EQ(Import().Wep.WepKey4[15], 0x4F);
}

TEST_F(ProfileFile, ReadsKeysWrittenElsewhereWithLowerCaseDigitsAndBlanks)
{
    // Enciphered apart from this code: IV FE 00 7F, key A0 A1 ... AC.
    const std::string key = "FE007F009415ECD8DFB5E3C136373E0D6E";
    std::string lower = key;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // A blank reads as 0: the IV's "00" may be written " 0".
    std::string blank = key;
    blank[2] = ' ';
    WriteText(WithKeys("2", {key, lower, blank, key + "FFFF"}));
    const ProfileSetting p = Import();
    const uint8_t* slots[] = {p.Wep.WepKey1, p.Wep.WepKey2, p.Wep.WepKey3, p.Wep.WepKey4};
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 13; ++i) EXPECT_EQ(slots[k][i], 0xA0 + i) << k << "," << i;
}

TEST_F(ProfileFile, MissingKeysTakeTheFormatsDefaults)
{
    WriteText("[WLAN_Ip_Address_Info]\r\nblDhcpEnabled=1\r\n");
    const ProfileSetting p = Import();
    EXPECT_STREQ(p.ProfileName, "");
    EXPECT_EQ(p.Wlan.SSID_length, 0);
    EXPECT_EQ(p.Wlan.OperatingModeID, 1);
    EXPECT_EQ(p.Wlan.Channel, 6);
    EXPECT_EQ(p.Wlan.RateIndex, 4);
    EXPECT_EQ(p.Wep.EncryptionLevel, 0);
    EXPECT_EQ(int(p.Ip.blDhcpEnabled), 1);
    EXPECT_STREQ(p.Ip.cIpAdress, "");
}

TEST_F(ProfileFile, ANonNumberWhereAnIntegerBelongsEndsTheImport)
{
    // blDhcpEnabled has no usable default: a file without it is no profile.
    WriteText("[BASIC]\r\nProfileName=Loft\r\n");
    try {
        Import();
        FAIL() << "imported";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    WriteText("[WLAN_Info]\r\nChannel=six\r\n[WLAN_Ip_Address_Info]\r\nblDhcpEnabled=1\r\n");
    EXPECT_THROW(Import(), EConvertError);
    std::remove(Path.c_str()); // no file at all
    EXPECT_THROW(Import(), EConvertError);
}

TEST_F(ProfileFile, TextsLongerThanTheirFieldsAreCutAndTheSsidLengthIsWhatWasPlaced)
{
    const std::string name(400, 'n');
    WriteText("[BASIC]\r\nProfileName=" + name + "\r\n[WLAN_Info]\r\nSSID=" + std::string(40, 's') +
              "\r\nSSID_length=200\r\n[WLAN_Ip_Address_Info]\r\ncIpAddress=" + std::string(30, '1') +
              "\r\nblDhcpEnabled=0\r\n");
    ProfileSetting p = Import();
    EXPECT_EQ(FieldText(p.ProfileName), name.substr(0, 259));
    EXPECT_EQ(FieldText(p.ProfileNameCopy), name.substr(0, 259));
    EXPECT_EQ(p.Wlan.SSID_length, 32);
    EXPECT_EQ(FieldText(p.SsidText), std::string(32, 's'));
    EXPECT_EQ(FieldText(p.Ip.cIpAdress), std::string(15, '1'));

    // A length that claims more than the text holds counts the text.
    WriteText("[WLAN_Info]\r\nSSID=cafe\r\nSSID_length=20\r\n[WLAN_Ip_Address_Info]\r\nblDhcpEnabled=1\r\n");
    p = Import();
    EXPECT_EQ(p.Wlan.SSID_length, 4);
    EXPECT_EQ(p.Wlan.SSID[4], 0);
}

TEST_F(ProfileFile, NamesAndSsidsWithBlanksOrQuotesAtTheirEndsComeBackByteForByte)
{
    for (const std::string& text : {std::string("homenet "), std::string("\"homenet\""), std::string(" Home"),
                                    std::string("'x'"), std::string("\""), std::string("  "), std::string("\tcafe\"")}) {
        ProfileSetting p = Sample(0);
        CopyText(p.ProfileName, text);
        p.Wlan.SSID_length = static_cast<uint8_t>(text.size());
        std::memset(p.Wlan.SSID, 0, sizeof p.Wlan.SSID);
        std::memcpy(p.Wlan.SSID, text.data(), text.size());
        CopyText(p.Ip.cDnsServer, text);
        Export(p);
        const ProfileSetting back = Import();
        EXPECT_EQ(FieldText(back.ProfileName), text);
        EXPECT_EQ(SsidToText(back.Wlan.SSID, back.Wlan.SSID_length), text);
        EXPECT_EQ(back.Wlan.SSID_length, text.size());
        EXPECT_EQ(FieldText(back.Ip.cDnsServer), text);
        std::remove(Path.c_str());
    }
    Export(Sample(0)); // a text without them is written as it is
    EXPECT_NE(Text().find("\r\nSSID=harbour-ap\r\n"), std::string::npos);

    // Files without quotes read as before: the blanks around a value go.
    WriteText("[BASIC]\r\nProfileName=  Loft \r\n[WLAN_Info]\r\nSSID= attic\r\n"
              "[WLAN_Ip_Address_Info]\r\nblDhcpEnabled=1\r\n");
    const ProfileSetting p = Import();
    EXPECT_STREQ(p.ProfileName, "Loft");
    EXPECT_EQ(SsidToText(p.Wlan.SSID, p.Wlan.SSID_length), std::string("attic"));
}

// Each byte value at the front, in the middle and at the end of an SSID and
// of a name comes back from an export: zero bytes, line breaks and all. A
// name ends at its first zero byte.
TEST_F(ProfileFile, EveryByteOfAnSsidOrANameComesBackWhereverItStands)
{
    for (int value = 0; value < 256; ++value) {
        const std::string b(1, static_cast<char>(value)), text = b + "at" + b + "tic" + b;
        ProfileSetting p = Sample(0);
        std::memset(p.ProfileName, 0, sizeof p.ProfileName);
        std::memcpy(p.ProfileName, text.data(), text.size());
        std::memset(p.Wlan.SSID, 0, sizeof p.Wlan.SSID);
        std::memcpy(p.Wlan.SSID, text.data(), text.size());
        p.Wlan.SSID_length = static_cast<uint8_t>(text.size());
        Export(p);
        const ProfileSetting back = Import();
        EXPECT_EQ(FieldText(back.ProfileName), FieldText(p.ProfileName)) << "byte " << value;
        EXPECT_EQ(back.Wlan.SSID_length, text.size()) << "byte " << value;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(back.Wlan.SSID), back.Wlan.SSID_length), text)
            << "byte " << value;
        // Only such bytes make keys of their own: other files stay as they were.
        EXPECT_EQ(Text().find("_bytes") != std::string::npos, value == 0 || value == '\r' || value == '\n')
            << "byte " << value;
        std::remove(Path.c_str());
    }
}

TEST_F(ProfileFile, TheSsidIsAsLongAsTheFileSaysWithinItsTextAndField)
{
    auto ssidOf = [this](const std::string& Wireless) {
        WriteText("[WLAN_Info]\r\n" + Wireless + "[WLAN_Ip_Address_Info]\r\nblDhcpEnabled=1\r\n");
        const ProfileSetting p = Import();
        EXPECT_EQ(std::string(p.SsidText), SsidToText(p.Wlan.SSID, p.Wlan.SSID_length));
        for (size_t i = p.Wlan.SSID_length; i < sizeof p.Wlan.SSID; ++i) EXPECT_EQ(p.Wlan.SSID[i], 0) << i;
        return SsidToText(p.Wlan.SSID, p.Wlan.SSID_length);
    };
    EXPECT_EQ(ssidOf("SSID=abcdef\r\nSSID_length=3\r\n"), std::string("abc"));
    EXPECT_EQ(ssidOf("SSID=abcdef\r\nSSID_length=0\r\n"), std::string(""));
    EXPECT_EQ(ssidOf("SSID=abcdef\r\nSSID_length=-4\r\n"), std::string(""));
    EXPECT_EQ(ssidOf("SSID=abcdef\r\nSSID_length=9\r\n"), std::string("abcdef"));
    EXPECT_EQ(ssidOf("SSID=" + std::string(40, 's') + "\r\nSSID_length=35\r\n"), std::string(32, 's'));
    EXPECT_EQ(ssidOf("SSID=abcdef\r\n"), std::string("abcdef")); // no length: the text's
}

TEST_F(ProfileFile, RefusesWhatWouldOverrunARecordOrTheFixedKey)
{
    const std::string good = "0102030027E8EABA50"; // a 64-bit key frame
    const std::string none = WithKeys("0", {"", "", "", ""});
    struct Case {
        std::string File, Message;
    } const cases[] = {
        {WithKeys("4", {"", "", "", ""}), "its encryption level 4 is not one of 0 to 3"},
        {WithKeys("-1", {"", "", "", ""}), "its encryption level -1 is not one of 0 to 3"},
        {WithKeys("1", {good, good, good.substr(0, 17), good}), "its WepKey3 holds fewer than 18 hexadecimal digits"},
        {WithKeys("2", {"", "", "", ""}), "its WepKey1 holds fewer than 34 hexadecimal digits"},
        {WithKeys("1", {good, "01020340" + good.substr(8), good, good}),
         "its WepKey2 names key index 1, which profile files do not use"},
        {WithKeys("3", {"010203C0" + std::string(32, '0'), "", "", ""}),
         "its WepKey1 names key index 3, which profile files do not use"},
        // Bytes that a text of the file cannot carry, and their text changed by hand.
        {"[WLAN_Info]\r\nSSID=ab\r\nSSID_bytes=61620\r\n" + none, "its SSID_bytes is not a text of hexadecimal pairs"},
        {"[WLAN_Info]\r\nSSID=ab\r\nSSID_bytes=6G62\r\n" + none, "its SSID_bytes is not a text of hexadecimal pairs"},
        {"[BASIC]\r\nProfileName=Loft\r\nProfileName_bytes=4C6F0D0A66\r\n" + none,
         "its ProfileName_bytes does not hold its ProfileName"},
        {"[BASIC]\r\nProfileName=ab\r\nProfileName_bytes=610062\r\n" + none,
         "its ProfileName_bytes holds a zero byte, which ends a name"},
    };
    for (const Case& c : cases) {
        WriteText(c.File);
        try {
            Import();
            ADD_FAILURE() << c.Message;
        } catch (const EProfileFileError& e) {
            EXPECT_EQ(e.Message, "The profile file \"" + Path + "\" cannot be imported: " + c.Message + ".");
        }
    }
}

TEST_F(ProfileFile, AnExistingFileKeepsItsOtherSectionsAndKeys)
{
    WriteText("[Notes]\r\nOwner=Ines\r\n[BASIC]\r\nComment=kept\r\nProfileName=Old\r\n");
    Export(Sample(0));
    EXPECT_EQ(Value("Notes", "Owner"), "Ines");
    EXPECT_EQ(Value("BASIC", "Comment"), "kept");
    EXPECT_EQ(Value("BASIC", "ProfileName"), "Harbour Lane");
}

// A hand-edited file may hold a key twice. Where the profile needs no key of
// bytes, none of the old ones may stay behind to be read in place of its texts.
TEST_F(ProfileFile, AnExportOverAFileWithTwoBytesKeysImportsBackEqual)
{
    WriteText("[BASIC]\r\nProfileName=Old\r\nProfileName_bytes=4F6C640D\r\nProfileName_bytes=4F0A6C64\r\n"
              "[WLAN_Info]\r\nSSID=old\r\nSSID_bytes=6F6C6400\r\nSSID_length=3\r\nSSID_bytes=6F0D6C64\r\n");
    const ProfileSetting profile = Sample(2);
    Export(profile);
    ProfileSetting back{};
    ASSERT_NO_THROW(back = Import());

    // The file gives back every byte the export had, keys as far as level 2 holds them.
    ProfileSetting expected = profile;
    CopyText(expected.ProfileNameCopy, "Harbour Lane");
    CopyText(expected.SsidText, "harbour-ap");
    for (uint8_t* slot : {expected.Wep.WepKey1, expected.Wep.WepKey2, expected.Wep.WepKey3, expected.Wep.WepKey4})
        std::memset(slot + 13, 0, 3);
    EXPECT_EQ(std::memcmp(&back, &expected, sizeof back), 0);
    EXPECT_EQ(Text().find("_bytes"), std::string::npos);
}

TEST(ProfileFileName, GetsCfgUnlessItHoldsItAnywhere)
{
    EXPECT_EQ(WithCfgExtension("C:\\Profiles\\Home"), "C:\\Profiles\\Home.cfg");
    EXPECT_EQ(WithCfgExtension("Home.CFG"), "Home.CFG.cfg");
    EXPECT_EQ(WithCfgExtension("Home.cfg"), "Home.cfg");
    EXPECT_EQ(WithCfgExtension("Home.cfg.bak"), "Home.cfg.bak");
    EXPECT_EQ(WithCfgExtension("C:\\my.cfgs\\Home"), "C:\\my.cfgs\\Home");
}

} // namespace
