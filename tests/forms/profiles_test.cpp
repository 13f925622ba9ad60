// The Profiles page on the real main window over the stand-in chipset
// library's profile store: the list and the store's name list in step, the
// profile "Default", New, Edit, Delete and Connect from the real buttons and
// keys, the details of a profile, and the limits of the store.
#include "dialog_user.h"
#include "mainfrm_harness.h"
#include "vantra/drivers/bindings.h"
#include "vantra/drivers/record_text.h"
#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Texts = std::vector<std::string>;

// The New button asks for the name in an input box of this caption.
const char* const NewProfileBox = "Create connection profile";

std::string StoreFolder()
{
    const std::string world = Harness::WorldPath();
    return world.substr(0, world.rfind('\\') + 1) + "state\\";
}

std::string StoredList()
{
    char list[ProfileListBufferSize] = {};
    WlanCall(Chipset.WLAN_Read_ProfileList, list);
    return list;
}

void SetStoredList(const std::string& Text) { ASSERT_TRUE(WlanCall(Chipset.WLAN_Write_ProfileList, Text.c_str())); }

ProfileSetting Named(const std::string& Name)
{
    ProfileSetting profile{};
    CopyText(profile.ProfileName, sizeof profile.ProfileName, Name);
    return profile;
}

// The whole stored record, or a zero one with only the name when there is none.
ProfileSetting Stored(const std::string& Name)
{
    ProfileSetting profile = Named(Name);
    WlanCall(Chipset.WLAN_Read_Setting_From_ProfileRegistry_Ex, &profile);
    return profile;
}

void Store(const std::string& Name, const std::string& Ssid, uint8_t Mode = 1, uint8_t Channel = 6,
           uint8_t Level = 0)
{
    ProfileSetting profile = Named(Name);
    profile.Wlan.SSID_length = static_cast<uint8_t>(Ssid.size());
    std::memcpy(profile.Wlan.SSID, Ssid.data(), Ssid.size());
    profile.Wlan.OperatingModeID = Mode;
    profile.Wlan.Channel = Channel;
    profile.Wep.EncryptionLevel = Level;
    ASSERT_TRUE(WlanCall(Chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex, &profile));
}

std::string SsidOf(const ProfileSetting& Profile) { return SsidToText(Profile.Wlan.SSID, Profile.Wlan.SSID_length); }

class ProfilesPage : public testing::Test {
protected:
    void SetUp() override
    {
        Harness::Reset();
        form = Harness::Form();
        saved = form->Defaults;
        ::DeleteFileA((StoreFolder() + "profilelist.txt").c_str());
        ::DeleteFileA((StoreFolder() + "profiles.bin").c_str());
        List()->Items()->Clear();
        // The poll and the survey's timers stay off; the tests see whether they are enabled.
        for (TTimer* timer : {form->UpdateTimer, form->CheckTimer, form->ConnectCheckTimer}) timer->SetInterval(0);
        form->ShowProfileControls(true); // on the hidden window: hiding a shown one takes Wine seconds
        Harness::Pump();
        Harness::Seam().Clear();
        Harness::ClearCalls();
    }
    void TearDown() override
    {
        form->ShowProfileControls(false);
        form->Defaults = saved;
    }
    TListView* List() const { return form->Profile_LstV_Profile1; }
    // The list's rows in order: captions, or the SSID column.
    Texts Rows(int Column = 0) const
    {
        Texts rows;
        for (int i = 0; i < List()->Items()->Count(); ++i) {
            TListItem* row = List()->Items()->Item(i);
            rows.push_back(Column == 0 ? row->Caption() : row->SubItems()->Get(Column - 1));
        }
        return rows;
    }
    std::string SelectedRow() const
    {
        TListItem* row = List()->Selected();
        return row ? row->Caption() : "(none)";
    }
    void Select(const std::string& Caption)
    {
        for (int i = 0; i < List()->Items()->Count(); ++i)
            if (List()->Items()->Item(i)->Caption() == Caption) List()->Items()->Item(i)->SetSelected(true);
        Application->ProcessMessages();
    }
    // Seeds the store and shows it, as the device check does.
    void Seed(const std::string& ListText, const std::vector<std::pair<std::string, std::string>>& Records)
    {
        for (const auto& r : Records) Store(r.first, r.second);
        SetStoredList(ListText);
        form->FillProfileList(form->ReadProfileList());
        Harness::ClearCalls();
    }
    static void Press(TButton* Button)
    {
        ::SendMessageA(Button->Handle(), BM_CLICK, 0, 0);
        Application->ProcessMessages();
    }
    void Key(char C)
    {
        ::PostMessageA(List()->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
        Application->ProcessMessages();
    }
    static std::vector<std::string>& Boxes() { return Harness::Seam().Boxes; }

    TMainFrm* form = nullptr;
    TWlanIniDefaults saved;
};

TEST_F(ProfilesPage, DefaultIsMadeFromTheBuiltInValuesOnce)
{
    form->Profiles.NewProfile = Named("Home");
    form->EnsureDefaultProfile();
    EXPECT_EQ(StoredList(), "\"Default\"");
    EXPECT_EQ(Rows(), Texts{"Default"});
    EXPECT_EQ(Rows(1), Texts{"tarvane"});
    const ProfileSetting d = Stored("Default");
    EXPECT_EQ(SsidOf(d), "tarvane");
    EXPECT_EQ(d.Wlan.Channel, 11);
    EXPECT_EQ(d.Wlan.Frequency, 2462);
    EXPECT_EQ(d.Wlan.OperatingModeID, 1);
    EXPECT_EQ(d.Wlan.NetBand, 0);
    EXPECT_EQ(d.Wlan.RateIndex, 4);
    EXPECT_EQ(d.Wep.EncryptionLevel, 0);
    EXPECT_EQ(d.SetIP, 0);
    EXPECT_STREQ(d.Ip.cIpAdress, "0.0.0.0");
    EXPECT_STREQ(d.Ip.cNetMask, "255.255.255.0");
    EXPECT_STREQ(d.Ip.cGateway, "0.0.0.0");
    EXPECT_STREQ(d.Ip.cDnsServer, "0.0.0.0");
    EXPECT_EQ(d.Ip.blDhcpEnabled, 1);
    EXPECT_STREQ(form->Profiles.NewProfile.ProfileName, "Home"); // a wizard's record is left alone

    // Stored already and no first start to apply: nothing is written.
    Harness::ClearCalls();
    form->EnsureDefaultProfile();
    EXPECT_EQ(Harness::CallCount("WLAN_Write_ProfileList"), 0u);
    EXPECT_EQ(Harness::CallCount("WLAN_Write_Setting_To_ProfileRegistry_Ex"), 0u);
    SetStoredList("\"Home\",\"default\"");
    Harness::ClearCalls();
    form->EnsureDefaultProfile(); // letter case aside, it is there
    EXPECT_EQ(Harness::CallCount("WLAN_Write_ProfileList"), 0u);
}

TEST_F(ProfilesPage, FirstStartRebuildsDefaultFromWlanIniAndListsItOnce)
{
    Store("Default", "old");
    Seed("\"Home\",\"Default\",\"Office\"", {{"Home", "Kestrel-Home"}, {"Office", "mirelow-office"}});
    TWlanIniDefaults& ini = form->Defaults;
    ini.First = 1;
    ini.DefaultSSID = " Harbour";
    ini.DefaultChannel = 6;
    ini.DefaultGoo = 3;
    ini.DefaultMode = 0;
    ini.DefaultIp = "0.0.0.0";
    ini.DefaultMask = "255.255.255.0";
    ini.DefaultGateway = "0.0.0.0";
    ini.DefaultDns = "10.0.0.1";
    ini.DefaultDns2 = "10.0.0.2";
    ini.DefaultDhcp = 1;
    form->EnsureDefaultProfile();
    EXPECT_EQ(StoredList(), "\"Default\",\"Home\",\"Office\"");
    EXPECT_EQ(Rows(), (Texts{"Default", "Home", "Office"}));
    EXPECT_EQ(Rows(1), (Texts{" Harbour", "Kestrel-Home", "mirelow-office"}));
    ProfileSetting d = Stored("Default");
    EXPECT_EQ(SsidOf(d), " Harbour"); // as read, blanks and all
    EXPECT_EQ(d.Wlan.Channel, 6);
    EXPECT_EQ(d.Wlan.Frequency, 2437);
    EXPECT_EQ(d.Wlan.NetBand, 3);
    EXPECT_EQ(d.Wlan.OperatingModeID, 0);
    EXPECT_EQ(d.Wlan.RateIndex, 4);
    EXPECT_STREQ(d.Ip.cDnsServer, "10.0.0.1");
    EXPECT_EQ(d.Ip.blDhcpEnabled, 1);

    // A channel outside the frequency table gets no frequency.
    ini.DefaultChannel = 40;
    form->EnsureDefaultProfile();
    d = Stored("Default");
    EXPECT_EQ(d.Wlan.Channel, 40);
    EXPECT_EQ(d.Wlan.Frequency, 0);
    EXPECT_EQ(StoredList(), "\"Default\",\"Home\",\"Office\"");

    // A network name longer than an SSID holds is refused; nothing changes.
    ini.DefaultSSID = std::string(33, 'n');
    Harness::ClearCalls();
    form->EnsureDefaultProfile();
    EXPECT_EQ(Boxes(), Texts{"Error\tThe network name (SSID) of the profile is longer than 32 characters. The "
                             "profile was not stored."});
    EXPECT_EQ(Harness::CallCount("WLAN_Write_Setting_To_ProfileRegistry_Ex"), 0u);
    EXPECT_EQ(Harness::CallCount("WLAN_Write_ProfileList"), 0u);
    EXPECT_EQ(SsidOf(Stored("Default")), " Harbour");
}

TEST_F(ProfilesPage, NewAsksForANameAndPreparesTheProfile)
{
    form->Profiles.NewProfile = Named("left over");
    User::WillAnswerInputBox(NewProfileBox, "Zeta net");
    Press(form->Profile_NewBtn);
    EXPECT_TRUE(User::InputBoxAnswered());
    const ProfileSetting& p = form->Profiles.NewProfile;
    EXPECT_STREQ(p.ProfileName, "Zeta net");
    EXPECT_TRUE(form->Profiles.IsNewProfile);
    EXPECT_EQ(p.SetIP, 1);
    EXPECT_EQ(p.ProfileMode, 0);
    EXPECT_EQ(p.Wlan.OperatingModeID, 1);
    EXPECT_EQ(p.Wlan.Channel, 11);
    EXPECT_EQ(p.Wlan.NetBand, 7);
    EXPECT_EQ(p.Wlan.RateIndex, 4);
    EXPECT_EQ(p.Wlan.SSID_length, 0);
    EXPECT_EQ(p.Wep.EncryptionLevel, 0);
    EXPECT_STREQ(p.Ip.cIpAdress, "0.0.0.0");
    EXPECT_STREQ(p.Ip.cNetMask, "255.255.255.0");
    EXPECT_STREQ(p.Ip.cGateway, "0.0.0.0");
    EXPECT_STREQ(p.Ip.cDnsServer, "0.0.0.0,0.0.0.0");
    EXPECT_EQ(p.Ip.blDhcpEnabled, 1);
    char mac[18];
    MacToText(p.Ip.Mac, mac);
    EXPECT_STREQ(mac, "02-1F-3A-61-0B-27"); // the stand-in adapter's
    EXPECT_EQ(Harness::Seam().Sounds, Texts{"Sound\\click.wav"});
    EXPECT_EQ(Harness::CallCount("WLAN_Write_ProfileList"), 0u); // nothing stored before the wizard's Yes

    // Cancel, a quote or too long a name leave the profile as it was.
    for (const auto& [keys, cancel] : {std::pair<std::string, bool>{"Other", true}, {"my \"net\"", false},
                                       {std::string(260, 'n'), false}}) {
        User::WillAnswerInputBox(NewProfileBox, keys, cancel);
        Press(form->Profile_NewBtn);
        EXPECT_TRUE(User::InputBoxAnswered());
        EXPECT_STREQ(p.ProfileName, "Zeta net");
    }
    EXPECT_EQ(Boxes(), (Texts{"Error\tA profile name cannot contain a double quote (\"). Please enter another name.",
                              "Error\tThe profile name is too long. Please enter a name of at most 259 characters."}));
}

TEST_F(ProfilesPage, StoringAddsANewNameAndReplacesAListedOne)
{
    Seed("\"Home\",\"Default\"", {{"Default", "tarvane"}, {"Home", "Kestrel-Home"}});
    EXPECT_EQ(Rows(), (Texts{"Default", "Home"})); // sorted by name

    // New with a name that exists: the record is replaced, the list is not written.
    User::WillAnswerInputBox(NewProfileBox, "Home");
    Press(form->Profile_NewBtn);
    ASSERT_TRUE(form->StoreProfile(false));
    EXPECT_EQ(Stored("Home").Wlan.NetBand, 7);
    EXPECT_EQ(Harness::CallCount("WLAN_Write_ProfileList"), 0u);
    EXPECT_EQ(StoredList(), "\"Home\",\"Default\"");
    EXPECT_EQ(Rows(), (Texts{"Default", "Home"}));
    EXPECT_EQ(SelectedRow(), "Home");

    // A new name joins the list, which is written from the rows.
    form->Profiles.IsNewProfile = true;
    form->Profiles.NewProfile = Named("Attic");
    ProfileSetting& p = form->Profiles.NewProfile;
    std::memcpy(p.Wlan.SSID, "attic-ap", 8);
    p.Wlan.SSID_length = 8;
    ASSERT_TRUE(form->StoreProfile(false));
    EXPECT_EQ(StoredList(), "\"Default\",\"Home\",\"Attic\" ");
    EXPECT_EQ(Rows(), (Texts{"Attic", "Default", "Home"}));
    EXPECT_EQ(Rows(1)[0], "attic-ap");
    EXPECT_EQ(SelectedRow(), "Attic");
    EXPECT_EQ(SsidOf(Stored("Attic")), "attic-ap");

    // An imported profile that replaces nothing is added like a new one.
    form->Profiles.IsNewProfile = false;
    form->Profiles.NewProfile = Named("Imported");
    ASSERT_TRUE(form->StoreProfile(false));
    EXPECT_TRUE(form->Profiles.IsNewProfile);
    EXPECT_EQ(StoredList(), "\"Attic\",\"Default\",\"Home\",\"Imported\" ");
    EXPECT_EQ(SelectedRow(), "Imported");

    // An edited profile: the record replaced, the list read back and shown.
    Harness::ClearCalls();
    form->Profiles.IsNewProfile = false;
    form->Profiles.NewProfile = Stored("Home");
    form->Profiles.NewProfile.Wlan.Channel = 9;
    ASSERT_TRUE(form->StoreProfile(false));
    EXPECT_EQ(Stored("Home").Wlan.Channel, 9);
    EXPECT_EQ(Harness::CallCount("WLAN_Write_ProfileList"), 0u);
    EXPECT_EQ(Rows(), (Texts{"Attic", "Default", "Home", "Imported"}));
    EXPECT_EQ(SelectedRow(), "Home");

    // A store that the library refuses changes neither list.
    Harness::SetWorld("World", "Fail", "WLAN_Write_Setting_To_ProfileRegistry_Ex");
    form->Profiles.IsNewProfile = true;
    form->Profiles.NewProfile = Named("Ghost");
    EXPECT_FALSE(form->StoreProfile(false));
    EXPECT_EQ(StoredList(), "\"Attic\",\"Default\",\"Home\",\"Imported\" ");
    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ProfilesPage, StoreRefusesWhatWouldPassALimitAndKeepsWhatIsStored)
{
    // Names that leave no room in the 1024-byte list for one more.
    Texts names;
    std::string list;
    for (int i = 0; i < 20; ++i) {
        names.push_back(std::string(48, static_cast<char>('a' + i)));
        list += (list.empty() ? "\"" : ",\"") + names.back() + "\"";
    }
    ASSERT_EQ(list.size(), 1019u);
    Seed(list, {});
    ASSERT_EQ(Rows().size(), names.size());
    const std::string stored = StoredList();

    form->Profiles.IsNewProfile = true;
    form->Profiles.NewProfile = Named("one too many");
    EXPECT_FALSE(form->StoreProfile(false));
    form->Profiles.NewProfile = Named("say \"hi\"");
    EXPECT_FALSE(form->StoreProfile(false));
    form->Profiles.NewProfile = Named(names[0]);
    form->Profiles.NewProfile.Wlan.SSID_length = 33;
    EXPECT_FALSE(form->StoreProfile(false));
    // A name that fills the whole field has no terminator: it is too long.
    form->Profiles.NewProfile = ProfileSetting{};
    std::memset(form->Profiles.NewProfile.ProfileName, 'z', sizeof form->Profiles.NewProfile.ProfileName);
    EXPECT_FALSE(form->StoreProfile(false));

    EXPECT_EQ(Boxes(),
              (Texts{"Error\tThere is no room for another profile name in the profile list. Please delete a profile "
                     "first.",
                     "Error\tA profile name cannot contain a double quote (\"). Please enter another name.",
                     "Error\tThe network name (SSID) of the profile is longer than 32 characters. The profile was not "
                     "stored.",
                     "Error\tThe profile name is too long. Please enter a name of at most 259 characters."}));
    EXPECT_EQ(Harness::CallCount("WLAN_Write_Setting_To_ProfileRegistry_Ex"), 0u);
    EXPECT_EQ(Harness::CallCount("WLAN_Write_ProfileList"), 0u);
    EXPECT_EQ(StoredList(), stored);
    EXPECT_EQ(Rows().size(), names.size());

    // New asks before the wizard runs for nothing.
    User::WillAnswerInputBox(NewProfileBox, "one too many");
    Press(form->Profile_NewBtn);
    EXPECT_EQ(Boxes().size(), 5u);
    EXPECT_EQ(Boxes().back(), Boxes().front());

    // No room to put "Default" first either: neither the record nor the list is written.
    form->EnsureDefaultProfile();
    EXPECT_EQ(Boxes().size(), 6u);
    EXPECT_EQ(Boxes().back(), Boxes().front());
    EXPECT_EQ(Harness::CallCount("WLAN_Write_Setting_To_ProfileRegistry_Ex"), 0u);
    EXPECT_EQ(Harness::CallCount("WLAN_Write_ProfileList"), 0u);
    EXPECT_EQ(StoredList(), stored);
}

TEST_F(ProfilesPage, DeleteTakesTheNameOffTheListAndNeverDefault)
{
    Seed("\"Default\",\"Home\",\"Office\"", {{"Default", "tarvane"}, {"Home", "Kestrel-Home"}, {"Office", "mirelow"}});
    auto timersRun = [this] { return form->UpdateTimer->Enabled() && form->CheckTimer->Enabled(); };

    Press(form->Profile_DelBtn); // nothing selected
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_TRUE(timersRun());
    form->UpdateTimer->SetEnabled(false);
    Select("Default");
    Press(form->Profile_DelBtn);
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_EQ(Harness::CallCount("WLAN_Write_ProfileList"), 0u);
    EXPECT_TRUE(timersRun());

    // The survey list is filled afresh from the survey table.
    SiteSurveyEntry& cell = form->Survey.SurveyEntries[0];
    cell = SiteSurveyEntry{};
    std::memcpy(cell.SSID, "harbour", 7);
    cell.SSID_length = 7;
    form->Survey.SurveyCount = 1;
    form->Connections_LstV_APs->Items()->Clear();

    Select("Home");
    Press(form->Profile_DelBtn);
    form->Survey.SurveyCount = 0;
    ASSERT_EQ(form->Connections_LstV_APs->Items()->Count(), 1);
    EXPECT_EQ(form->Connections_LstV_APs->Items()->Item(0)->Caption(), "harbour");
    EXPECT_EQ(StoredList(), "\"Default\",\"Office\" ");
    EXPECT_EQ(Rows(), (Texts{"Default", "Office"}));
    EXPECT_EQ(SelectedRow(), "Default");
    EXPECT_EQ(SsidOf(Stored("Home")), "Kestrel-Home"); // the record stays in the store
    EXPECT_TRUE(timersRun());
    EXPECT_EQ(Harness::Seam().Sounds, (Texts{"Sound\\click.wav", "Sound\\click.wav", "Sound\\click.wav"}));

    Select("Office");
    Key('.');
    EXPECT_EQ(StoredList(), "\"Default\" ");
    EXPECT_EQ(Rows(), Texts{"Default"});

    // The last row goes: the list is a single blank.
    Seed("\"Solo\"", {{"Solo", "solo-ap"}});
    Select("Solo");
    Press(form->Profile_DelBtn);
    EXPECT_EQ(StoredList(), " ");
    EXPECT_TRUE(Rows().empty());
}

TEST_F(ProfilesPage, KeysRunEditAndNew)
{
    Seed("\"Default\",\"Home\"", {{"Default", "tarvane"}, {"Home", "Kestrel-Home"}});
    Select("Home");
    Key('\r');
    EXPECT_STREQ(form->Profiles.EditProfile.ProfileName, "Home");
    EXPECT_EQ(SsidOf(form->Profiles.EditProfile), "Kestrel-Home");
    EXPECT_EQ(std::memcmp(&form->Profiles.NewProfile, &form->Profiles.EditProfile, sizeof(ProfileSetting)), 0);
    EXPECT_FALSE(form->Profiles.IsNewProfile);
    EXPECT_TRUE(form->Pages.WizardEditMode);

    User::WillAnswerInputBox(NewProfileBox, "", true);
    Key('-');
    EXPECT_TRUE(User::InputBoxAnswered());
    EXPECT_TRUE(form->Profiles.IsNewProfile);

    // Edit without a selected row does nothing.
    form->Pages.WizardEditMode = false;
    List()->SetItemIndex(-1);
    Press(form->Profile_EditBtn);
    EXPECT_FALSE(form->Pages.WizardEditMode);
}

TEST_F(ProfilesPage, DetailsShowTheChangedRowsProfile)
{
    Store("Cell3", "lanparty", 0, 3, 3);
    Store("Kestrel", "Kestrel-Home", 1, 6, 1);
    Store("Odd", "odd", 0, 14, 9);
    Seed("\"Cell3\",\"Kestrel\",\"Odd\"", {});
    auto details = [this] {
        return Texts{form->Profile_Lbl_NetworkType->Caption(), form->Profile_Lbl_TxRate->Caption(),
                     form->Profile_Lbl_Channel->Caption(), form->Profile_Lbl_WEP->Caption()};
    };
    Select("Cell3");
    EXPECT_EQ(details(), (Texts{"AdHoc", "Auto", "3", "152 Bits"}));
    Select("Kestrel");
    EXPECT_EQ(details(), (Texts{"Infrastructure", "Auto", "Auto", "64 Bits"}));
    Select("Odd");
    EXPECT_EQ(details(), (Texts{"AdHoc", "Auto", "14", ""}));
}

// The details beside the list are those of a row seen as selected, also
// while the list has not the focus, as a selected survey row is: the list
// comes up with its first row selected, and no row selected shows no
// details. The six buttons under the list stand in one row.
TEST_F(ProfilesPage, DetailsAreThoseOfARowSeenSelectedAndTheButtonsStandInOneRow)
{
    Store("Cell3", "lanparty", 0, 3, 3);
    Seed("\"Kestrel\",\"Cell3\"", {{"Kestrel", "Kestrel-Home"}});
    auto details = [this] {
        return Texts{form->Profile_Lbl_NetworkType->Caption(), form->Profile_Lbl_TxRate->Caption(),
                     form->Profile_Lbl_Channel->Caption(), form->Profile_Lbl_WEP->Caption()};
    };
    ASSERT_EQ(Rows(), (Texts{"Cell3", "Kestrel"}));
    EXPECT_EQ(SelectedRow(), "Cell3");
    EXPECT_EQ(details(), (Texts{"AdHoc", "Auto", "3", "152 Bits"}));

    TListView* survey = form->Connections_LstV_APs;
    survey->Items()->Clear();
    survey->Items()->Add()->SetCaption("Kestrel-Home");
    survey->Items()->Item(0)->SetSelected(true);
    form->Show();
    form->ShowSurveyControls(true);
    form->Profile_NewBtn->SetFocus();
    Harness::Pump();
    ASSERT_FALSE(survey->Focused());
    ASSERT_FALSE(List()->Focused());
    // A point of a row's background right of its text.
    auto rowColour = [](TListView* List, int Row) { return Harness::RowPixel(List, Row, List->ColumnWidth(0) - 4); };
    const TColor selected = rowColour(survey, 0);
    EXPECT_EQ(rowColour(List(), 0), selected);
    EXPECT_NE(rowColour(List(), 1), selected);

    List()->Items()->Item(0)->SetSelected(false); // as a click beside the rows does
    EXPECT_EQ(details(), (Texts{"", "", "", ""}));
    EXPECT_NE(rowColour(List(), 0), selected);

    RECT connect;
    ::GetWindowRect(form->Profile_ConnectBtn->Handle(), &connect);
    for (TButton* button : {form->Profile_EditBtn, form->Profile_NewBtn, form->ProfileSet_ImportBtn,
                            form->ProfileSet_ExportBtn, form->Profile_DelBtn}) {
        RECT r;
        ::GetWindowRect(button->Handle(), &r);
        EXPECT_EQ(r.top, connect.top) << button->Name;
        EXPECT_EQ(r.bottom, connect.bottom) << button->Name;
    }
    form->ShowSurveyControls(false);
    survey->Items()->Clear();
    form->Hide();
}

TEST_F(ProfilesPage, ListShowsNoMoreOfAnSsidThanItsField)
{
    ProfileSetting profile = Named("Wide");
    std::memset(profile.Wlan.SSID, 'w', sizeof profile.Wlan.SSID);
    profile.Wlan.SSID_length = 200;
    ASSERT_TRUE(WlanCall(Chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex, &profile));
    Seed("\"Wide\"", {});
    EXPECT_EQ(Rows(1), Texts{std::string(32, 'w')});
}

TEST_F(ProfilesPage, ConnectNeedsAnOpenAdapter)
{
    Seed("\"Default\"", {{"Default", "tarvane"}});
    Select("Default");
    form->Link.AdapterOpened = false;
    for (TTimer* timer : {form->UpdateTimer, form->CheckTimer, form->ConnectCheckTimer}) timer->SetEnabled(true);
    Press(form->Profile_ConnectBtn);
    EXPECT_FALSE(form->UpdateTimer->Enabled());
    EXPECT_FALSE(form->CheckTimer->Enabled());
    EXPECT_FALSE(form->ConnectCheckTimer->Enabled());

    form->Link.AdapterOpened = true;
    form->Pages.StatusImageId = 0;
    form->ConnectCheckTimer->SetInterval(0);
    Press(form->Profile_ConnectBtn);
    EXPECT_EQ(form->Pages.StatusImageId, 1007);
    EXPECT_TRUE(form->ConnectCheckTimer->Enabled());
    EXPECT_EQ(form->ConnectCheckTimer->Interval(), 300u);
}

} // namespace
