#include "profile_file.h"
#include "drivers/record_text.h"
#include "profile_cipher.h"
#include "toolkit/format.h"
#include "wep_keys.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

const char* const Basic = "BASIC";
const char* const Wireless = "WLAN_Info";
const char* const Wep = "WLAN_Wep_Info";
const char* const Address = "WLAN_Ip_Address_Info";

uint8_t* KeySlot(WlanWepInfo& W, int Index)
{
    uint8_t* slots[] = {W.WepKey1, W.WepKey2, W.WepKey3, W.WepKey4};
    return slots[Index];
}

std::string KeyName(int Index) { return "WepKey" + IntToStr(Index + 1); }

std::string HexText(const uint8_t* Bytes, size_t Count)
{
    std::string text;
    for (size_t i = 0; i < Count; ++i) text += Format("%02X", Bytes[i]);
    return text;
}

[[noreturn]] void Refuse(const TCustomIniFile& File, const std::string& Why)
{
    throw EProfileFileError("The profile file \"" + File.FileName + "\" cannot be imported: " + Why + ".");
}

// A text of the file ends at a zero byte, and its line at a line break. A
// name or an SSID with such bytes is written without them, and whole in a
// key of its own as hexadecimal pairs, which older readers pass over; a
// text without them has no such key, and its file is as it always was.
bool TextCarries(char C) { return C != '\0' && C != '\r' && C != '\n'; }

std::string CarriedText(const std::string& Bytes)
{
    std::string text;
    std::copy_if(Bytes.begin(), Bytes.end(), std::back_inserter(text), TextCarries);
    return text;
}

std::string BytesKey(const char* Key) { return std::string(Key) + "_bytes"; }

// A stale key of an earlier export into the same file goes.
void WriteBytesKey(TCustomIniFile& File, const char* Section, const char* Key, const std::string& Bytes)
{
    if (std::all_of(Bytes.begin(), Bytes.end(), TextCarries))
        File.DeleteKey(Section, BytesKey(Key));
    else
        File.WriteString(Section, BytesKey(Key), HexText(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size()));
}

// Text, or the bytes that the key of bytes beside it carries: hexadecimal
// pairs that give Text once the bytes a text cannot carry are left out, so
// that a text changed by hand is not silently read as something else.
std::string ReadWhole(TCustomIniFile& File, const char* Section, const char* Key, const std::string& Text)
{
    const std::string hex = File.ReadString(Section, BytesKey(Key), "");
    if (hex.empty()) return Text;
    if (hex.size() % 2 != 0 || hex.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
        Refuse(File, "its " + BytesKey(Key) + " is not a text of hexadecimal pairs");
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) bytes += static_cast<char>(HexPairToByte(hex[i], hex[i + 1]));
    if (CarriedText(bytes) != Text) Refuse(File, "its " + BytesKey(Key) + " does not hold its " + Key);
    return bytes;
}

} // namespace

std::string WithCfgExtension(const std::string& FileName)
{
    return FileName.find(".cfg") == std::string::npos ? FileName + ".cfg" : FileName;
}

void WriteProfileFile(TCustomIniFile& File, const ProfileSetting& Profile, CfgIvSource& Ivs)
{
    const WlanInfo& wlan = Profile.Wlan;
    const WlanWepInfo& wep = Profile.Wep;
    // Texts go whole: an SSID or a name may start or end with blanks or
    // quotes, and hold zero bytes and line breaks.
    const std::string name = FieldText(Profile.ProfileName);
    File.WriteStringWhole(Basic, "ProfileName", CarriedText(name));
    WriteBytesKey(File, Basic, "ProfileName", name);
    File.WriteInteger(Basic, "ProfileMode", Profile.ProfileMode);
    File.WriteInteger(Basic, "WepKeyFormat", Profile.WepKeyFormat);
    File.WriteInteger(Basic, "SetIP", Profile.SetIP);

    const std::string ssid = SsidBytes(wlan.SSID, wlan.SSID_length);
    File.WriteStringWhole(Wireless, "SSID", CarriedText(ssid));
    File.WriteInteger(Wireless, "SSID_length", wlan.SSID_length);
    WriteBytesKey(File, Wireless, "SSID", ssid);
    File.WriteInteger(Wireless, "OperatingModeID", wlan.OperatingModeID);
    File.WriteInteger(Wireless, "Channel", wlan.Channel);
    File.WriteInteger(Wireless, "RateIndex", wlan.RateIndex);
    File.WriteInteger(Wireless, "PowerMgmtMode", wlan.PowerMgmtMode);
    File.WriteInteger(Wireless, "PreambleType", wlan.PreambleType);
    File.WriteInteger(Wireless, "NetBand", wlan.NetBand);

    // A level without keys (0, or one this utility does not know) writes empty keys.
    const size_t size = WepKeySize(static_cast<WepLevel>(wep.EncryptionLevel));
    File.WriteInteger(Wep, "EncryptionLevel", wep.EncryptionLevel);
    File.WriteInteger(Wep, "WepKeyToUse", wep.EncryptionLevel == 0 ? 0 : wep.WepKeyToUse);
    WlanWepInfo keys = wep;
    for (int k = 0; k < 4; ++k) {
        std::string text;
        if (size > 0) {
            uint8_t frame[WepFrameHeader + 16];
            const uint8_t iv[3] = {Ivs.Next(), Ivs.Next(), Ivs.Next()};
            std::memcpy(frame + WepFrameHeader, KeySlot(keys, k), size);
            WepEncapsulate(frame, size, 0, CfgFixedKey, iv, size);
            text = HexText(frame, WepFrameHeader + size);
        }
        File.WriteString(Wep, KeyName(k), text);
    }

    const NicIpInfo& ip = Profile.Ip;
    File.WriteStringWhole(Address, "cIpAddress", FieldText(ip.cIpAdress));
    File.WriteStringWhole(Address, "cNetMask", FieldText(ip.cNetMask));
    File.WriteStringWhole(Address, "cGateway", FieldText(ip.cGateway));
    File.WriteStringWhole(Address, "cDnsServer", FieldText(ip.cDnsServer));
    File.WriteInteger(Address, "blDhcpEnabled", ip.blDhcpEnabled);
}

ProfileSetting ReadProfileFile(TCustomIniFile& File)
{
    auto text = [&File](const char* Section, const char* Key, const char* Default) {
        return File.ReadString(Section, Key, Default);
    };
    auto integer = [&](const char* Section, const char* Key, const char* Default) {
        return StrToInt(text(Section, Key, Default));
    };

    ProfileSetting profile{};
    const std::string name = ReadWhole(File, Basic, "ProfileName", text(Basic, "ProfileName", ""));
    if (name.find('\0') != std::string::npos)
        Refuse(File, "its ProfileName_bytes holds a zero byte, which ends a name");
    CopyText(profile.ProfileName, name);
    profile.ProfileMode = static_cast<uint8_t>(integer(Basic, "ProfileMode", "0"));
    profile.WepKeyFormat = static_cast<uint8_t>(integer(Basic, "WepKeyFormat", "0"));
    profile.SetIP = static_cast<uint8_t>(integer(Basic, "SetIP", "0"));

    // The SSID is as long as the file says, but no longer than its text or
    // the field's 32 bytes; a file without a length counts the text.
    WlanInfo& wlan = profile.Wlan;
    const std::string ssid = ReadWhole(File, Wireless, "SSID", text(Wireless, "SSID", ""));
    const int32_t length = integer(Wireless, "SSID_length", IntToStr(ssid.size()).c_str());
    wlan.SSID_length = static_cast<uint8_t>(std::clamp<int64_t>(length, 0, std::min(ssid.size(), sizeof wlan.SSID)));
    std::memcpy(wlan.SSID, ssid.data(), wlan.SSID_length);
    wlan.OperatingModeID = static_cast<uint8_t>(integer(Wireless, "OperatingModeID", "1"));
    wlan.Channel = static_cast<uint8_t>(integer(Wireless, "Channel", "6"));
    wlan.RateIndex = static_cast<uint8_t>(integer(Wireless, "RateIndex", "4"));
    wlan.PowerMgmtMode = static_cast<uint8_t>(integer(Wireless, "PowerMgmtMode", "0"));
    wlan.PreambleType = static_cast<uint8_t>(integer(Wireless, "PreambleType", "0"));
    wlan.NetBand = static_cast<uint16_t>(integer(Wireless, "NetBand", "0"));

    WlanWepInfo& wep = profile.Wep;
    const int32_t level = integer(Wep, "EncryptionLevel", "0");
    if (level < 0 || level > 3) Refuse(File, "its encryption level " + IntToStr(level) + " is not one of 0 to 3");
    wep.EncryptionLevel = static_cast<uint8_t>(level);
    wep.WepKeyToUse = static_cast<uint8_t>(integer(Wep, "WepKeyToUse", "0"));
    const size_t size = WepKeySize(static_cast<WepLevel>(level));
    for (int k = 0; k < 4; ++k) {
        const std::string keyText = text(Wep, KeyName(k).c_str(), "");
        if (size == 0) continue;
        const size_t digits = 2 * (WepFrameHeader + size);
        if (keyText.size() < digits)
            Refuse(File, "its " + KeyName(k) + " holds fewer than " + IntToStr(digits) + " hexadecimal digits");
        uint8_t frame[WepFrameHeader + 16];
        for (size_t i = 0; i < WepFrameHeader + size; ++i) frame[i] = HexPairToByte(keyText[2 * i], keyText[2 * i + 1]);
        if (WepFrameKeyIndex(frame) != 0 || !WepDecapsulate(frame, WepFrameHeader + size, CfgFixedKey, size))
            Refuse(File, "its " + KeyName(k) + " names key index " + IntToStr(WepFrameKeyIndex(frame)) +
                   ", which profile files do not use");
        std::memcpy(KeySlot(wep, k), frame + WepFrameHeader, size);
    }

    NicIpInfo& ip = profile.Ip;
    CopyText(ip.cIpAdress, text(Address, "cIpAddress", ""));
    CopyText(ip.cNetMask, text(Address, "cNetMask", ""));
    CopyText(ip.cGateway, text(Address, "cGateway", ""));
    CopyText(ip.cDnsServer, text(Address, "cDnsServer", ""));
    ip.blDhcpEnabled = integer(Address, "blDhcpEnabled", "");

    CopyText(profile.ProfileNameCopy, name);
    CopyText(profile.SsidText, SsidToText(wlan.SSID, wlan.SSID_length));
    return profile;
}
