#include "profile_store.h"
#include "state_files.h"
#include "text_fields.h"

#include <cstring>

namespace {

constexpr size_t RecordSize = sizeof(ProfileSetting);

std::string NameOf(const ProfileSetting& profile)
{
    return FieldText(profile.ProfileName, sizeof profile.ProfileName);
}

// Offset of the named record in the store's contents, or npos.
size_t Find(const std::string& records, const std::string& name)
{
    for (size_t at = 0; at + RecordSize <= records.size(); at += RecordSize)
        if (FieldText(&records[at], sizeof ProfileSetting::ProfileName) == name) return at;
    return std::string::npos;
}

} // namespace

std::string ProfileStore::ProfileList() const
{
    std::string text;
    if (!ReadStateFile(folder + "profilelist.txt", text)) return {};
    return text.substr(0, strnlen(text.c_str(), ProfileListBufferSize - 1));
}

bool ProfileStore::SetProfileList(const std::string& text) const
{
    return text.size() < ProfileListBufferSize && WriteStateFile(folder + "profilelist.txt", text);
}

bool ProfileStore::ReadProfile(ProfileSetting& profile, size_t size) const
{
    std::string records;
    if (!ReadStateFile(folder + "profiles.bin", records)) return false;
    size_t at = Find(records, NameOf(profile));
    if (at == std::string::npos) return false;
    std::memcpy(&profile, &records[at], size);
    return true;
}

bool ProfileStore::WriteProfile(const ProfileSetting& profile, size_t size) const
{
    std::string records;
    ReadStateFile(folder + "profiles.bin", records);
    records.resize(records.size() / RecordSize * RecordSize);
    size_t at = Find(records, NameOf(profile));
    if (at == std::string::npos) {
        at = records.size();
        records.append(RecordSize, '\0');
    }
    std::memcpy(&records[at], &profile, size);
    return WriteStateFile(folder + "profiles.bin", records);
}

bool ProfileStore::ReadDriverSetting(ProfileSetting& setting, size_t size) const
{
    std::string record;
    if (!ReadStateFile(folder + "driver.bin", record) || record.size() != RecordSize) return false;
    std::memcpy(&setting, record.data(), size);
    return true;
}

bool ProfileStore::WriteDriverSetting(const ProfileSetting& setting, size_t size) const
{
    std::string record(RecordSize, '\0');
    std::memcpy(&record[0], &setting, size);
    return WriteStateFile(folder + "driver.bin", record);
}
