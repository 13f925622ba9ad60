#include "profile_rules.h"
#include "drivers/records.h"
#include "toolkit/strings.h"

std::vector<std::string> SplitProfileList(const std::string& Text)
{
    TStringList list;
    list.SetCommaText(Text);
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list.Get(i));
    return names;
}

std::string JoinProfileList(const std::vector<std::string>& Names)
{
    std::string text;
    for (const std::string& name : Names) text += (text.empty() ? "\"" : ",\"") + name + "\"";
    return text;
}

std::string ProfileStoreRefusal(const std::string& Name, unsigned SsidLength, const std::string& ListText)
{
    if (Name.size() >= sizeof ProfileSetting::ProfileName)
        return "The profile name is too long. Please enter a name of at most 259 characters.";
    if (Name.find('"') != std::string::npos)
        return "A profile name cannot contain a double quote (\"). Please enter another name.";
    if (SsidLength > sizeof WlanInfo::SSID)
        return "The network name (SSID) of the profile is longer than 32 characters. The profile was not stored.";
    if (ListText.size() >= ProfileListBufferSize)
        return "There is no room for another profile name in the profile list. Please delete a profile first.";
    return {};
}
