// The site survey's table and the texts of its rows: what the chipset
// library left in the table made safe to read, the current link added when
// the survey lacks it, the order by signal, and each row's caption,
// sub-items, picture, tooltip and log line. Portable: no Windows call.
#pragma once
#include "drivers/records.h"

#include <array>
#include <cstdint>
#include <string>

using SurveyTable = SiteSurveyEntry[SurveyCapacity];

// The list shows at most this many rows (the strongest), and keeps a
// tooltip and a log line for each.
constexpr int SurveyListRows = 100;

// The sub-items of a row, after its caption (the SSID).
namespace SurveySubItem {
constexpr int Band = 0;           // "A" or "B"
constexpr int Signal = 1;         // "Good", "Fair" or "Poor"
constexpr int Bssid = 2;          // MacToText
constexpr int Infrastructure = 3; // "1" infrastructure, "0" ad hoc
constexpr int Wep = 4;            // "1" WEP required, "0" not
constexpr int Count = 5;
} // namespace SurveySubItem

// A row's picture is a base by network type and WEP (0 infrastructure,
// 3 infrastructure with WEP, 6 ad hoc, 9 ad hoc with WEP) plus a mark.
enum class SurveyMark : int32_t { None = 0, Failed = 1, Connected = 2 };
int32_t SurveyBaseImage(const SiteSurveyEntry& Entry);
SurveyMark MarkOfImage(int32_t Image); // None for a row without a picture

const char* SurveyBandText(uint8_t Band);
const char* SurveySignalText(uint8_t Signal);
// "AdHoc" for 0, "Infrastructure" for any other mode, as every other rule
// counts a mode that is not 0 as infrastructure.
const char* SurveyModeName(uint8_t OperatingModeID);

struct SurveyRowTexts {
    std::string Caption; // the SSID
    std::array<std::string, SurveySubItem::Count> SubItems;
    int32_t ImageIndex = 0; // unmarked
};
SurveyRowTexts SurveyRow(const SiteSurveyEntry& Entry);
std::string SurveyHintText(const SiteSurveyEntry& Entry);

// The time of a survey on a 12-hour clock, hours 12-23 counted from 0 PM:
// "\" 1:05:09 PM\"", quotes included.
std::string SurveyTimeText(int Hour, int Minute, int Second);
// Seven fields in double quotes, separated by commas: SSID, mode name,
// channel, WEP, turbo, BSSID and TimeText (already quoted). Quotes inside a
// field are doubled, so a comma-text split gives the fields back whatever
// bytes the SSID holds.
std::string SurveyLogLine(const SiteSurveyEntry& Entry, const std::string& TimeText);

// What the detail labels show of a log line.
struct SurveyDetails {
    std::string NetworkType, Channel, Wep, Mac, Time;
};
// False when the line yields no fields (an empty line).
bool ReadSurveyLogLine(const std::string& Line, SurveyDetails& Details);

// The library is given no capacity: keeps the count within the table and
// every SSID length within its 32 bytes, so that no reader goes past either.
int32_t CheckSurveyEntries(SurveyTable& Entries, int32_t Count);
// When the table lacks the link (ad hoc by SSID text, infrastructure by
// BSSID) and has room, appends it with the link's signal and true.
bool AddMissingLink(SurveyTable& Entries, int32_t& Count, const WlanInfo& Link, const WlanWepInfo& Wep);
// Strongest first. Equal signals keep the order this exchange leaves them
// in: 5, 7, 7 come out as the second, the third, then the first.
void SortSurveyEntries(SiteSurveyEntry* Entries, int32_t Count);
