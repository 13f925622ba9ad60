// The chipset library's persistent store in the state folder:
//   profilelist.txt  the profile name list text, as the utility wrote it
//   profiles.bin     the stored profiles, whole 2049-byte records back to back
//   driver.bin       the driver's saved setting, one 2049-byte record
// Profiles are keyed by the exact bytes of ProfileName.
#pragma once
#include "world.h"

#include "vantra/drivers/records.h"

#include <string>

class ProfileStore {
public:
    explicit ProfileStore(const World& world) : folder(world.StateFolder) {}

    // An empty text when nothing was stored yet.
    std::string ProfileList() const;
    // False when the text would not fit the 1024-byte list buffer.
    bool SetProfileList(const std::string& text) const;

    // Copies the first `size` bytes of the stored record named like `profile`.
    bool ReadProfile(ProfileSetting& profile, size_t size) const;
    // Stores the first `size` bytes of `profile` under its name; a new
    // profile's remaining bytes are zero.
    bool WriteProfile(const ProfileSetting& profile, size_t size) const;

    bool ReadDriverSetting(ProfileSetting& setting, size_t size) const;
    // Saves the first `size` bytes of `setting`, the rest zero.
    bool WriteDriverSetting(const ProfileSetting& setting, size_t size) const;

private:
    std::string folder;
};
