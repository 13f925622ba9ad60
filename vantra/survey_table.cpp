#include "survey_table.h"
#include "drivers/record_text.h"
#include "toolkit/format.h"
#include "toolkit/strings.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

bool IsInfrastructure(uint8_t OperatingModeID) { return OperatingModeID != 0; }

std::string SsidText(const uint8_t* Ssid, unsigned Length) { return SsidToText(Ssid, Length); }

bool ListsLink(const SiteSurveyEntry& Entry, const WlanInfo& Link)
{
    if (IsInfrastructure(Link.OperatingModeID)) return std::memcmp(Entry.Bssid, Link.Bssid, 6) == 0;
    return SsidText(Entry.SSID, Entry.SSID_length) == SsidText(Link.SSID, Link.SSID_length);
}

} // namespace

int32_t SurveyBaseImage(const SiteSurveyEntry& Entry)
{
    const int32_t wep = Entry.WepEnabled != 0 ? 3 : 0;
    return (IsInfrastructure(Entry.OperatingModeID) ? 0 : 6) + wep;
}

SurveyMark MarkOfImage(int32_t Image)
{
    return Image < 0 ? SurveyMark::None : static_cast<SurveyMark>(Image % 3);
}

const char* SurveyBandText(uint8_t Band) { return Band == 1 || Band == 2 ? "A" : "B"; }

const char* SurveySignalText(uint8_t Signal)
{
    if (Signal >= 50) return "Good";
    return Signal >= 20 ? "Fair" : "Poor";
}

const char* SurveyModeName(uint8_t OperatingModeID)
{
    return IsInfrastructure(OperatingModeID) ? "Infrastructure" : "AdHoc";
}

SurveyRowTexts SurveyRow(const SiteSurveyEntry& Entry)
{
    SurveyRowTexts row;
    row.Caption = SsidText(Entry.SSID, Entry.SSID_length);
    row.SubItems[SurveySubItem::Band] = SurveyBandText(Entry.Band);
    row.SubItems[SurveySubItem::Signal] = SurveySignalText(Entry.Signal);
    row.SubItems[SurveySubItem::Bssid] = MacToText(Entry.Bssid);
    row.SubItems[SurveySubItem::Infrastructure] = IsInfrastructure(Entry.OperatingModeID) ? "1" : "0";
    row.SubItems[SurveySubItem::Wep] = Entry.WepEnabled != 0 ? "1" : "0";
    row.ImageIndex = SurveyBaseImage(Entry);
    return row;
}

std::string SurveyHintText(const SiteSurveyEntry& Entry)
{
    return Format("\n    SSID:%s    \n    %s    \n    %s    \n    BSSID:%s    \n",
                  SsidText(Entry.SSID, Entry.SSID_length).c_str(), SurveyModeName(Entry.OperatingModeID),
                  Entry.WepEnabled != 0 ? "Wep Enabled" : "Wep Disabled", MacToText(Entry.Bssid).c_str());
}

std::string SurveyTimeText(int Hour, int Minute, int Second)
{
    const bool pm = Hour >= 12;
    return DoubleQuoted(Format("%2d:%02d:%02d %s", pm ? Hour - 12 : Hour, Minute, Second, pm ? "PM" : "AM"));
}

std::string SurveyLogLine(const SiteSurveyEntry& Entry, const std::string& TimeText)
{
    const std::string fields[] = {
        SsidText(Entry.SSID, Entry.SSID_length),
        SurveyModeName(Entry.OperatingModeID),
        Format("%d", Entry.Channel),
        Entry.WepEnabled != 0 ? "WEP Enabled" : "WEP Disabled",
        Entry.Turbo == 1 ? "Turbo Enabled" : "Turbo Disabled",
        MacToText(Entry.Bssid),
    };
    std::string line;
    for (const std::string& field : fields) line += DoubleQuoted(field) + ",";
    return line + TimeText;
}

bool ReadSurveyLogLine(const std::string& Line, SurveyDetails& Details)
{
    TStringList fields;
    fields.SetCommaText(Line);
    if (fields.Count() == 0) return false;
    auto field = [&fields](int Index) { return Index < fields.Count() ? fields[Index] : std::string(); };
    Details.NetworkType = field(1);
    Details.Channel = field(2);
    Details.Wep = field(3);
    Details.Mac = field(5);
    Details.Time = field(6);
    return true;
}

int32_t CheckSurveyEntries(SurveyTable& Entries, int32_t Count)
{
    Count = std::clamp(Count, int32_t{0}, int32_t{SurveyCapacity});
    for (int32_t i = 0; i < Count; ++i) Entries[i].SSID_length = std::min<uint8_t>(Entries[i].SSID_length, 32);
    return Count;
}

bool AddMissingLink(SurveyTable& Entries, int32_t& Count, const WlanInfo& Link, const WlanWepInfo& Wep)
{
    for (int32_t i = 0; i < Count; ++i)
        if (ListsLink(Entries[i], Link)) return false;
    if (Count >= SurveyCapacity) return false;
    SiteSurveyEntry& entry = Entries[Count++];
    entry = SiteSurveyEntry{};
    std::memcpy(entry.SSID, Link.SSID, sizeof entry.SSID);
    entry.SSID_length = std::min<uint8_t>(Link.SSID_length, 32);
    std::memcpy(entry.Bssid, Link.Bssid, sizeof entry.Bssid);
    entry.Channel = Link.Channel;
    entry.OperatingModeID = Link.OperatingModeID;
    entry.WepEnabled = Wep.EncryptionLevel != 0 ? 1 : 0;
    entry.Signal = Link.SignalStrength;
    return true;
}

void SortSurveyEntries(SiteSurveyEntry* Entries, int32_t Count)
{
    for (int32_t i = 0; i + 1 < Count; ++i)
        for (int32_t j = i + 1; j < Count; ++j)
            if (Entries[i].Signal < Entries[j].Signal) std::swap(Entries[i], Entries[j]);
}
