// The stand-in libraries, loaded with LoadLibraryA and bound with
// GetProcAddress as the utility binds them, each test in a world of its own.
#include "vantra/drivers/chipset_api.h"
#include "vantra/drivers/nic_api.h"
#include "vantra/drivers/wep_api.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string ExeFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of("\\/") + 1);
}

std::string BinFolder()
{
    return ExeFolder() + STANDINS_BIN + "\\";
}

// A library loaded as the utility loads it; `missing` names the entry points
// that it does not export.
class Library {
public:
    explicit Library(const char* file) : handle(LoadLibraryA((BinFolder() + file).c_str())) {}
    ~Library()
    {
        if (handle) FreeLibrary(handle);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    template <class Function> Function Get(const char* name)
    {
        auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
        if (!function) missing += std::string(name) + " ";
        return function;
    }
    HMODULE handle;
    std::string missing;
};

#define ENTRY(name) const name##_t name = Get<name##_t>(#name)

struct Chipset : Library {
    Chipset() : Library("Belgrin.dll") {}
    ENTRY(WLAN_Open_Adapter);
    ENTRY(WLAN_Close_Adapter);
    ENTRY(WLAN_Get_Info);
    ENTRY(WLAN_Get_WEP_Info);
    ENTRY(WLAN_Get_Site_Survey);
    ENTRY(WLAN_Get_Link_Speed);
    ENTRY(WLAN_Get_Mac_Info);
    ENTRY(WLAN_Set_Config);
    ENTRY(WLAN_Set_WEP_Config);
    ENTRY(WLAN_Read_ProfileList);
    ENTRY(WLAN_Write_ProfileList);
    ENTRY(WLAN_Read_Setting_From_ProfileRegistry);
    ENTRY(WLAN_Read_Setting_From_ProfileRegistry_Ex);
    ENTRY(WLAN_Write_Setting_To_ProfileRegistry_Ex);
    ENTRY(WLAN_Read_Setting_From_DriverRegistry);
    ENTRY(WLAN_Write_Setting_To_DriverRegistry);
};

// The chipset library with the adapter opened.
struct OpenChipset : Chipset {
    OpenChipset() { opened = missing.empty() && WLAN_Open_Adapter(&adapter) == 1; }
    WlanAdapter adapter{};
    bool opened;
};

struct Nic : Library {
    explicit Nic(const char* file = "Nicorra.dll") : Library(file) {}
    ENTRY(NIC_OpenDeviceMgr);
    ENTRY(NIC_CloseDeviceMgr);
    ENTRY(NIC_GetActiveNICs);
    ENTRY(NIC_GetNicIPAddressDetail);
    ENTRY(NIC_GetDHCPStatusfor9x);
    ENTRY(NIC_SetIpInfo);
    ENTRY(NIC_EnableDHCP9x);
    ENTRY(NIC_EnableStaticIP9x);
    ENTRY(NIC_EnableDnsServer9x);
    ENTRY(NIC_GetNicErrorCode);
    ENTRY(NIC_PropertyChange);
    ENTRY(NIC_AdapterIsDisable);
    ENTRY(NIC_ChangeNicStatus);
    ENTRY(NIC_NicIpReleaseAddress);
    ENTRY(NIC_NicIpRenewAddress);
    ENTRY(NIC_GetErrorMessage);
};

struct WepLibrary : Library {
    WepLibrary() : Library("KALWEP.DLL") {}
    ENTRY(Wep_Init);
    ENTRY(Wep_GenWepKeys);
    ENTRY(Wep_Encrypt);
    ENTRY(Wep_Decrypt);
};

// A record followed by bytes that must stay as they were.
template <class Record, size_t Count = 1> struct Guarded {
    Record records[Count];
    uint8_t canary[64];
    Guarded() { std::memset(static_cast<void*>(this), 0xCC, sizeof *this); }
    Record& operator*() { return records[0]; }
    Record* operator->() { return records; }
    bool Intact() const
    {
        for (uint8_t b : canary)
            if (b != 0xCC) return false;
        return true;
    }
};

bool AllBytes(const void* bytes, size_t count, uint8_t value)
{
    for (size_t i = 0; i < count; ++i)
        if (static_cast<const uint8_t*>(bytes)[i] != value) return false;
    return true;
}

std::string ReadFileText(const std::string& path)
{
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
    CloseHandle(file);
    return text;
}

void WriteFileText(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD n = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(file);
}

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + "\\");
            else
                DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

const char* const AdapterName = "{6F1D0A2B-0000-4000-8000-0000000000A1}";
const uint8_t AdapterMac[6] = {0x02, 0x1F, 0x3A, 0x61, 0x0B, 0x27};
const uint8_t OfficeMac[6] = {0x02, 0x4E, 0x11, 0x9C, 0x20, 0x5A};
const uint8_t HarbourBssid[6] = {0x02, 0x0F, 0x3D, 0x4A, 0x11, 0x20};
const uint8_t KestrelKey[5] = {0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

class StandinsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        static int serial = 0;
        std::string unique = "standins-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        folder = std::string(temp) + unique + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        registryKey = "SOFTWARE\\VantraStandinsTest\\" + unique;
        SetEnvironmentVariableA("VANTRA_WORLD", (folder + "world.ini").c_str());
        WriteWorld();
    }

    void TearDown() override
    {
        SetEnvironmentVariableA("VANTRA_WORLD", nullptr);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, registryKey.c_str());
        RemoveTree(folder);
    }

    // The world file: [World] keys, then the adapter, two other cards, the
    // DHCP lease and four cells, then `more`.
    void WriteWorld(const std::string& worldKeys = "", const std::string& more = "", bool adapter = true)
    {
        // The first of two equal keys counts: the test's own come first.
        std::string text = "[World]\r\n" + worldKeys +
                           "State=state\r\nLog=calls.log\r\nJoinMs=0\r\nRestartMs=200\r\n"
                           "[Adapter]\r\nPresent=" + (adapter ? "1" : "0") +
                           "\r\nDescription=Ferovane-Q PCI Adapter 802.11g\r\nAdapterName=" + AdapterName +
                           "\r\nRegistryKeyPath=" + registryKey +
                           "\r\nChipKind=2\r\nDeviceId=PCI\\VEN_1F3A&DEV_0611\r\nMac=02-1F-3A-61-0B-27\r\n"
                           "Dhcp=1\r\n"
                           "[Card1]\r\nDescription=Orlan Fast Ethernet Adapter\r\nName={CARD-ONE}\r\n"
                           "Mac=02-4E-11-9C-20-5A\r\nDhcp=0\r\nIp=10.0.0.23\r\nMask=255.255.255.0\r\n"
                           "Gateway=10.0.0.1\r\nDns=10.0.0.1\r\n"
                           "[Card2]\r\nDescription=Ferovane-Q PCI Adapter (old)\r\nName={CARD-TWO}\r\n"
                           "Mac=02-00-00-00-00-02\r\nActive=0\r\n"
                           "[Dhcp]\r\nIp=192.168.1.105\r\nMask=255.255.255.0\r\nGateway=192.168.1.1\r\n"
                           "Dns=192.168.1.1,192.168.1.2\r\nServer=192.168.1.1\r\n"
                           "[Cell1]\r\nSSID=harbour\r\nBSSID=02-0F-3D-4A-11-20\r\nMode=1\r\nChannel=11\r\n"
                           "Signal=80\r\n"
                           "[Cell2]\r\nSSID=Kestrel\r\nBSSID=02-1C-10-7E-42-93\r\nMode=1\r\nChannel=6\r\n"
                           "Signal=60\r\nWep=1\r\nKey=1A2B3C4D5E\r\n"
                           "[Cell3]\r\nSSID=lanparty\r\nBSSID=02-48-C9-33-A1-0E\r\nMode=0\r\nChannel=3\r\n"
                           "Signal=30\r\n"
                           "[Cell4]\r\nSSID=orsa-5g\r\nBSSID=02-3A-71-D2-0F-66\r\nMode=1\r\nChannel=36\r\n"
                           "Band=1\r\nSignal=10\r\nTurbo=1\r\n" +
                           more;
        WriteFileText(folder + "world.ini", text);
    }

    std::vector<std::string> LogLines(const std::string& prefix) const
    {
        std::vector<std::string> lines;
        std::string text = ReadFileText(folder + "calls.log");
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
            start = end + 2;
        }
        return lines;
    }

    std::string folder, registryKey;
};

WlanInfo Config(const char* ssid, uint8_t mode)
{
    WlanInfo info{};
    info.OperatingModeID = mode;
    info.Channel = 6;
    info.SSID_length = static_cast<uint8_t>(std::strlen(ssid));
    std::memcpy(info.SSID, ssid, info.SSID_length);
    info.RateIndex = 4;
    info.FragThreshold = 2346;
    info.RtsThreshold = 2347;
    info.StationState = WLAN_STATION_STATE_RECONFIGURING;
    info.NetBand = 5;
    return info;
}

WlanWepInfo Wep(uint8_t level, const uint8_t* key)
{
    WlanWepInfo wep{};
    wep.WepMode = 1;
    wep.EncryptionLevel = level;
    if (key) std::memcpy(wep.WepKey1, key, level == 1 ? 5 : level == 2 ? 13 : 16);
    return wep;
}

ProfileSetting Profile(const char* name, const char* ssid)
{
    ProfileSetting profile{};
    std::strcpy(profile.ProfileName, name);
    std::strcpy(profile.SsidText, ssid);
    profile.Wlan = Config(ssid, 1);
    profile.SetIP = 1;
    std::strcpy(profile.Ip.cIpAdress, "192.168.7.9");
    profile.Ip.Mac[5] = 0x42;
    return profile;
}

std::string RegistryText(const std::string& key, const char* value)
{
    char text[64] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "<missing>";
    return text;
}

// ---------------------------------------------------------------- chipset

TEST_F(StandinsTest, OpenFillsTheAdapterRecordAndNothingBeyond)
{
    Chipset chipset;
    ASSERT_EQ(chipset.missing, "");
    Guarded<WlanAdapter> adapter;
    ASSERT_EQ(chipset.WLAN_Open_Adapter(&*adapter), 1);
    EXPECT_TRUE(adapter.Intact());
    EXPECT_STREQ(adapter->Description, "Ferovane-Q PCI Adapter 802.11g");
    EXPECT_STREQ(adapter->AdapterName, AdapterName);
    EXPECT_EQ(adapter->RegistryKeyPath, registryKey);
    EXPECT_EQ(adapter->ChipKind, 2);
    EXPECT_STREQ(adapter->DeviceId, "PCI\\VEN_1F3A&DEV_0611");
    EXPECT_EQ(std::memcmp(adapter->MacAddress, AdapterMac, 6), 0);
    EXPECT_TRUE(AllBytes(adapter->Reserved, sizeof adapter->Reserved, 0));

    Guarded<uint8_t, 6> mac;
    ASSERT_EQ(chipset.WLAN_Get_Mac_Info(mac.records), 1);
    EXPECT_EQ(std::memcmp(mac.records, AdapterMac, 6), 0);
    EXPECT_TRUE(mac.Intact());
}

TEST_F(StandinsTest, NoAdapterNoOpenAndClosedAdapterRefusesLinkCalls)
{
    WriteWorld("", "", false);
    Chipset chipset;
    ASSERT_EQ(chipset.missing, "");
    WlanAdapter adapter{};
    EXPECT_EQ(chipset.WLAN_Open_Adapter(&adapter), 0);
    WlanInfo info{};
    EXPECT_EQ(chipset.WLAN_Get_Info(&info), 0);
    EXPECT_EQ(chipset.WLAN_Close_Adapter(), 1);

    WriteWorld();
    ASSERT_EQ(chipset.WLAN_Open_Adapter(&adapter), 1);
    EXPECT_EQ(chipset.WLAN_Get_Info(&info), 1);
    EXPECT_EQ(chipset.WLAN_Close_Adapter(), 1);
    EXPECT_EQ(chipset.WLAN_Get_Info(&info), 0);
}

TEST_F(StandinsTest, LinkRecordsAreFilledAtTheirExactSizes)
{
    OpenChipset chipset;
    ASSERT_TRUE(chipset.opened) << chipset.missing;

    Guarded<WlanInfo> info;
    ASSERT_EQ(chipset.WLAN_Get_Info(&*info), 1);
    EXPECT_TRUE(info.Intact());
    EXPECT_EQ(info->StationState, WLAN_STATION_STATE_SCANNING); // nothing configured yet

    WlanWepInfo wep = Wep(1, KestrelKey);
    std::strcpy(wep.Passphrase, "Kestrel");
    wep.PassphraseUsed = 1;
    ASSERT_EQ(chipset.WLAN_Set_WEP_Config(&wep), 1);
    Guarded<WlanWepInfo> read;
    ASSERT_EQ(chipset.WLAN_Get_WEP_Info(&*read), 1);
    EXPECT_TRUE(read.Intact());
    EXPECT_EQ(std::memcmp(&*read, &wep, sizeof wep), 0);

    WlanWepInfo bad = Wep(4, nullptr);
    EXPECT_EQ(chipset.WLAN_Set_WEP_Config(&bad), 0);
    WlanInfo tooLong = Config("x", 1);
    tooLong.SSID_length = 33;
    EXPECT_EQ(chipset.WLAN_Set_Config(&tooLong), 0);
}

TEST_F(StandinsTest, JoinsAMatchingCellKeepingTheReservedBytes)
{
    OpenChipset chipset;
    ASSERT_TRUE(chipset.opened) << chipset.missing;

    WlanInfo config = Config("harbour", 1);
    for (int i = 0; i < 26; ++i) config.Reserved[i] = static_cast<uint8_t>(0xA0 + i);
    WlanWepInfo open = Wep(0, nullptr);
    ASSERT_EQ(chipset.WLAN_Set_Config(&config), 1);
    ASSERT_EQ(chipset.WLAN_Set_WEP_Config(&open), 1);
    WlanInfo link{};
    ASSERT_EQ(chipset.WLAN_Get_Info(&link), 1);
    EXPECT_EQ(link.StationState, WLAN_STATION_STATE_READY);
    EXPECT_EQ(std::memcmp(link.Bssid, HarbourBssid, 6), 0);
    EXPECT_EQ(link.Channel, 11); // the access point's, not the configured one
    EXPECT_EQ(link.Frequency, 2462);
    EXPECT_NEAR(link.SignalStrength, 80, 3);
    EXPECT_GT(link.LinkQuality, 0);
    EXPECT_EQ(std::memcmp(link.Reserved, config.Reserved, 26), 0);
    EXPECT_EQ(std::memcmp(link.SSID, "harbour", 7), 0);
    EXPECT_EQ(link.SSID_length, 7);
    EXPECT_EQ(link.FragThreshold, 2346);
    EXPECT_EQ(link.RtsThreshold, 2347);
    EXPECT_EQ(link.NetBand, 5);
    EXPECT_EQ(chipset.WLAN_Get_Link_Speed(), 540);

    // Writing the read record back keeps its reserved bytes too.
    link.StationState = WLAN_STATION_STATE_RECONFIGURING;
    ASSERT_EQ(chipset.WLAN_Set_Config(&link), 1);
    WlanInfo again{};
    ASSERT_EQ(chipset.WLAN_Get_Info(&again), 1);
    EXPECT_EQ(std::memcmp(again.Reserved, config.Reserved, 26), 0);
}

TEST_F(StandinsTest, JoinsOnlyWithTheRightModeAndWepKey)
{
    OpenChipset chipset;
    ASSERT_TRUE(chipset.opened) << chipset.missing;
    auto state = [&] {
        WlanInfo link{};
        EXPECT_EQ(chipset.WLAN_Get_Info(&link), 1);
        return link.StationState;
    };

    WlanInfo kestrel = Config("Kestrel", 1);
    ASSERT_EQ(chipset.WLAN_Set_Config(&kestrel), 1);
    WlanWepInfo none = Wep(0, nullptr);
    ASSERT_EQ(chipset.WLAN_Set_WEP_Config(&none), 1);
    EXPECT_EQ(state(), WLAN_STATION_STATE_SCANNING) << "WEP required";
    const uint8_t wrongKey[5] = {1, 2, 3, 4, 5};
    WlanWepInfo wrong = Wep(1, wrongKey);
    ASSERT_EQ(chipset.WLAN_Set_WEP_Config(&wrong), 1);
    EXPECT_EQ(state(), WLAN_STATION_STATE_SCANNING) << "wrong key";
    EXPECT_EQ(chipset.WLAN_Get_Link_Speed(), 0);
    WlanWepInfo right = Wep(1, KestrelKey);
    ASSERT_EQ(chipset.WLAN_Set_WEP_Config(&right), 1);
    EXPECT_EQ(state(), WLAN_STATION_STATE_READY);

    WlanInfo adhocAsInfra = Config("lanparty", 1);
    ASSERT_EQ(chipset.WLAN_Set_Config(&adhocAsInfra), 1);
    ASSERT_EQ(chipset.WLAN_Set_WEP_Config(&none), 1);
    EXPECT_EQ(state(), WLAN_STATION_STATE_SCANNING) << "the cell is ad hoc";
    WlanInfo adhoc = Config("lanparty", 0);
    ASSERT_EQ(chipset.WLAN_Set_Config(&adhoc), 1);
    EXPECT_EQ(state(), WLAN_STATION_STATE_READY);

    WlanInfo absent = Config("nowhere", 1);
    ASSERT_EQ(chipset.WLAN_Set_Config(&absent), 1);
    EXPECT_EQ(state(), WLAN_STATION_STATE_SCANNING);
}

TEST_F(StandinsTest, JoinPassesThroughScanningAndAuthenticatingToReady)
{
    WriteWorld("JoinMs=60000\r\n");
    OpenChipset chipset;
    ASSERT_TRUE(chipset.opened) << chipset.missing;
    WlanInfo config = Config("harbour", 1);
    ASSERT_EQ(chipset.WLAN_Set_Config(&config), 1);
    WlanInfo link{};
    ASSERT_EQ(chipset.WLAN_Get_Info(&link), 1);
    EXPECT_EQ(link.StationState, WLAN_STATION_STATE_SCANNING);
    EXPECT_TRUE(AllBytes(link.Bssid, 6, 0));
    EXPECT_EQ(link.SignalStrength, 0);

    // A short join, watched closely: the states come in order and end ready.
    WriteWorld("JoinMs=1500\r\n");
    config = Config("harbour", 1);
    ASSERT_EQ(chipset.WLAN_Set_Config(&config), 1);
    const uint8_t order[] = {WLAN_STATION_STATE_SCANNING, WLAN_STATION_STATE_AUTHENTICATING,
                             WLAN_STATION_STATE_ASSOCIATING, WLAN_STATION_STATE_READY};
    std::vector<uint8_t> seen;
    DWORD start = GetTickCount();
    while (seen.empty() || seen.back() != WLAN_STATION_STATE_READY) {
        ASSERT_LT(GetTickCount() - start, 60000u) << "never ready";
        ASSERT_EQ(chipset.WLAN_Get_Info(&link), 1);
        if (seen.empty() || seen.back() != link.StationState) seen.push_back(link.StationState);
        Sleep(5);
    }
    size_t next = 0;
    for (uint8_t state : seen) {
        while (next < 4 && order[next] != state) ++next;
        ASSERT_LT(next, 4u) << "state " << int(state) << " out of order";
    }
    EXPECT_EQ(std::memcmp(link.Bssid, HarbourBssid, 6), 0);
}

TEST_F(StandinsTest, SurveyListsTheCellsAndNeverMoreThanAHundred)
{
    OpenChipset chipset;
    ASSERT_TRUE(chipset.opened) << chipset.missing;

    Guarded<SiteSurveyEntry, 100> entries;
    int32_t count = -1;
    ASSERT_EQ(chipset.WLAN_Get_Site_Survey(entries.records, &count, 1), 1);
    ASSERT_EQ(count, 4);
    const SiteSurveyEntry& kestrel = entries.records[1];
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(kestrel.SSID), kestrel.SSID_length), "Kestrel");
    EXPECT_EQ(kestrel.Channel, 6);
    EXPECT_EQ(kestrel.WepEnabled, 1);
    EXPECT_EQ(kestrel.OperatingModeID, 1);
    EXPECT_NEAR(kestrel.Signal, 60, 3);
    EXPECT_TRUE(AllBytes(kestrel.Reserved, 3, 0));
    EXPECT_EQ(entries.records[2].OperatingModeID, 0);
    EXPECT_EQ(entries.records[3].Band, 1);
    EXPECT_EQ(entries.records[3].Turbo, 1);
    EXPECT_TRUE(AllBytes(&entries.records[4], sizeof(SiteSurveyEntry), 0xCC));

    std::string many;
    for (int i = 5; i <= 140; ++i)
        many += "[Cell" + std::to_string(i) + "]\r\nSSID=crowd" + std::to_string(i) + "\r\nBSSID=02-00-00-00-01-" +
                std::to_string(i % 90 + 10) + "\r\nSignal=40\r\n";
    WriteWorld("", many);
    ASSERT_EQ(chipset.WLAN_Get_Site_Survey(entries.records, &count, 1), 1);
    EXPECT_EQ(count, 100);
    EXPECT_TRUE(entries.Intact());
}

std::string FirstSsid(OpenChipset& chipset)
{
    SiteSurveyEntry entries[100];
    int32_t count = 0;
    if (chipset.WLAN_Get_Site_Survey(entries, &count, 1) != 1 || count == 0) return "<no survey>";
    return std::string(reinterpret_cast<const char*>(entries[0].SSID), entries[0].SSID_length);
}

TEST_F(StandinsTest, TheWorldIsReadAgainOnlyWhenItsTimeStampChanges)
{
    OpenChipset chipset;
    ASSERT_TRUE(chipset.opened) << chipset.missing;
    ASSERT_EQ(FirstSsid(chipset), "harbour");
    const std::string file = folder + "world.ini";
    auto stamp = [&](FILETIME* read, const FILETIME* write) {
        HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        if (read) GetFileTime(handle, nullptr, nullptr, read);
        if (write) SetFileTime(handle, nullptr, nullptr, write);
        CloseHandle(handle);
    };
    FILETIME before{};
    stamp(&before, nullptr);

    // The same size and the old time stamp: the world read before stands.
    std::string text = ReadFileText(file);
    text.replace(text.find("SSID=harbour"), 12, "SSID=Harbour");
    WriteFileText(file, text);
    stamp(nullptr, &before);
    EXPECT_EQ(FirstSsid(chipset), "harbour");

    FILETIME later = before;
    later.dwHighDateTime += 1; // about seven minutes on
    stamp(nullptr, &later);
    EXPECT_EQ(FirstSsid(chipset), "Harbour");
}

TEST_F(StandinsTest, TheWorldFileReadsAsTheProfileApiReadsIt)
{
    WriteWorld("", "[adapter]\r\nDescription=a second section of the same name\r\n");
    std::string text = ReadFileText(folder + "world.ini");
    // Names in any case with blanks around them, a quoted value, and of two
    // equal sections or keys the first.
    text.replace(text.find("Description=Ferovane-Q PCI Adapter 802.11g\r\n"), 44,
                 "  DESCRIPTION =  \"Ferovane-Q PCI Adapter 802.11g\" \r\nChipKind=7\r\n");
    text.replace(text.find("[Cell1]"), 7, "[ cell1 ]");
    WriteFileText(folder + "world.ini", text);
    OpenChipset chipset;
    ASSERT_TRUE(chipset.opened) << chipset.missing;
    EXPECT_STREQ(chipset.adapter.Description, "Ferovane-Q PCI Adapter 802.11g");
    EXPECT_EQ(chipset.adapter.ChipKind, 7);
    EXPECT_EQ(FirstSsid(chipset), "harbour");
}

TEST_F(StandinsTest, TheDefaultWorldIsALivelyNeighbourhood)
{
    SetEnvironmentVariableA("VANTRA_WORLD", nullptr); // standins.ini beside the libraries
    OpenChipset chipset;
    ASSERT_TRUE(chipset.opened) << chipset.missing;
    EXPECT_EQ(std::strncmp(chipset.adapter.Description, "Ferovane-Q PCI Adapter", 22), 0);
    SiteSurveyEntry entries[100];
    int32_t count = 0;
    ASSERT_EQ(chipset.WLAN_Get_Site_Survey(entries, &count, 1), 1);
    int withWep = 0, adhoc = 0, weakest = 100, strongest = 0;
    for (int i = 0; i < count; ++i) {
        withWep += entries[i].WepEnabled != 0;
        adhoc += entries[i].OperatingModeID == 0;
        weakest = std::min<int>(weakest, entries[i].Signal);
        strongest = std::max<int>(strongest, entries[i].Signal);
    }
    EXPECT_GE(count, 5);
    EXPECT_GE(withWep, 1);
    EXPECT_GE(count - withWep, 2);
    EXPECT_EQ(adhoc, 1);
    EXPECT_LT(weakest, 20);
    EXPECT_GE(strongest, 50);
    EXPECT_EQ(chipset.WLAN_Close_Adapter(), 1);
}

TEST_F(StandinsTest, ProfileStoreSurvivesAReload)
{
    ProfileSetting home = Profile("Home", "harbour");
    home.Wep = Wep(1, KestrelKey);
    ProfileSetting work = Profile("Work", "Kestrel");
    for (size_t i = 0; i < sizeof home.Ip.cDnsServer - 1; ++i) work.Ip.cDnsServer[i] = 'a' + i % 26;
    const char* list = "\"Home\",\"Work\"";
    {
        Chipset chipset;
        ASSERT_EQ(chipset.missing, "");
        ASSERT_EQ(chipset.WLAN_Write_ProfileList(list), 1);
        ASSERT_EQ(chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex(&home), 1);
        ASSERT_EQ(chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex(&work), 1);
        ASSERT_EQ(chipset.WLAN_Write_Setting_To_DriverRegistry(&work), 1);
        home.Wlan.Channel = 9; // a second write replaces the record
        ASSERT_EQ(chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex(&home), 1);
    }
    Chipset chipset;
    ASSERT_EQ(chipset.missing, "");

    Guarded<char, ProfileListBufferSize> buffer;
    std::memset(buffer.records, 0, ProfileListBufferSize);
    ASSERT_EQ(chipset.WLAN_Read_ProfileList(buffer.records), 1);
    EXPECT_STREQ(buffer.records, list);
    EXPECT_TRUE(buffer.Intact());

    Guarded<ProfileSetting> read;
    std::memset(&*read, 0, sizeof *read);
    std::strcpy(read->ProfileName, "Work");
    ASSERT_EQ(chipset.WLAN_Read_Setting_From_ProfileRegistry_Ex(&*read), 1);
    EXPECT_EQ(std::memcmp(&*read, &work, sizeof work), 0);
    EXPECT_TRUE(read.Intact());

    // The plain read fills the wireless part alone.
    std::memset(static_cast<void*>(&read), 0xCC, sizeof read);
    std::memset(read->ProfileName, 0, sizeof read->ProfileName);
    std::strcpy(read->ProfileName, "Home");
    ASSERT_EQ(chipset.WLAN_Read_Setting_From_ProfileRegistry(&*read), 1);
    EXPECT_EQ(std::memcmp(&*read, &home, ProfileWirelessPartSize), 0);
    EXPECT_EQ(read->Wlan.Channel, 9);
    EXPECT_TRUE(AllBytes(reinterpret_cast<uint8_t*>(&*read) + ProfileWirelessPartSize,
                         sizeof(ProfileSetting) - ProfileWirelessPartSize + sizeof read.canary, 0xCC));

    std::memset(static_cast<void*>(&read), 0xCC, sizeof read);
    ASSERT_EQ(chipset.WLAN_Read_Setting_From_DriverRegistry(&*read), 1);
    EXPECT_EQ(std::memcmp(&*read, &work, ProfileWirelessPartSize), 0);
    EXPECT_TRUE(AllBytes(reinterpret_cast<uint8_t*>(&*read) + ProfileWirelessPartSize,
                         sizeof(ProfileSetting) - ProfileWirelessPartSize, 0xCC));

    // An unknown name leaves the record alone; a list too long for the
    // utility's buffer is refused and the stored one kept.
    ProfileSetting unknown{};
    std::strcpy(unknown.ProfileName, "Nowhere");
    EXPECT_EQ(chipset.WLAN_Read_Setting_From_ProfileRegistry_Ex(&unknown), 0);
    EXPECT_TRUE(AllBytes(reinterpret_cast<uint8_t*>(&unknown) + 260, sizeof unknown - 260, 0));
    std::string tooLong(ProfileListBufferSize, 'x');
    EXPECT_EQ(chipset.WLAN_Write_ProfileList(tooLong.c_str()), 0);
    std::memset(buffer.records, 0, ProfileListBufferSize);
    ASSERT_EQ(chipset.WLAN_Read_ProfileList(buffer.records), 1);
    EXPECT_STREQ(buffer.records, list);
}

TEST_F(StandinsTest, OpeningJoinsTheDriverSettingAndWritesTheDriverParameters)
{
    Chipset chipset;
    ASSERT_EQ(chipset.missing, "");
    ProfileSetting setting = Profile("Default", "Kestrel");
    setting.Wep = Wep(1, KestrelKey);
    ASSERT_EQ(chipset.WLAN_Write_Setting_To_DriverRegistry(&setting), 1);
    WlanAdapter adapter{};
    ASSERT_EQ(chipset.WLAN_Open_Adapter(&adapter), 1);
    WlanInfo link{};
    ASSERT_EQ(chipset.WLAN_Get_Info(&link), 1);
    EXPECT_EQ(link.StationState, WLAN_STATION_STATE_READY);
    EXPECT_EQ(std::memcmp(link.SSID, "Kestrel", 7), 0);
    EXPECT_EQ(RegistryText(registryKey, "privacyInvoked"), "1");
    EXPECT_EQ(RegistryText(registryKey, "keyLength0"), "5");

    WlanWepInfo none = Wep(0, nullptr);
    ASSERT_EQ(chipset.WLAN_Set_WEP_Config(&none), 1);
    EXPECT_EQ(RegistryText(registryKey, "privacyInvoked"), "0");
    EXPECT_EQ(RegistryText(registryKey, "keyLength0"), "0");
}

TEST_F(StandinsTest, ConcurrentCallersAllSucceed)
{
    OpenChipset chipset;
    ASSERT_TRUE(chipset.opened) << chipset.missing;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            std::string name = "Profile" + std::to_string(t);
            ProfileSetting mine = Profile(name.c_str(), "harbour");
            for (int i = 0; i < 50; ++i) {
                WlanInfo link{};
                SiteSurveyEntry entries[100];
                int32_t count = 0;
                WlanInfo config = Config(t % 2 ? "harbour" : "lanparty", t % 2);
                mine.Wlan.Channel = static_cast<uint8_t>(i);
                ProfileSetting back{};
                std::strcpy(back.ProfileName, name.c_str());
                bool ok = chipset.WLAN_Get_Info(&link) == 1 && chipset.WLAN_Get_Site_Survey(entries, &count, 1) == 1 &&
                          count == 4 && chipset.WLAN_Set_Config(&config) == 1 &&
                          chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex(&mine) == 1 &&
                          chipset.WLAN_Read_Setting_From_ProfileRegistry_Ex(&back) == 1 && back.Wlan.Channel == i;
                if (!ok) ++failures;
            }
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failures, 0);
}

TEST_F(StandinsTest, CallLogHoldsTheRecordBytesAndForcedFailures)
{
    WriteWorld("Fail=WLAN_Set_WEP_Config,NIC_SetIpInfo\r\n");
    OpenChipset chipset;
    ASSERT_TRUE(chipset.opened) << chipset.missing;
    WlanInfo config = Config("harbour", 1);
    ASSERT_EQ(chipset.WLAN_Set_Config(&config), 1);
    WlanWepInfo wep = Wep(0, nullptr);
    EXPECT_EQ(chipset.WLAN_Set_WEP_Config(&wep), 0);
    ASSERT_EQ(chipset.WLAN_Write_ProfileList("\"Say \"\"hi\"\"\""), 1);

    std::string hex;
    for (size_t i = 0; i < sizeof config; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", reinterpret_cast<uint8_t*>(&config)[i]);
        hex += pair;
    }
    std::vector<std::string> set = LogLines("WLAN_Set_Config ");
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0], "WLAN_Set_Config info=" + hex + " -> 1");
    std::vector<std::string> wepLines = LogLines("WLAN_Set_WEP_Config ");
    ASSERT_EQ(wepLines.size(), 1u);
    EXPECT_EQ(wepLines[0].substr(wepLines[0].size() - 5), " -> 0");
    std::vector<std::string> list = LogLines("WLAN_Write_ProfileList ");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], "WLAN_Write_ProfileList list=\"\\x22Say \\x22\\x22hi\\x22\\x22\\x22\" -> 1");

    Nic nic;

    ASSERT_EQ(nic.missing, "");
    NicEntry card{};
    std::strcpy(card.Name, AdapterName);
    NicIpInfo info{};
    info.blDhcpEnabled = 1;
    EXPECT_EQ(nic.NIC_SetIpInfo(&card, &info), 0);
    EXPECT_EQ(nic.NIC_GetNicErrorCode(), 31);
}

// ---------------------------------------------------------------- NIC

std::vector<NicEntry> ActiveCards(NIC_GetActiveNICs_t getActive)
{
    std::vector<NicEntry> list(50);
    int32_t count = 50;
    EXPECT_EQ(getActive(list.data(), 50, &count), 1);
    list.resize(static_cast<size_t>(count));
    return list;
}

TEST_F(StandinsTest, NicListsTheCardsWithinTheCapacity)
{
    Nic nic;
    ASSERT_EQ(nic.missing, "");
    EXPECT_EQ(nic.NIC_OpenDeviceMgr(), 1);
    std::vector<NicEntry> cards = ActiveCards(nic.NIC_GetActiveNICs);
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(std::strncmp(cards[0].Description, "Ferovane-Q PCI Adapter", 22), 0);
    EXPECT_STREQ(cards[0].Name, AdapterName);
    EXPECT_EQ(cards[0].Active, 1);
    EXPECT_STREQ(cards[1].Name, "{CARD-ONE}");
    EXPECT_EQ(cards[2].Active, 0);
    EXPECT_TRUE(AllBytes(cards[0].Reserved, 4, 0));

    Guarded<NicEntry, 2> two;
    int32_t count = 2;
    ASSERT_EQ(nic.NIC_GetActiveNICs(two.records, 2, &count), 1);
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(two.Intact());
    EXPECT_EQ(nic.NIC_CloseDeviceMgr(), 1);

    Nic nic9x("Nicorra9x.dll");
    ASSERT_EQ(nic9x.missing, "");
    cards = ActiveCards(nic9x.NIC_GetActiveNICs);
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(std::string(cards[0].Name), std::string("Net\\") + AdapterName);
    EXPECT_EQ(std::memcmp(cards[0].Name + 4, AdapterName, 4), 0);
}

TEST_F(StandinsTest, NicReadsAndAppliesTcpIpSettings)
{
    {
        Nic nic;
        ASSERT_EQ(nic.missing, "");
        NicEntry adapter = ActiveCards(nic.NIC_GetActiveNICs)[0];

        Guarded<NicIpInfo> info;
        ASSERT_EQ(nic.NIC_GetNicIPAddressDetail(AdapterMac, &*info), 1);
        EXPECT_TRUE(info.Intact());
        EXPECT_EQ(info->blDhcpEnabled, 1);
        EXPECT_STREQ(info->cIpAdress, "192.168.1.105");
        EXPECT_STREQ(info->cNetMask, "255.255.255.0");
        EXPECT_STREQ(info->cGateway, "192.168.1.1");
        EXPECT_STREQ(info->cDhcpServer, "192.168.1.1");
        EXPECT_STREQ(info->cDnsServer, "192.168.1.1,192.168.1.2");
        EXPECT_STREQ(info->cAdapterName, AdapterName);
        EXPECT_EQ(std::memcmp(info->Mac, AdapterMac, 6), 0);
        EXPECT_EQ(info->Reserved, 0);

        ASSERT_EQ(nic.NIC_GetNicIPAddressDetail(OfficeMac, &*info), 1);
        EXPECT_EQ(info->blDhcpEnabled, 0);
        EXPECT_STREQ(info->cIpAdress, "10.0.0.23");
        const uint8_t unknown[6] = {9, 9, 9, 9, 9, 9};
        EXPECT_EQ(nic.NIC_GetNicIPAddressDetail(unknown, &*info), 0);

        NicIpInfo settings{};
        std::strcpy(settings.cIpAdress, "192.168.7.20");
        std::strcpy(settings.cNetMask, "255.255.255.0");
        std::strcpy(settings.cGateway, "192.168.7.1");
        std::strcpy(settings.cDnsServer, "192.168.7.1,9.9.9.9");
        EXPECT_EQ(nic.NIC_SetIpInfo(&adapter, &settings), 1);
        EXPECT_EQ(nic.NIC_GetNicErrorCode(), 0);

        for (const char* bad : {"192.168.7", "0.0.0.0", "300.1.1.1", "1.2.3.4 ", "-1.2.3.4"}) {
            NicIpInfo wrong = settings;
            std::strcpy(wrong.cIpAdress, bad);
            EXPECT_EQ(nic.NIC_SetIpInfo(&adapter, &wrong), 0) << bad;
            EXPECT_EQ(nic.NIC_GetNicErrorCode(), ERROR_INVALID_PARAMETER);
        }
        NicIpInfo badMask = settings;
        std::strcpy(badMask.cNetMask, "255.0.255.0");
        EXPECT_EQ(nic.NIC_SetIpInfo(&adapter, &badMask), 0);
        NicEntry stranger{};
        std::strcpy(stranger.Name, "{NOT-HERE}");
        EXPECT_EQ(nic.NIC_SetIpInfo(&stranger, &settings), 0);
        EXPECT_EQ(nic.NIC_GetNicErrorCode(), ERROR_NOT_FOUND);
    }
    // The applied settings outlive the library.
    Nic nic;
    ASSERT_EQ(nic.missing, "");
    NicIpInfo info{};
    ASSERT_EQ(nic.NIC_GetNicIPAddressDetail(AdapterMac, &info), 1);
    EXPECT_EQ(info.blDhcpEnabled, 0);
    EXPECT_STREQ(info.cIpAdress, "192.168.7.20");
    EXPECT_STREQ(info.cGateway, "192.168.7.1");
    EXPECT_STREQ(info.cDhcpServer, "");
    EXPECT_STREQ(info.cDnsServer, "192.168.7.1,9.9.9.9");
}

TEST_F(StandinsTest, NicCardsCanBeDisabledAndLeasesReleased)
{
    Nic nic;
    ASSERT_EQ(nic.missing, "");
    std::vector<NicEntry> cards = ActiveCards(nic.NIC_GetActiveNICs);
    NicEntry adapter = cards[0], office = cards[1];
    EXPECT_EQ(nic.NIC_AdapterIsDisable(&adapter), 0);
    ASSERT_EQ(nic.NIC_ChangeNicStatus(&adapter, 0), 1);
    EXPECT_EQ(nic.NIC_AdapterIsDisable(&adapter), 1);
    EXPECT_EQ(ActiveCards(nic.NIC_GetActiveNICs)[0].Active, 0);
    ASSERT_EQ(nic.NIC_ChangeNicStatus(&adapter, 1), 1);

    ASSERT_EQ(nic.NIC_NicIpReleaseAddress(&adapter), 1);
    NicIpInfo info{};
    ASSERT_EQ(nic.NIC_GetNicIPAddressDetail(AdapterMac, &info), 1);
    EXPECT_STREQ(info.cIpAdress, "0.0.0.0");
    EXPECT_STREQ(info.cDhcpServer, "");
    ASSERT_EQ(nic.NIC_NicIpRenewAddress(&adapter), 1);
    ASSERT_EQ(nic.NIC_GetNicIPAddressDetail(AdapterMac, &info), 1);
    EXPECT_STREQ(info.cIpAdress, "192.168.1.105");

    EXPECT_EQ(nic.NIC_NicIpReleaseAddress(&office), 0) << "a static card has no lease";
    EXPECT_EQ(nic.NIC_GetNicErrorCode(), ERROR_INVALID_FUNCTION);
    Guarded<char, 16> text;
    ASSERT_EQ(nic.NIC_GetErrorMessage(ERROR_INVALID_PARAMETER, text.records, 16), 1);
    EXPECT_EQ(strnlen(text.records, 16), 15u);
    EXPECT_TRUE(text.Intact());
}

TEST_F(StandinsTest, Nic9xCallsWorkOnTheCardNamedLast)
{
    WriteWorld("Fail=NIC_EnableDHCP9x\r\nNicErrorCode=523\r\n");
    Nic nic("Nicorra9x.dll");
    ASSERT_EQ(nic.missing, "");
    NicEntry adapter = ActiveCards(nic.NIC_GetActiveNICs)[0];

    int32_t dhcp = -1;
    ASSERT_EQ(nic.NIC_GetDHCPStatusfor9x(adapter.Name, &dhcp), 1);
    EXPECT_EQ(dhcp, 1);
    EXPECT_EQ(nic.NIC_EnableDHCP9x(&adapter), 0);
    EXPECT_EQ(nic.NIC_GetNicErrorCode(), 523);

    ASSERT_EQ(nic.NIC_EnableStaticIP9x(&adapter, "172.16.0.9", "255.255.0.0", "172.16.0.1"), 1);
    std::string dns = "172.16.0.1,172.16.0.2 and more";
    int32_t length = 21;
    ASSERT_EQ(nic.NIC_EnableDnsServer9x(dns.c_str(), &length, 1), 1);
    ASSERT_EQ(nic.NIC_GetDHCPStatusfor9x(adapter.Name, &dhcp), 1);
    EXPECT_EQ(dhcp, 0);
    NicIpInfo info{};
    ASSERT_EQ(nic.NIC_GetNicIPAddressDetail(AdapterMac, &info), 1);
    EXPECT_STREQ(info.cIpAdress, "172.16.0.9");
    EXPECT_STREQ(info.cNetMask, "255.255.0.0");
    EXPECT_STREQ(info.cDnsServer, "172.16.0.1,172.16.0.2");
    EXPECT_STREQ(info.cAdapterName, adapter.Name);
}

// A hidden top-level window that notes the device changes broadcast to it.
class DeviceChangeProbe {
public:
    DeviceChangeProbe()
    {
        WNDCLASSA type{};
        type.lpfnWndProc = Procedure;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "StandinsDeviceChangeProbe";
        RegisterClassA(&type);
        window = CreateWindowExA(0, type.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 type.hInstance, nullptr);
        changes = 0;
    }
    ~DeviceChangeProbe() { DestroyWindow(window); }

    // Services messages until a DBT_DEVNODES_CHANGED arrives after which
    // `settled` holds. Other processes restart cards too: a change that
    // arrives before `settled` holds is not the awaited one.
    template <class Settled> bool Wait(DWORD limit, Settled settled)
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < limit) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            if (changes > 0 && settled()) return true;
            changes = 0;
            Sleep(10);
        }
        return false;
    }
    HWND window;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_DEVICECHANGE && wParam == DBT_DEVNODES_CHANGED) ++changes;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static int changes;
};
int DeviceChangeProbe::changes = 0;

TEST_F(StandinsTest, PropertyChangeRestartsTheCardIntoTheDriverSetting)
{
    OpenChipset chipset;
    ASSERT_TRUE(chipset.opened) << chipset.missing;
    Nic nic;
    ASSERT_EQ(nic.missing, "");
    WlanInfo config = Config("lanparty", 0);
    ASSERT_EQ(chipset.WLAN_Set_Config(&config), 1);
    ProfileSetting saved = Profile("Default", "harbour");
    ASSERT_EQ(chipset.WLAN_Write_Setting_To_DriverRegistry(&saved), 1);
    WlanInfo link{};
    ASSERT_EQ(chipset.WLAN_Get_Info(&link), 1);
    EXPECT_EQ(link.OperatingModeID, 0) << "a saved setting waits for the card to start";

    DeviceChangeProbe probe;
    ASSERT_NE(probe.window, nullptr);
    NicEntry card = ActiveCards(nic.NIC_GetActiveNICs)[0];
    EXPECT_EQ(nic.NIC_PropertyChange(&card), 1);
    // The card is back before the change is announced.
    ASSERT_TRUE(probe.Wait(60000, [&] { return ActiveCards(nic.NIC_GetActiveNICs).size() == 3; }))
        << "no WM_DEVICECHANGE";
    ASSERT_EQ(chipset.WLAN_Get_Info(&link), 1);
    EXPECT_EQ(link.StationState, WLAN_STATION_STATE_READY);
    EXPECT_EQ(link.OperatingModeID, 1);
    EXPECT_EQ(std::memcmp(link.Bssid, HarbourBssid, 6), 0);
}

TEST_F(StandinsTest, ARestartingCardIsAway)
{
    WriteWorld("RestartMs=600000\r\n");
    OpenChipset chipset;
    ASSERT_TRUE(chipset.opened) << chipset.missing;
    Nic nic;
    ASSERT_EQ(nic.missing, "");
    NicEntry card = ActiveCards(nic.NIC_GetActiveNICs)[0];
    ASSERT_EQ(nic.NIC_PropertyChange(&card), 1);

    std::vector<NicEntry> cards = ActiveCards(nic.NIC_GetActiveNICs);
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_STREQ(cards[0].Name, "{CARD-ONE}");
    WlanInfo link{};
    ASSERT_EQ(chipset.WLAN_Get_Info(&link), 1);
    EXPECT_EQ(link.StationState, WLAN_STATION_STATE_RESETTING);
    EXPECT_EQ(chipset.WLAN_Close_Adapter(), 1);
    EXPECT_EQ(chipset.WLAN_Open_Adapter(&chipset.adapter), 0);
}

// ---------------------------------------------------------------- WEP keys

TEST_F(StandinsTest, WepKeysAreFourUpperCaseHexTextsAndDeterministic)
{
    WepLibrary wep;
    ASSERT_EQ(wep.missing, "");
    ASSERT_EQ(wep.Wep_Init(), 1);
    auto generate = [&](const char* passphrase, int32_t length) {
        Guarded<char, WepKeyOutputSize> output;
        char buffer[260] = {};
        std::strcpy(buffer, passphrase);
        EXPECT_EQ(wep.Wep_GenWepKeys(buffer, length, output.records), 1);
        EXPECT_TRUE(output.Intact());
        size_t text = static_cast<size_t>(8 * length);
        EXPECT_EQ(strnlen(output.records, WepKeyOutputSize), text);
        EXPECT_TRUE(AllBytes(output.records + text + 1, WepKeyOutputSize - text - 1, 0xCC));
        return std::string(output.records);
    };
    // Reference values of the usual derivations.
    EXPECT_EQ(generate("Kestrel", 5), "8371432DC5ABDAD6BE2389C245E47D7F8502CFD1");
    std::string key13 = "5B1A84786CB585A20BFC937DB0";
    EXPECT_EQ(generate("Kestrel", 13), key13 + key13 + key13 + key13);
    std::string key16 = "5B1A84786CB585A20BFC937DB0C2A4D9";
    EXPECT_EQ(generate("Kestrel", 16), key16 + key16 + key16 + key16);

    for (int32_t length : {5, 13, 16}) {
        EXPECT_EQ(generate("open sesame", length), generate("open sesame", length));
        EXPECT_NE(generate("open sesame", length), generate("open sesamf", length));
    }

    Guarded<char, WepKeyOutputSize> untouched;
    EXPECT_EQ(wep.Wep_GenWepKeys("Kestrel", 7, untouched.records), 0);
    EXPECT_EQ(wep.Wep_GenWepKeys("", 5, untouched.records), 0);
    EXPECT_TRUE(AllBytes(untouched.records, WepKeyOutputSize, 0xCC));
}

TEST_F(StandinsTest, WepCipherRoundTrips)
{
    WepLibrary wep;
    ASSERT_EQ(wep.missing, "");
    const uint8_t iv[3] = {1, 2, 3};
    uint8_t data[] = "hello wep";
    ASSERT_EQ(wep.Wep_Encrypt(iv, KestrelKey, 5, data, 9), 1);
    const uint8_t expected[9] = {0x97, 0x58, 0x88, 0x93, 0xB5, 0x93, 0x10, 0x33, 0x59};
    EXPECT_EQ(std::memcmp(data, expected, 9), 0);
    ASSERT_EQ(wep.Wep_Decrypt(iv, KestrelKey, 5, data, 9), 1);
    EXPECT_STREQ(reinterpret_cast<char*>(data), "hello wep");
    EXPECT_EQ(wep.Wep_Encrypt(iv, KestrelKey, 17, data, 9), 0);
}

TEST_F(StandinsTest, WepInitCanBeMadeToRefuse)
{
    WriteWorld("Fail=Wep_Init\r\n");
    WepLibrary wep;
    ASSERT_EQ(wep.missing, "");
    EXPECT_EQ(wep.Wep_Init(), 0);
}

// ---------------------------------------------------------------- programs

TEST_F(StandinsTest, CompanionProgramsNoteThatTheyRan)
{
    for (const char* program : {"Vorlex.exe", "rondsvc.exe"}) {
        std::string path = BinFolder() + program;
        std::string commandLine = std::string("\"") + path + "\" -b";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &process))
            << program;
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        EXPECT_EQ(code, 0u);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::vector<std::string> lines = LogLines(program);
        ASSERT_EQ(lines.size(), 1u) << program;
        EXPECT_EQ(lines[0], std::string(program) + " arguments=\"-b\" -> 0");
    }
}

} // namespace
