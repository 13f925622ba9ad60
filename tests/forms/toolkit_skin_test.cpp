// The skin in the program's resources: every picture at the size the main
// window lays out, 8 bits deep; the tray icons and the hand cursor; and a
// window put together from them the way the main window is, its pixels read
// back. SKIN_DEMO_MS keeps that window up for a look or a screenshot.
#include "toolkit/application.h"
#include "toolkit/graphic_controls.h"
#include "toolkit/imagelist.h"
#include "toolkit/stdctrls.h"
#include "vantra/resource_ids.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

HINSTANCE Self() { return ::GetModuleHandleA(nullptr); }

struct Picture {
    int Id, Width, Height;
};

const Picture Skin[] = {
    {IDB_BACKGROUND, 580, 435},
    {IDB_STATUS_LINK, 436, 248},
    {IDB_STATUS_SURVEY, 435, 245},
    {IDB_STATUS_PROFILES, 435, 245},
    {IDB_TITLE_ADHOC, 129, 21},
    {IDB_TITLE_INFRASTRUCTURE, 182, 21},
    {IDB_TITLE_NO_LINK, 210, 27},
    {IDB_CAPTION_ADHOC, 285, 16},
    {IDB_CAPTION_INFRASTRUCTURE, 390, 16},
    {IDB_LINK_INFO_FRAME, 392, 137},
    {IDB_STATUS_WIZARD_NETWORK, 435, 245},
    {IDB_STATUS_WIZARD_CHANNEL, 435, 245},
    {IDB_STATUS_WIZARD_TCPIP, 435, 245},
    {IDB_STATUS_WIZARD_WEP, 435, 245},
    {IDB_STATUS_WIZARD_CONFIRM, 435, 245},
    {IDB_STATUS_WIZARD_ACTIVATE, 435, 245},
    {IDB_MENU_NO_ADAPTER, 117, 132},
    {IDB_MENU_ADAPTER, 117, 132},
    {IDB_BUTTON_BACK, 128, 35},
    {IDB_BUTTON_BACK_HOT, 128, 35},
    {IDB_BUTTON_NEXT, 128, 35},
    {IDB_BUTTON_NEXT_HOT, 128, 35},
    {IDB_BUTTON_NO, 128, 35},
    {IDB_BUTTON_NO_HOT, 128, 35},
    {IDB_BUTTON_YES, 128, 35},
    {IDB_BUTTON_YES_HOT, 128, 35},
    {IDB_BUTTON_NOW, 128, 35},
    {IDB_BUTTON_NOW_HOT, 128, 35},
    {IDB_BUTTON_LATER, 128, 35},
    {IDB_BUTTON_LATER_HOT, 128, 35},
    {IDB_TAB_LINK, 118, 28},
    {IDB_TAB_LINK_OFF, 118, 28},
    {IDB_TAB_SURVEY, 118, 28},
    {IDB_TAB_SURVEY_OFF, 118, 28},
    {IDB_TAB_PROFILES, 118, 28},
    {IDB_TAB_PROFILES_OFF, 118, 28},
    {IDB_TITLE_BUTTON_EXIT, 27, 27},
    {IDB_TITLE_BUTTON, 27, 27},
    {IDB_TITLE_BUTTON_HOT, 27, 27},
};

TEST(Skin, EveryPictureHasItsSizeAndEightBits)
{
    for (const Picture& p : Skin) {
        TBitmap bitmap;
        ASSERT_NO_THROW(bitmap.LoadFromResourceID(Self(), p.Id)) << p.Id;
        EXPECT_EQ(p.Width, bitmap.Width()) << p.Id;
        EXPECT_EQ(p.Height, bitmap.Height()) << p.Id;
        EXPECT_EQ(pf8bit, bitmap.PixelFormat()) << p.Id;
    }
}

TEST(Skin, HoverPicturesDifferFromTheNormalOnes)
{
    const int pairs[][2] = {{IDB_BUTTON_BACK, IDB_BUTTON_BACK_HOT}, {IDB_BUTTON_NEXT, IDB_BUTTON_NEXT_HOT},
                            {IDB_BUTTON_NO, IDB_BUTTON_NO_HOT},     {IDB_BUTTON_YES, IDB_BUTTON_YES_HOT},
                            {IDB_BUTTON_NOW, IDB_BUTTON_NOW_HOT},   {IDB_BUTTON_LATER, IDB_BUTTON_LATER_HOT},
                            {IDB_TAB_LINK, IDB_TAB_LINK_OFF},       {IDB_TAB_SURVEY, IDB_TAB_SURVEY_OFF},
                            {IDB_TAB_PROFILES, IDB_TAB_PROFILES_OFF}, {IDB_TITLE_BUTTON, IDB_TITLE_BUTTON_HOT}};
    for (const auto& pair : pairs) {
        const int id = pair[0];
        TBitmap normal, other;
        normal.LoadFromResourceID(Self(), id);
        other.LoadFromResourceID(Self(), pair[1]);
        int differing = 0;
        for (int y = 0; y < normal.Height(); y += 2)
            for (int x = 0; x < normal.Width(); x += 2)
                differing += normal.Canvas()->Pixel(x, y) != other.Canvas()->Pixel(x, y);
        EXPECT_GT(differing, normal.Width() * normal.Height() / 40) << id;
    }
}

TEST(Skin, TrayIconsFillTheImageListInTheirOrder)
{
    TImageList images(nullptr);
    const char* names[] = {"ICO00", "ICO02", "ICO01", "ICO00", "ICO00", "ICO00", "ICO00", "ICO00",
                           "ICO00", "ICO02", "ICO02", "ICO02", "ICO02", "ICO02", "ICO02"};
    for (const char* name : names) {
        TIcon icon;
        icon.LoadFromResourceName(Self(), name);
        images.AddIcon(&icon);
    }
    EXPECT_EQ(15, images.Count());
    // The list takes each icon's own 16 x 16 picture from the resource.
    TIcon small;
    images.GetIcon(0, &small);
    EXPECT_EQ(16, small.Width());
    // Connected, searching and not monitoring look different.
    TBitmap sheet;
    sheet.SetPixelFormat(pf24bit);
    sheet.SetSize(48, 16);
    for (int i = 0; i < 3; ++i) images.Draw(sheet.Canvas(), i * 16, 0, i);
    int differ01 = 0, differ02 = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            differ01 += sheet.Canvas()->Pixel(x, y) != sheet.Canvas()->Pixel(16 + x, y);
            differ02 += sheet.Canvas()->Pixel(x, y) != sheet.Canvas()->Pixel(32 + x, y);
        }
    EXPECT_GT(differ01, 20);
    EXPECT_GT(differ02, 20);
}

TEST(Skin, OwnHandCursorLoads)
{
    HCURSOR hand = static_cast<HCURSOR>(::LoadImageA(Self(), "CRHANDPOINT", IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    ASSERT_NE(nullptr, hand);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(11u, info.xHotspot);
    EXPECT_EQ(1u, info.yHotspot);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ::DestroyCursor(hand);
}

// The main window's frame as the skin draws it: background, page buttons,
// status panel with its title, the menu card and the title button.
class TSkinDemo : public TForm {
public:
    explicit TSkinDemo(TComponent* AOwner) : TForm(AOwner)
    {
        BorderStyle = bsNone;
        SetBounds(20, 20, 580, 435);
        Background = Place(this, IDB_BACKGROUND, 0, 0);
        Place(this, IDB_TAB_LINK, 10, 124);
        Place(this, IDB_TAB_SURVEY_OFF, 129, 124);
        Place(this, IDB_TAB_PROFILES_OFF, 250, 124);
        Status = Place(this, IDB_STATUS_LINK, 9, 152);
        Place(this, IDB_TITLE_INFRASTRUCTURE, 150, 160);
        Place(this, IDB_CAPTION_INFRASTRUCTURE, 35, 192);
        auto* menu = new TPanel(this);
        menu->SetParent(this);
        menu->SetBevelOuter(bvNone);
        menu->SetBounds(447, 320, 126, 68);
        Place(menu, IDB_BUTTON_NEXT_HOT, 0, 0);
        Place(menu, IDB_BUTTON_BACK, 0, 34);
        auto* button = new TPanel(this);
        button->SetParent(this);
        button->SetBevelOuter(bvNone);
        button->SetBounds(536, 6, 27, 28);
        button->SetColor(0x5E3A12);
        TitleButton = Place(button, IDB_TITLE_BUTTON, 0, 0);
        TitleButton->Cursor = crHandPoint;
        auto* label = new TLabel(this);
        label->SetParent(this);
        label->SetTransparent(true);
        label->Font()->SetName("Tahoma");
        label->SetCaption("Signal strength");
        label->SetBounds(27, 361, label->Width(), label->Height());
    }
    TImage* Place(TWinControl* Parent, int Id, int X, int Y)
    {
        auto* image = new TImage(this);
        image->SetParent(Parent);
        image->SetAutoSize(true);
        image->SetLeft(X);
        image->SetTop(Y);
        image->Picture()->Bitmap()->LoadFromResourceID(::GetModuleHandleA(nullptr), Id);
        return image;
    }
    TImage* Background;
    TImage* Status;
    TImage* TitleButton;
};

TEST(Skin, WindowPutTogetherFromTheSkin)
{
    TSkinDemo form(nullptr);
    HWND wnd = form.Handle();
    ::SetWindowRgn(wnd, ::CreateRoundRectRgn(0, 0, 580, 430, 25, 25), TRUE);
    form.Show();
    ::UpdateWindow(wnd);
    for (int i = 0; i < 10; ++i) Application->ProcessMessages(), ::Sleep(10);

    TBitmap shot;
    shot.SetPixelFormat(pf24bit);
    shot.SetSize(580, 435);
    ::PrintWindow(wnd, shot.Canvas()->Handle(), 0);
    TCanvas* background = form.Background->Picture()->Bitmap()->Canvas();
    TCanvas* status = form.Status->Picture()->Bitmap()->Canvas();
    EXPECT_EQ(background->Pixel(300, 40), shot.Canvas()->Pixel(300, 40));       // header
    EXPECT_EQ(status->Pixel(200, 100), shot.Canvas()->Pixel(209, 252));        // the status card
    EXPECT_NE(shot.Canvas()->Pixel(300, 40), shot.Canvas()->Pixel(209, 252));

    if (const char* ms = std::getenv("SKIN_DEMO_MS")) {
        DWORD end = ::GetTickCount() + static_cast<DWORD>(std::atoi(ms));
        while (::GetTickCount() < end) Application->ProcessMessages(), ::Sleep(20);
    }
}

} // namespace
