// The Profiles page: the chipset library's stored profiles in a list kept in
// step with the store's name list, the profile "Default", and New, Edit,
// Delete and Connect. Everything runs on the main thread.
#include "drivers/bindings.h"
#include "drivers/record_text.h"
#include "mainfrm.h"
#include "profile_rules.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/format.h"
#include "toolkit/seam.h"
#include "wep_keys.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const DefaultProfileName = "Default";

std::string NameOf(const ProfileSetting& Profile) { return FieldText(Profile.ProfileName, sizeof Profile.ProfileName); }

// A record that names the profile to read; the rest zero.
ProfileSetting Named(const std::string& Name)
{
    ProfileSetting profile{};
    CopyText(profile.ProfileName, sizeof profile.ProfileName, Name);
    return profile;
}

void SetAddresses(NicIpInfo& Ip, const std::string& Address, const std::string& Mask, const std::string& Gateway,
                  const std::string& Dns)
{
    CopyText(Ip.cIpAdress, sizeof Ip.cIpAdress, Address);
    CopyText(Ip.cNetMask, sizeof Ip.cNetMask, Mask);
    CopyText(Ip.cGateway, sizeof Ip.cGateway, Gateway);
    CopyText(Ip.cDnsServer, sizeof Ip.cDnsServer, Dns);
}

void AddRow(TListView* List, const std::string& Name, const WlanInfo& Wlan)
{
    TListItem* row = List->Items()->Add();
    row->SetCaption(Name);
    row->SubItems()->Add(SsidToText(Wlan.SSID, Wlan.SSID_length));
}

} // namespace

std::string TMainFrm::ReadProfileList()
{
    char* buffer = Profiles.ProfileListBuffer;
    std::memset(buffer, 0, ProfileListBufferSize);
    WlanCall(Chipset.WLAN_Read_ProfileList, buffer);
    return FieldText(buffer, ProfileListBufferSize);
}

// The first row comes up selected, with its details beside the list.
void TMainFrm::FillProfileList(const std::string& ListText)
{
    TListItems* rows = Profile_LstV_Profile1->Items();
    rows->Clear();
    for (const std::string& name : SplitProfileList(ListText)) {
        Application->ProcessMessages();
        if (Program.Quitting) return;
        ProfileSetting stored = Named(name);
        WlanCall(Chipset.WLAN_Read_Setting_From_ProfileRegistry, &stored);
        AddRow(Profile_LstV_Profile1, name, stored.Wlan);
    }
    if (rows->Count() > 0) rows->Item(0)->SetSelected(true);
}

std::vector<std::string> TMainFrm::ProfileCaptions()
{
    std::vector<std::string> captions;
    TListItems* rows = Profile_LstV_Profile1->Items();
    for (int i = 0; i < rows->Count(); ++i) captions.push_back(rows->Item(i)->Caption());
    return captions;
}

std::string TMainFrm::ProfileListWith(const std::string& Name)
{
    std::vector<std::string> names = ProfileCaptions();
    if (std::find(names.begin(), names.end(), Name) != names.end()) return {};
    names.push_back(Name);
    return JoinProfileList(names) + " ";
}

bool TMainFrm::RefuseProfileStore(const std::string& Name, unsigned SsidLength, const std::string& ListText)
{
    const std::string refusal = ProfileStoreRefusal(Name, SsidLength, ListText);
    if (refusal.empty()) return false;
    Platform().MessageBox(Handle(), refusal, "Error", MB_OK | MB_ICONWARNING);
    return true;
}

void TMainFrm::SelectProfileRow(const std::string& Name)
{
    TListItems* rows = Profile_LstV_Profile1->Items();
    for (int i = 0; i < rows->Count(); ++i) {
        Application->ProcessMessages();
        if (Program.Quitting) return;
        if (rows->Item(i)->Caption() == Name) {
            rows->Item(i)->SetSelected(true);
            return;
        }
    }
}

// Made from WLAN.INI when it names a network, else from the built-in values;
// made again whenever WLAN.INI still has its first start to apply. It runs
// on the first poll after every opening of the adapter, which may come in
// the middle of a wizard run: it builds its own record and leaves the
// wizard's alone.
void TMainFrm::EnsureDefaultProfile()
{
    const std::string list = ReadProfileList();
    if (Program.Quitting) return;
    bool stored = false;
    for (const std::string& name : SplitProfileList(list)) stored |= CompareText(name, DefaultProfileName) == 0;
    if (stored && Defaults.First != 1) return;

    ProfileSetting profile = Named(DefaultProfileName);
    WlanInfo& wlan = profile.Wlan;
    if (!Trim(Defaults.DefaultSSID).empty()) {
        const std::string& ssid = Defaults.DefaultSSID;
        if (RefuseProfileStore(DefaultProfileName, static_cast<unsigned>(ssid.size()), {})) return;
        std::memcpy(wlan.SSID, ssid.data(), ssid.size());
        wlan.SSID_length = static_cast<uint8_t>(ssid.size());
        wlan.Channel = static_cast<uint8_t>(Defaults.DefaultChannel);
        wlan.Frequency = ChannelFrequency(Defaults.DefaultChannel);
        wlan.NetBand = static_cast<uint16_t>(Defaults.DefaultGoo);
        wlan.OperatingModeID = static_cast<uint8_t>(Defaults.DefaultMode);
        SetAddresses(profile.Ip, Defaults.DefaultIp, Defaults.DefaultMask, Defaults.DefaultGateway, Defaults.DefaultDns);
        profile.Ip.blDhcpEnabled = Defaults.DefaultDhcp;
    } else {
        const char ssid[] = "tarvane";
        std::memcpy(wlan.SSID, ssid, sizeof ssid - 1);
        wlan.SSID_length = sizeof ssid - 1;
        wlan.Channel = 11;
        wlan.Frequency = ChannelFrequency(11);
        wlan.OperatingModeID = 1;
        SetAddresses(profile.Ip, "0.0.0.0", "255.255.255.0", "0.0.0.0", "0.0.0.0");
        profile.Ip.blDhcpEnabled = 1;
    }
    wlan.RateIndex = 4;
    SaveProfileList(profile);
}

void TMainFrm::SaveProfileList(ProfileSetting& Default)
{
    if (Program.Quitting || !Link.AdapterOpened) return;
    std::vector<std::string> names{DefaultProfileName};
    for (const std::string& name : SplitProfileList(ReadProfileList()))
        if (name != DefaultProfileName) names.push_back(name);
    const std::string list = JoinProfileList(names);
    if (RefuseProfileStore(NameOf(Default), Default.Wlan.SSID_length, list)) return;
    if (Program.Quitting) return;
    WlanCall(Chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex, &Default);
    if (Program.Quitting) return;
    WlanCall(Chipset.WLAN_Write_ProfileList, list.c_str());
    FillProfileList(list);
}

// Stores what New, the wizard or an import built. A name that no row holds
// joins the list; a listed one has its record replaced. False when the
// record did not reach the store.
bool TMainFrm::StoreProfile(bool Connect)
{
    TChipsetHold library;
    if (!HoldChipsetLibrary(library)) return false;
    ProfileSetting& profile = Profiles.NewProfile;
    const std::string name = NameOf(profile);
    const std::string list = ProfileListWith(name);
    const bool listed = list.empty();
    if (!listed) Profiles.IsNewProfile = true;
    if (RefuseProfileStore(name, profile.Wlan.SSID_length, list)) return false;

    const bool stored = WlanCall(Chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex, &profile);
    if (stored) {
        WlanCall(Chipset.WLAN_Read_Setting_From_ProfileRegistry_Ex, &Profiles.EditProfile);
        if (!Program.Quitting) {
            if (!Profiles.IsNewProfile) {
                FillProfileList(ReadProfileList());
            } else if (!listed) {
                WlanCall(Chipset.WLAN_Write_ProfileList, list.c_str());
                AddRow(Profile_LstV_Profile1, name, profile.Wlan);
            }
        }
    }
    SelectProfileRow(name);
    if (Connect && !Program.Quitting) Profile_ConnectBtnClick(this);
    return stored;
}

void TMainFrm::Profile_NewBtnClick(TObject*)
{
    PlaySoundThenStop("click.wav");
    Profiles.IsNewProfile = true;
    const std::string name = InputBox("Create connection profile", "Enter a name for the new profile.", "");
    if (Program.Quitting || name.empty()) return;
    if (RefuseProfileStore(name, 0, ProfileListWith(name))) return;

    ProfileSetting& profile = Profiles.NewProfile;
    profile = Named(name);
    profile.SetIP = 1;
    profile.Wlan.OperatingModeID = 1;
    profile.Wlan.Channel = 11;
    profile.Wlan.NetBand = 7;
    profile.Wlan.RateIndex = 4;
    SetAddresses(profile.Ip, "0.0.0.0", "255.255.255.0", "0.0.0.0", "0.0.0.0,0.0.0.0");
    profile.Ip.blDhcpEnabled = 1;
    WlanCall(Chipset.WLAN_Get_Mac_Info, Link.TheAdapter.MacAddress);
    std::memcpy(profile.Ip.Mac, Link.TheAdapter.MacAddress, sizeof profile.Ip.Mac);
    ShowWizardPage(Page::WizardNetwork);
}

void TMainFrm::Profile_EditBtnClick(TObject*)
{
    PlaySoundThenStop("click.wav");
    WaitPumping(100);
    if (Program.Quitting) return;
    TListItem* row = Profile_LstV_Profile1->Selected();
    if (!row) return;
    TChipsetHold library;
    if (!HoldChipsetLibrary(library)) return;
    ProfileSetting& edited = Profiles.EditProfile;
    CopyText(edited.ProfileName, sizeof edited.ProfileName, row->Caption());
    WlanCall(Chipset.WLAN_Read_Setting_From_ProfileRegistry_Ex, &edited);
    Profiles.IsNewProfile = false;
    Profiles.NewProfile = edited;
    Pages.WizardEditMode = true;
    ShowWizardPage(Page::WizardNetwork);
}

// Takes the name off the list; the stored record stays. "Default" stays.
void TMainFrm::Profile_DelBtnClick(TObject*)
{
    TChipsetHold library;
    if (!HoldChipsetLibrary(library)) return;
    UpdateTimer->SetEnabled(false);
    CheckTimer->SetEnabled(false);
    PlaySoundThenStop("click.wav");
    WaitPumping(100);
    if (Program.Quitting) return;

    TListView* profiles = Profile_LstV_Profile1;
    TListItem* row = profiles->Selected();
    if (row && row->Caption() != DefaultProfileName) {
        const std::string name = row->Caption();
        // The survey row a connect last worked on is connected again when
        // its first sub-item (the band) reads as the deleted name.
        TListItems* surveyRows = Connections_LstV_APs->Items();
        const int32_t at = Survey.SelectedRowIndex;
        const bool reconnect = at >= 0 && profiles->Items()->Count() > 0 && at < surveyRows->Count() &&
                               surveyRows->Item(at)->SubItems()->Count() > SurveySubItem::Band &&
                               surveyRows->Item(at)->SubItems()->Get(SurveySubItem::Band) == name;

        profiles->Items()->Delete(row->Index());
        WlanCall(Chipset.WLAN_Write_ProfileList, (JoinProfileList(ProfileCaptions()) + " ").c_str());
        if (profiles->Items()->Count() > 0) profiles->Items()->Item(0)->SetSelected(true);

        FillSurveyList(); // afresh, unless a walk of the survey list is under way
        if (Program.Quitting) return;
        if (reconnect) Connections_ConnectBtnClick(this);
        if (Program.Quitting) return;
    }
    UpdateTimer->SetEnabled(true);
    CheckTimer->SetEnabled(true);
}

void TMainFrm::Profile_ConnectBtnClick(TObject*)
{
    if (!Link.AdapterOpened) {
        for (TTimer* timer : {UpdateTimer, CheckTimer, ConnectCheckTimer}) timer->SetEnabled(false);
        return;
    }
    Pages.StatusImageId = IDB_TITLE_NO_LINK;
    ResetSurveyImages();
    ConnectToAP(ConnectTarget::Profile);
    if (Program.Quitting) return;
    ConnectCheckTimer->SetInterval(300);
    ConnectCheckTimer->SetEnabled(true);
}

void TMainFrm::Profile_LstV_Profile1DblClick(TObject*)
{
    ResetSurveyImages();
    ConnectToAP(ConnectTarget::Profile);
}

void TMainFrm::Profile_LstV_Profile1KeyPress(TObject*, char& Key)
{
    const char key = Key;
    if (key == '\r' || key == '.' || key == '-') Key = 0;
    if (key == '\r') Profile_EditBtnClick(this);
    else if (key == '.') Profile_DelBtnClick(this);
    else if (key == '-') Profile_NewBtnClick(this);
}

// The details beside the list are those of the selected row, read afresh
// at every change of the list, and none while no row is selected: a row
// added or left is not the one the details are read as.
void TMainFrm::Profile_LstV_Profile1Change(TObject*, TListItem*, TItemChange)
{
    if (Program.Quitting) return;
    const TListItem* row = Profile_LstV_Profile1->Selected();
    if (!row) {
        for (TLabel* label : {Profile_Lbl_NetworkType, Profile_Lbl_TxRate, Profile_Lbl_Channel, Profile_Lbl_WEP})
            label->SetCaption("");
        return;
    }
    ProfileSetting profile = Named(row->Caption());
    WlanCall(Chipset.WLAN_Read_Setting_From_ProfileRegistry, &profile);
    const bool infrastructure = profile.Wlan.OperatingModeID != 0;
    Profile_Lbl_NetworkType->SetCaption(infrastructure ? "Infrastructure" : "AdHoc");
    Profile_Lbl_TxRate->SetCaption("Auto");
    Profile_Lbl_Channel->SetCaption(infrastructure ? "Auto" : IntToStr(profile.Wlan.Channel));
    Profile_Lbl_WEP->SetCaption(WepLevelName(profile.Wep.EncryptionLevel));
}
