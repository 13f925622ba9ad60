// The profiles being made or edited and the profile store's name list.
#pragma once
#include "drivers/records.h"
#include "profile_file.h"

#include <ctime>

struct TProfileState {
    ProfileSetting NewProfile{};  // built by New, the wizard, an import
    ProfileSetting EditProfile{}; // receives the profile opened by Edit
    char ProfileListBuffer[ProfileListBufferSize]{};
    bool IsNewProfile = false; // NewProfile's name joins the list when stored; false: it replaces a stored one
    bool NewProfileSaved = true; // the wizard's Yes stored NewProfile
    CfgIvSource CfgIvs{static_cast<uint32_t>(std::time(nullptr))}; // seeded once a run
};
