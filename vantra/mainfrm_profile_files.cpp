// Export and Import on the Profiles page: a stored profile to a .cfg file
// and back, through the common dialog library's save and open dialogs. The
// format and its key cipher are profile_file.h's.
#include "drivers/bindings.h"
#include "drivers/record_text.h"
#include "mainfrm.h"
#include "profile_file.h"
#include "toolkit/seam.h"

namespace {

const char* const CfgFilter = "Cfg file(*.cfg)|*.cfg";

} // namespace

void TMainFrm::CreateProfileFileDialogs()
{
    SaveDialog = new TSaveDialog(this);
    SaveDialog->Filter = CfgFilter;
    OpenDialog = new TOpenDialog(this);
    OpenDialog->Filter = CfgFilter;
    OpenDialog->FileName = "Profile.cfg";
    ProfileSet_ExportBtn->OnClick = [this](TObject* s) { ProfileSet_ExportBtnClick(s); };
    ProfileSet_ImportBtn->OnClick = [this](TObject* s) { ProfileSet_ImportBtnClick(s); };
}

void TMainFrm::ShowFileError(const std::string& Text)
{
    Platform().MessageBox(Handle(), Text, "Error", MB_OK | MB_ICONWARNING);
}

void TMainFrm::ProfileSet_ExportBtnClick(TObject*)
{
    TListItem* row = Profile_LstV_Profile1->Selected();
    if (!row) return;
    const std::string name = row->Caption(); // the dialog's loop may refill the list
    SaveDialog->FileName = name + ".cfg";
    if (!SaveDialog->Execute() || Program.Quitting) return;
    ExportProfile(WithCfgExtension(SaveDialog->FileName), name);
}

void TMainFrm::ProfileSet_ImportBtnClick(TObject*)
{
    if (!OpenDialog->Execute() || Program.Quitting) return;
    ImportProfile(WithCfgExtension(OpenDialog->FileName));
}

// A profile the store cannot give, or a file that cannot be written, is
// said so: the user would otherwise carry away an empty or missing file.
bool TMainFrm::ExportProfile(const std::string& FileName, const std::string& ProfileName)
{
    TChipsetHold library;
    if (!HoldChipsetLibrary(library)) return false;
    ProfileSetting profile{};
    CopyText(profile.ProfileName, ProfileName);
    if (!WlanCall(Chipset.WLAN_Read_Setting_From_ProfileRegistry_Ex, &profile)) {
        if (!Program.Quitting) ShowFileError("The profile \"" + ProfileName + "\" could not be read from the profile store.");
        return false;
    }
    try {
        TIniFile file(FileName);
        WriteProfileFile(file, profile, Profiles.CfgIvs);
        file.UpdateFile();
    } catch (const Exception& e) {
        ShowFileError(e.Message);
        return false;
    }
    return true;
}

// The file is read whole before anything is stored: a refused file leaves
// the store and the list as they were.
bool TMainFrm::ImportProfile(const std::string& FileName)
{
    ProfileSetting profile;
    try {
        TIniFile file(FileName);
        profile = ReadProfileFile(file);
    } catch (const Exception& e) {
        ShowFileError(e.Message);
        return false;
    }
    Profiles.NewProfile = profile;
    Profiles.IsNewProfile = false;
    return StoreProfile(false);
}
