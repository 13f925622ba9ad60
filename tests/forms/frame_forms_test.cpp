// The real main window in process: the device check after a card restart
// and a power resume, the pointer watcher, and status pictures that do not
// keep the bitmaps they replace.
#include "mainfrm_harness.h"
#include "toolkit/application.h"
#include "vantra/drivers/bindings.h"
#include "vantra/globals.h"
#include "vantra/nic_detect.h"

#include <gtest/gtest.h>

namespace {

bool PumpUntil(const std::function<bool()>& Done, DWORD Milliseconds)
{
    const DWORD start = ::GetTickCount();
    while (!Done()) {
        if (::GetTickCount() - start > Milliseconds) return false;
        Application->ProcessMessages();
        ::Sleep(10);
    }
    return true;
}

class Frame : public testing::Test {
protected:
    void SetUp() override
    {
        Form = Harness::Form();
        Harness::Reset();
    }
    TMainFrm* Form = nullptr;
};

TEST_F(Frame, CardRestartClosesAndReopensTheAdapterAndClearsApplyingTcpIp)
{
    NicCall(Nic.NIC_CloseDeviceMgr);
    NicDeviceMgrOpen = 0;
    FindAdapterNic(); // the adapter's card, as the TCP/IP thread works on it
    ApplyingTcpIp = 1;
    MonitoringOn = 1;
    NicCall(Nic.NIC_PropertyChange, &NicDevice); // restarts the card; the device change follows

    ASSERT_TRUE(PumpUntil([] { return Harness::CallCount("WLAN_Open_Adapter") >= 1; }, 5000));
    EXPECT_EQ(Harness::CallCount("WLAN_Close_Adapter"), 1u);
    EXPECT_EQ(ApplyingTcpIp, 0);
    EXPECT_EQ(AdapterOpened, 1);
    EXPECT_TRUE(Form->UpdateTimer->Enabled());
    EXPECT_EQ(Form->UpdateTimer->Interval(), 500u);
    EXPECT_FALSE(Form->DeviceCheckTimer->Enabled());
    EXPECT_TRUE(Form->Timer1->Enabled()); // the driver setting is re-applied once the link is down
}

TEST_F(Frame, EachPowerResumeRunsOneDeviceCheck)
{
    for (int resume = 0; resume < 2; ++resume) {
        Form->DeviceCheckTimer->SetEnabled(false);
        ASSERT_TRUE(PumpUntil([this] { return Form->PowerThread->Suspended(); }, 2000));
        ::SendMessageA(Form->Handle(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
        ASSERT_TRUE(PumpUntil([this] { return Form->DeviceCheckTimer->Enabled(); }, 2000)) << resume;
        EXPECT_EQ(Form->DeviceCheckTimer->Interval(), 1000u);
        EXPECT_TRUE(PumpUntil([this] { return Form->PowerThread->Suspended(); }, 2000));
    }
    // Without an open adapter a resume does nothing.
    Form->DeviceCheckTimer->SetEnabled(false);
    AdapterOpened = 0;
    ::SendMessageA(Form->Handle(), WM_POWERBROADCAST, PBT_APMRESUMESTANDBY, 0);
    PumpUntil([] { return false; }, 300);
    EXPECT_FALSE(Form->DeviceCheckTimer->Enabled());
}

TEST_F(Frame, LeavingTheWindowPutsTheTitleButtonBackWithinTheWatchersBeat)
{
    Form->Show();
    RECT window;
    ::GetWindowRect(Form->Handle(), &window);
    ::SetCursorPos(window.left + 549, window.top + 19);
    Form->MessageThread->Resume();
    Form->HoverButton(8, Form->Image7, 0);
    const COLORREF hot = Form->TitleButtonHotBitmap->Canvas()->Pixel(13, 13);
    const COLORREF normal = Form->TitleButtonBitmap->Canvas()->Pixel(13, 13);
    ASSERT_NE(hot, normal);
    PumpUntil([] { return false; }, 400); // inside: the highlight stays
    EXPECT_EQ(Form->HoverIndex, 8);
    EXPECT_EQ(Form->Image7->Picture()->Bitmap()->Canvas()->Pixel(13, 13), hot);

    ::SetCursorPos(window.right + 40, window.bottom + 40);
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(PumpUntil([this] { return Form->HoverIndex == -1; }, 2000));
    EXPECT_LT(::GetTickCount() - start, 600u);
    EXPECT_EQ(Form->Image7->Picture()->Bitmap()->Canvas()->Pixel(13, 13), normal);
}

TEST_F(Frame, StatusPicturesFreeTheBitmapsTheyReplace)
{
    for (int i = 0; i < 60; ++i) {
        HBITMAP old = Form->Img_Status->Picture()->Bitmap()->Handle();
        Form->SetStatusImage(i % 2 ? 1003 : 1006);
        ASSERT_NE(Form->Img_Status->Picture()->Bitmap()->Handle(), old);
        ASSERT_EQ(::GetObjectType(old), 0u) << "replaced status bitmap still alive at step " << i;
    }
    EXPECT_EQ(Form->Img_Status->Width(), 435); // the survey panel, not the link page's
}

} // namespace
