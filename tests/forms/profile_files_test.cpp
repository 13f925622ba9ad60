// Export and import on the real main window over the stand-in profile
// store, with real files: what reaches the store, what the user is told,
// and that a refused file leaves every stored profile as it was.
#include "mainfrm_harness.h"
#include "vantra/drivers/bindings.h"
#include "vantra/drivers/record_text.h"
#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace {

using Texts = std::vector<std::string>;
using Harness::CallCount;

std::string StateFolder() { return Harness::WorldPath().substr(0, Harness::WorldPath().rfind('\\') + 1) + "state\\"; }

ProfileSetting Stored(const std::string& Name)
{
    ProfileSetting profile{};
    CopyText(profile.ProfileName, Name);
    WlanCall(Chipset.WLAN_Read_Setting_From_ProfileRegistry_Ex, &profile);
    return profile;
}

std::string Bytes(const ProfileSetting& P) { return std::string(reinterpret_cast<const char*>(&P), sizeof P); }

class ProfileFiles : public testing::Test {
protected:
    void SetUp() override
    {
        Form = Harness::Form();
        for (const char* file : {"profiles.bin", "profilelist.txt"}) ::DeleteFileA((StateFolder() + file).c_str());
        Harness::Reset();
        for (TTimer* timer : {Form->UpdateTimer, Form->CheckTimer, Form->ConnectCheckTimer, Form->DeviceCheckTimer})
            timer->SetEnabled(false);
        ProfileSetting office{};
        CopyText(office.ProfileName, "Office");
        std::memcpy(office.Wlan.SSID, "lanparty", 8);
        office.Wlan.SSID_length = 8;
        office.Wep.EncryptionLevel = 1;
        std::memcpy(office.Wep.WepKey1, "\x01\x02\x03\x04\x05", 5);
        office.Ip.blDhcpEnabled = 1;
        ASSERT_TRUE(WlanCall(Chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex, &office));
        ASSERT_TRUE(WlanCall(Chipset.WLAN_Write_ProfileList, "\"Office\""));
        Form->FillProfileList(Form->ReadProfileList());
        Harness::Seam().Clear();
        Harness::ClearCalls();
    }
    void TearDown() override
    {
        ::DeleteFileA(Path.c_str());
        for (const char* file : {"profiles.bin", "profilelist.txt"}) ::DeleteFileA((StateFolder() + file).c_str());
    }
    void Write(const std::string& Text) const { std::ofstream(Path, std::ios::binary) << Text; }
    static Texts& Boxes() { return Harness::Seam().Boxes; }

    TMainFrm* Form = nullptr;
    const std::string Path = testing::TempDir() + "office.cfg";
};

TEST_F(ProfileFiles, ARefusedFileShowsOneMessageAndTouchesNoStoredProfile)
{
    const std::string before = Bytes(Stored("Office"));
    const struct {
        std::string File, Message;
    } cases[] = {
        {"[BASIC]\r\nProfileName=Office\r\n[WLAN_Wep_Info]\r\nEncryptionLevel=5\r\n[WLAN_Ip_Address_Info]\r\n"
         "blDhcpEnabled=1\r\n",
         "Error\tThe profile file \"" + Path + "\" cannot be imported: its encryption level 5 is not one of 0 to 3."},
        {"[BASIC]\r\nProfileName=Office\r\n[WLAN_Wep_Info]\r\nEncryptionLevel=1\r\nWepKey1=0102\r\n",
         "Error\tThe profile file \"" + Path + "\" cannot be imported: its WepKey1 holds fewer than 18 hexadecimal "
         "digits."},
        {"[BASIC]\r\nProfileName=Office\r\n", "Error\t'' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        Write(c.File);
        Boxes().clear();
        EXPECT_FALSE(Form->ImportProfile(Path));
        EXPECT_EQ(Boxes(), Texts{c.Message});
    }
    EXPECT_EQ(CallCount("WLAN_Write_Setting_To_ProfileRegistry_Ex"), 0u);
    EXPECT_EQ(CallCount("WLAN_Write_ProfileList"), 0u);
    EXPECT_EQ(Bytes(Stored("Office")), before);
}

TEST_F(ProfileFiles, AnExportImportsBackAndReplacesTheProfileOfItsNameWithoutAsking)
{
    ASSERT_TRUE(Form->ExportProfile(Path, "Office"));

    ProfileSetting changed = Stored("Office");
    changed.Wep.WepKey1[0] = 0x77;
    ASSERT_TRUE(WlanCall(Chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex, &changed));
    Harness::ClearCalls();
    ASSERT_TRUE(Form->ImportProfile(Path));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Stored("Office").Wep.WepKey1[0], 0x01);
    EXPECT_EQ(CallCount("WLAN_Write_ProfileList"), 0u); // the name was listed
    ASSERT_EQ(Form->Profile_LstV_Profile1->Items()->Count(), 1);
    EXPECT_EQ(Form->Profile_LstV_Profile1->Selected()->Caption(), "Office");

    // A profile the store cannot give is not exported as an empty one.
    ::DeleteFileA(Path.c_str());
    EXPECT_FALSE(Form->ExportProfile(Path, "Nowhere"));
    EXPECT_EQ(Boxes(), Texts{"Error\tThe profile \"Nowhere\" could not be read from the profile store."});
    EXPECT_EQ(::GetFileAttributesA(Path.c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
