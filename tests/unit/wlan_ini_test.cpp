// WLAN.INI on disk through the profile API: the defaults of the profile
// "Default", the accepted device identifiers and the first-start mark.
#include "vantra/wlan_ini.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

class WlanIni : public testing::Test {
protected:
    void TearDown() override { std::remove(Path.c_str()); }
    TIniFile& File(const std::string& Text)
    {
        std::ofstream(Path, std::ios::binary) << Text;
        Ini.reset(new TIniFile(Path));
        return *Ini;
    }
    std::string Contents() const
    {
        std::ifstream in(Path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    const std::string Path = testing::TempDir() + "WLAN.INI";
    std::unique_ptr<TIniFile> Ini;
    TWlanIniDefaults Defaults;
};

TEST_F(WlanIni, MissingKeysTakeTheirDefaults)
{
    Defaults.Read(File("[DefaultSetting]\r\nDefaultSSID=Harbour Lane\r\n"));
    EXPECT_EQ(Defaults.DefaultChannel, 11);
    EXPECT_EQ(Defaults.DefaultMode, 0);
    EXPECT_EQ(Defaults.First, 0);
    EXPECT_EQ(Defaults.DefaultGoo, 0);
    EXPECT_EQ(Defaults.DefaultSSID, "Harbour Lane");
    EXPECT_EQ(Defaults.DefaultMask, "255.255.255.0");
    EXPECT_EQ(Defaults.DefaultIp, "0.0.0.0");
    EXPECT_EQ(Defaults.DefaultDhcp, 1);
}

TEST_F(WlanIni, AllKeysAndTheirTypes)
{
    Defaults.Read(File("[defaultsetting]\r\ndefaultmode=1\r\nDefaultChannel=3\r\nFirst=1\r\n"
                             "DefaultGoo=5\r\nDefaultSSID=x\r\n"));
    EXPECT_EQ(Defaults.DefaultMode, 1);
    EXPECT_EQ(Defaults.DefaultChannel, 3);
    EXPECT_EQ(Defaults.First, 1);
    EXPECT_EQ(Defaults.DefaultGoo, 5);
    Defaults.Read(File("[DefaultSetting]\r\nDefaultChannel=six\r\n"));
    EXPECT_EQ(Defaults.DefaultChannel, 11); // not a number: the default
}

TEST_F(WlanIni, WithoutTheSectionNothingIsSet)
{
    Defaults.Read(File("[basic]\r\nx=1\r\n"));
    EXPECT_EQ(Defaults.DefaultChannel, 0);
    EXPECT_EQ(Defaults.DefaultMask, "");
    EXPECT_EQ(Defaults.DefaultDhcp, 0);
}

TEST_F(WlanIni, LongSsidIsCutToThirtyTwoBytes)
{
    Defaults.Read(File("[DefaultSetting]\r\nDefaultSSID=" + std::string(40, 'n') + "\r\n"));
    EXPECT_EQ(Defaults.DefaultSSID, std::string(32, 'n'));
}

TEST_F(WlanIni, DeviceIdentifiersArePrefixesUpToTheFirstGap)
{
    const std::string id = "PCI\\VEN_1F3A&DEV_0611&SUBSYS_06111F3A&REV_01";
    EXPECT_TRUE(CheckDeviceId(File("[DefaultSetting]\r\nFirst=0\r\n"), id)); // no section: accepted
    EXPECT_TRUE(CheckDeviceId(File("[DeviceID]\r\nID1=PCI\\VEN_1F3A\r\n"), id));
    EXPECT_FALSE(CheckDeviceId(File("[DeviceID]\r\nID1=PCI\\VEN_8086\r\n"), id));
    EXPECT_TRUE(CheckDeviceId(File("[DeviceID]\r\nID1=PCI\\VEN_8086\r\nID2=PCI\\VEN_1F3A&DEV_0611\r\n"), id));
    EXPECT_FALSE(CheckDeviceId(File("[DeviceID]\r\nID1=PCI\\VEN_8086\r\nID3=PCI\\VEN_1F3A\r\n"), id));
    EXPECT_TRUE(CheckDeviceId(File("[DeviceID]\r\nID1=\r\n"), id)); // an empty value takes every adapter
    EXPECT_FALSE(CheckDeviceId(File("[DeviceID]\r\nID1=" + id + "&MORE\r\n"), id));
}

TEST_F(WlanIni, FirstStartMarkIsWrittenBackAsZero)
{
    TIniFile& ini = File("[DefaultSetting]\r\nDefaultMode=1\r\nFirst=1\r\n");
    Defaults.Read(ini);
    ASSERT_EQ(Defaults.First, 1);
    Defaults.ClearFirstStartMark(ini);
    ini.UpdateFile();
    EXPECT_EQ(Defaults.First, 0);
    EXPECT_NE(Contents().find("First=0"), std::string::npos);
    EXPECT_NE(Contents().find("DefaultMode=1"), std::string::npos);
}

} // namespace
