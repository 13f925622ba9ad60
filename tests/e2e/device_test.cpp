// The device check of the real Vantra.exe over the stand-in libraries:
// the adapter found, lost and found again, a power resume, the driver's
// saved setting re-applied, and a chipset library that cannot be loaded.
#include "sandbox.h"
#include "vantra/drivers/records.h"

#include <gtest/gtest.h>

#include <cstring>

#include <dbt.h>

namespace {

const char* const WlanIni = "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=6\r\nFirst=0\r\n";

class Device : public testing::Test {
protected:
    explicit Device() : Box(testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        Box.WriteFile("WLAN.INI", WlanIni);
        World("World", "Log", "calls.log");
    }
    void World(const char* Section, const char* Key, const char* Value)
    {
        ::WritePrivateProfileStringA(Section, Key, Value, Box.Path("standins.ini").c_str());
    }
    void Start()
    {
        Process = Box.Start("Vantra.exe");
        Window = Box.WaitWindow(Process, "TMainFrm", 15000);
        ASSERT_NE(Window, nullptr);
    }
    size_t Calls(const std::string& Name) const { return Box.Calls(Name); }
    // Waits until the call log holds at least Count calls of Name.
    bool WaitCalls(const std::string& Name, size_t Count, DWORD Milliseconds) const
    {
        const DWORD start = ::GetTickCount();
        while (Calls(Name) < Count) {
            if (::GetTickCount() - start > Milliseconds) return false;
            ::Sleep(50);
        }
        return true;
    }

    Sandbox Box;
    HANDLE Process = nullptr;
    HWND Window = nullptr;
};

TEST_F(Device, AbsentAtStartThenPluggedIsFoundAfterTheDeviceChange)
{
    World("Adapter", "Present", "0");
    Start();
    ::Sleep(1500);
    EXPECT_EQ(Calls("WLAN_Open_Adapter"), 0u);
    EXPECT_GE(Calls("NIC_GetActiveNICs"), 1u);

    World("Adapter", "Present", "1");
    const DWORD changed = ::GetTickCount();
    ::PostMessageA(Window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    ASSERT_TRUE(WaitCalls("WLAN_Open_Adapter", 1, 5000));
    EXPECT_LT(::GetTickCount() - changed, 2500u); // the check runs about a second after the change
    EXPECT_TRUE(WaitCalls("WLAN_Read_ProfileList", 1, 2000));
}

TEST_F(Device, RemovedWhileOpenStopsMonitoringAndClosesTheAdapter)
{
    Start();
    ASSERT_TRUE(WaitCalls("WLAN_Open_Adapter", 1, 5000));
    World("Adapter", "Present", "0");
    ::PostMessageA(Window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    ASSERT_TRUE(WaitCalls("WLAN_Close_Adapter", 1, 5000));
    // Monitoring is off: no link reads follow.
    ::Sleep(300);
    const size_t reads = Calls("WLAN_Get_Info");
    ::Sleep(2500);
    EXPECT_EQ(Calls("WLAN_Get_Info"), reads);
}

TEST_F(Device, PowerResumeRunsOneDeviceCheck)
{
    Start();
    ASSERT_TRUE(WaitCalls("WLAN_Open_Adapter", 1, 5000));
    ::Sleep(300);
    ::PostMessageA(Window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_TRUE(WaitCalls("WLAN_Open_Adapter", 2, 5000));
    ::Sleep(2500);
    EXPECT_EQ(Calls("WLAN_Open_Adapter"), 2u);
}

TEST_F(Device, DriverSettingIsReappliedWhenTheLinkIsDown)
{
    // A saved setting for a network that is not in range, with a long
    // preamble, shared-key authentication and WEP on.
    ProfileSetting saved{};
    std::memcpy(saved.Wlan.SSID, "Faraway", 7);
    saved.Wlan.SSID_length = 7;
    saved.Wlan.OperatingModeID = 1;
    saved.Wlan.PreambleType = 1;
    saved.Wep.AuthenticationType = 1;
    saved.Wep.WepMode = 1;
    ::CreateDirectoryA(Box.Path("state").c_str(), nullptr);
    Box.WriteFile("state\\driver.bin", std::string(reinterpret_cast<const char*>(&saved), sizeof saved));
    Start();
    ASSERT_TRUE(WaitCalls("WLAN_Read_Setting_From_DriverRegistry", 1, 5000));
    ASSERT_TRUE(WaitCalls("WLAN_Set_WEP_Config", 1, 2000));
    // The record handed back has a preamble and authentication of 0 and a
    // WEP mode of 0, whatever the saved setting held.
    std::string setConfig;
    for (const std::string& line : Box.Lines("calls.log"))
        if (line.compare(0, 16, "WLAN_Set_Config ") == 0) setConfig = line;
    ASSERT_FALSE(setConfig.empty());
    const size_t hex = setConfig.find("info=");
    ASSERT_NE(hex, std::string::npos);
    const std::string record = setConfig.substr(hex + 5, 162);
    EXPECT_EQ(record.substr(2 * 2, 14), "46617261776179"); // the SSID
    EXPECT_EQ(record.substr(37 * 2, 2), "00"); // PreambleType
}

TEST_F(Device, NoSavedDriverSettingAppliesNothing)
{
    Start();
    ASSERT_TRUE(WaitCalls("WLAN_Read_Setting_From_DriverRegistry", 1, 5000));
    // A link read after it comes from a later handler: the re-apply is over.
    ASSERT_TRUE(WaitCalls("WLAN_Get_Info", Calls("WLAN_Get_Info") + 1, 5000));
    EXPECT_EQ(Calls("WLAN_Set_Config"), 0u);
    EXPECT_EQ(Calls("WLAN_Set_WEP_Config"), 0u);
}

TEST_F(Device, ChipsetLibraryMissingEndsInOrder)
{
    ::DeleteFileA(Box.Path("Belgrin.dll").c_str());
    HANDLE process = Box.Start("Vantra.exe");
    EXPECT_EQ(Box.WaitExit(process, 20000), 0u);
    auto boxes = Box.SeamCalls("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "MessageBox\tLoad dll error\tCan't Load 802.11g dll.\t16");
    EXPECT_EQ(Box.SeamCalls("PlaySound\tSound\\exit.wav").size(), 1u);
    EXPECT_TRUE(Box.EndedClean());
}

} // namespace
