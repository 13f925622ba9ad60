// The fixed-layout records exchanged with the chipset and NIC libraries and
// stored in the profile store and .cfg files. Their layouts are wire formats:
// every size and offset is checked below. Integers are little-endian, texts
// 8-bit and zero-terminated within their span unless said otherwise.
#pragma once
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// The link and configuration record (WLAN_Get_Info, WLAN_Set_Config).
struct WlanInfo {
    uint8_t OperatingModeID; // 1 infrastructure, 0 ad hoc
    uint8_t Channel;
    uint8_t SSID[32];        // not terminated
    uint8_t SSID_length;     // at most 32
    uint8_t RateIndex;
    uint8_t PowerMgmtMode;
    uint8_t PreambleType;
    uint16_t FragThreshold;
    uint16_t RtsThreshold;
    uint8_t Bssid[6];
    uint8_t StationState;    // WlanStationState on read; 11 on write
    uint8_t SignalStrength;  // 0-100
    uint8_t LinkQuality;     // 0-100
    uint8_t Reserved[26];    // passed through unchanged
    uint16_t NetBand;
    uint16_t Frequency;      // MHz
};

enum WlanStationState : uint8_t {
    WLAN_STATION_STATE_INITIALIZING = 0,
    WLAN_STATION_STATE_SCANNING = 1,
    WLAN_STATION_STATE_JOINNING = 2,
    WLAN_STATION_STATE_AUTHENTICATING = 3,
    WLAN_STATION_STATE_ASSOCIATING = 4,
    WLAN_STATION_STATE_READY = 5,
    WLAN_STATION_STATE_OUT_OF_RANGE = 6,
    WLAN_STATION_STATE_DISASSOCIATING = 7,
    WLAN_STATION_STATE_DIAUTHENTICATING = 8,
    WLAN_STATION_STATE_REASSOCIATING = 9,
    WLAN_STATION_STATE_FORCED_JOINNING = 10,
    WLAN_STATION_STATE_RECONFIGURING = 11,
    WLAN_STATION_STATE_FW_UPGRADE = 12,
    WLAN_STATION_STATE_FORCED_JOIN_FAILURE = 13,
    WLAN_STATION_STATE_RESETTING = 14,
    WLAN_STATION_STATE_RESET_PENDING = 15,
    WLAN_STATION_STATE_NOT_CONNECT_SAVED_PROFILE = 16,
    WLAN_STATION_STATE_NOT_AVAILABLE = 17,
};

// The WEP record (WLAN_Get_WEP_Info, WLAN_Set_WEP_Config, the key dialog).
struct WlanWepInfo {
    uint8_t WepKeyToUse;
    uint8_t WepMode;
    uint16_t AuthenticationType;
    uint8_t EncryptionLevel; // 0 none, 1 64-bit (5 bytes), 2 128-bit (13), 3 152-bit (16)
    uint8_t WepKey1[16];
    uint8_t WepKey2[16];
    uint8_t WepKey3[16];
    uint8_t WepKey4[16];
    char Passphrase[260];
    uint8_t PassphraseUsed;
};

// One access point or ad-hoc station in range (WLAN_Get_Site_Survey).
struct SiteSurveyEntry {
    uint8_t Channel;
    uint8_t SSID[32]; // not terminated
    uint8_t SSID_length;
    uint8_t Bssid[6];
    uint8_t Signal; // 0-100
    uint8_t WepEnabled;
    uint8_t Reserved[3];
    uint8_t OperatingModeID;
    uint8_t Band;  // 1 or 2: 5 GHz ("A"); else 2.4 GHz ("B")
    uint8_t Turbo;
};

// The TCP/IP settings of one network card (NIC library).
struct NicIpInfo {
    char cDescription[260];
    char cAdapterName[260];
    char cIpAdress[16];
    char cNetMask[16];
    char cGateway[16];
    int32_t blDhcpEnabled; // 1 DHCP, 0 static
    char cDhcpServer[16];
    uint8_t Mac[6];
    uint8_t Reserved;
    char cDnsServer[260]; // "first,second"
};

// One element of the NIC library's list of active network cards.
struct NicEntry {
    char Description[260];
    char Name[260];
    int32_t Active;
    uint8_t Reserved[4];
};

// The adapter record that WLAN_Open_Adapter fills; only these fields are read.
struct WlanAdapter {
    char Description[520];
    char AdapterName[260];
    char RegistryKeyPath[261];
    uint8_t ChipKind; // 2: the encryption display reads the driver parameters
    uint8_t Unused1042;
    char DeviceId[273];
    uint8_t MacAddress[6];
    uint8_t Reserved[12];
};

// One stored profile; its first 1191 bytes are the wireless part.
struct ProfileSetting {
    char ProfileName[260];
    char ProfileNameCopy[260];
    char SsidText[260];
    WlanInfo Wlan;
    WlanWepInfo Wep;
    uint8_t ProfileMode;  // 0 hexadecimal pairs, non-zero text
    uint8_t WepKeyFormat;
    uint8_t SetIP;        // 1: Ip is valid and applied on connect
    NicIpInfo Ip;
};

#pragma pack(pop)

constexpr size_t ProfileWirelessPartSize = 1191;
constexpr size_t ProfileListBufferSize = 1024;
constexpr int SurveyCapacity = 129;

#define CHECK_FIELD(Record, Field, Offset) \
    static_assert(offsetof(Record, Field) == (Offset), #Record "." #Field " is at " #Offset)

static_assert(sizeof(WlanInfo) == 81, "WlanInfo is 81 bytes");
CHECK_FIELD(WlanInfo, Channel, 1);
CHECK_FIELD(WlanInfo, SSID, 2);
CHECK_FIELD(WlanInfo, SSID_length, 34);
CHECK_FIELD(WlanInfo, RateIndex, 35);
CHECK_FIELD(WlanInfo, PowerMgmtMode, 36);
CHECK_FIELD(WlanInfo, PreambleType, 37);
CHECK_FIELD(WlanInfo, FragThreshold, 38);
CHECK_FIELD(WlanInfo, RtsThreshold, 40);
CHECK_FIELD(WlanInfo, Bssid, 42);
CHECK_FIELD(WlanInfo, StationState, 48);
CHECK_FIELD(WlanInfo, SignalStrength, 49);
CHECK_FIELD(WlanInfo, LinkQuality, 50);
CHECK_FIELD(WlanInfo, Reserved, 51);
CHECK_FIELD(WlanInfo, NetBand, 77);
CHECK_FIELD(WlanInfo, Frequency, 79);

static_assert(sizeof(WlanWepInfo) == 330, "WlanWepInfo is 330 bytes");
CHECK_FIELD(WlanWepInfo, WepMode, 1);
CHECK_FIELD(WlanWepInfo, AuthenticationType, 2);
CHECK_FIELD(WlanWepInfo, EncryptionLevel, 4);
CHECK_FIELD(WlanWepInfo, WepKey1, 5);
CHECK_FIELD(WlanWepInfo, WepKey2, 21);
CHECK_FIELD(WlanWepInfo, WepKey3, 37);
CHECK_FIELD(WlanWepInfo, WepKey4, 53);
CHECK_FIELD(WlanWepInfo, Passphrase, 69);
CHECK_FIELD(WlanWepInfo, PassphraseUsed, 329);

static_assert(sizeof(SiteSurveyEntry) == 48, "SiteSurveyEntry is 48 bytes");
CHECK_FIELD(SiteSurveyEntry, SSID, 1);
CHECK_FIELD(SiteSurveyEntry, SSID_length, 33);
CHECK_FIELD(SiteSurveyEntry, Bssid, 34);
CHECK_FIELD(SiteSurveyEntry, Signal, 40);
CHECK_FIELD(SiteSurveyEntry, WepEnabled, 41);
CHECK_FIELD(SiteSurveyEntry, Reserved, 42);
CHECK_FIELD(SiteSurveyEntry, OperatingModeID, 45);
CHECK_FIELD(SiteSurveyEntry, Band, 46);
CHECK_FIELD(SiteSurveyEntry, Turbo, 47);

static_assert(sizeof(NicIpInfo) == 855, "NicIpInfo is 855 bytes");
CHECK_FIELD(NicIpInfo, cAdapterName, 260);
CHECK_FIELD(NicIpInfo, cIpAdress, 520);
CHECK_FIELD(NicIpInfo, cNetMask, 536);
CHECK_FIELD(NicIpInfo, cGateway, 552);
CHECK_FIELD(NicIpInfo, blDhcpEnabled, 568);
CHECK_FIELD(NicIpInfo, cDhcpServer, 572);
CHECK_FIELD(NicIpInfo, Mac, 588);
CHECK_FIELD(NicIpInfo, Reserved, 594);
CHECK_FIELD(NicIpInfo, cDnsServer, 595);

static_assert(sizeof(NicEntry) == 528, "NicEntry is 528 bytes");
CHECK_FIELD(NicEntry, Name, 260);
CHECK_FIELD(NicEntry, Active, 520);
CHECK_FIELD(NicEntry, Reserved, 524);

static_assert(sizeof(WlanAdapter) == 1334, "WlanAdapter is 1334 bytes");
CHECK_FIELD(WlanAdapter, AdapterName, 520);
CHECK_FIELD(WlanAdapter, RegistryKeyPath, 780);
CHECK_FIELD(WlanAdapter, ChipKind, 1041);
CHECK_FIELD(WlanAdapter, DeviceId, 1043);
CHECK_FIELD(WlanAdapter, MacAddress, 1316);
CHECK_FIELD(WlanAdapter, Reserved, 1322);

static_assert(sizeof(ProfileSetting) == 2049, "ProfileSetting is 2049 bytes");
CHECK_FIELD(ProfileSetting, ProfileNameCopy, 260);
CHECK_FIELD(ProfileSetting, SsidText, 520);
CHECK_FIELD(ProfileSetting, Wlan, 780);
CHECK_FIELD(ProfileSetting, Wep, 861);
CHECK_FIELD(ProfileSetting, ProfileMode, 1191);
CHECK_FIELD(ProfileSetting, WepKeyFormat, 1192);
CHECK_FIELD(ProfileSetting, SetIP, 1193);
CHECK_FIELD(ProfileSetting, Ip, 1194);

#undef CHECK_FIELD
