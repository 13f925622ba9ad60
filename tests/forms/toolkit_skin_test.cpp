// The skin in the program's resources: every picture at the size the main
// window lays out, 8 bits deep; the tray icons and the hand cursor; and a
// window put together from them the way the main window is, its pixels read
// back. SKIN_DEMO_MS keeps that window up for a look or a screenshot.
#include "toolkit/application.h"
#include "toolkit/graphic_controls.h"
#include "toolkit/imagelist.h"
#include "toolkit/stdctrls.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

HINSTANCE Self() { return ::GetModuleHandleA(nullptr); }

struct Picture {
    int Id, Width, Height;
};

const Picture Skin[] = {
    {1001, 580, 435}, {1002, 436, 248}, {1003, 435, 245}, {1004, 435, 245}, {1005, 129, 21}, {1006, 182, 21},
    {1007, 210, 27},  {1008, 285, 16},  {1009, 390, 16},  {1010, 392, 137}, {1012, 435, 245}, {1013, 435, 245},
    {1014, 435, 245}, {1015, 435, 245}, {1020, 435, 245}, {1021, 435, 245}, {1027, 117, 132}, {1029, 117, 132},
    {1032, 128, 35},  {1033, 128, 35},  {1035, 128, 35},  {1036, 128, 35},  {1041, 128, 35},  {1042, 128, 35},
    {1044, 128, 35},  {1045, 128, 35},  {1050, 128, 35},  {1051, 128, 35},  {1053, 128, 35},  {1054, 128, 35},
    {1081, 118, 28},  {1082, 118, 28},  {1083, 118, 28},  {1084, 118, 28},  {1085, 118, 28},  {1086, 118, 28},
    {1091, 27, 27},   {1093, 27, 27},   {1095, 27, 27},
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
    for (int id : {1032, 1035, 1041, 1044, 1050, 1053, 1081, 1083, 1085, 1093}) {
        TBitmap normal, other;
        normal.LoadFromResourceID(Self(), id);
        other.LoadFromResourceID(Self(), id == 1093 ? 1095 : id + 1);
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
        Background = Place(this, 1001, 0, 0);
        Place(this, 1081, 10, 124);
        Place(this, 1084, 129, 124);
        Place(this, 1086, 250, 124);
        Status = Place(this, 1002, 9, 152);
        Place(this, 1006, 150, 160);
        Place(this, 1009, 35, 192);
        auto* menu = new TPanel(this);
        menu->SetParent(this);
        menu->SetBevelOuter(bvNone);
        menu->SetBounds(447, 320, 126, 68);
        Place(menu, 1036, 0, 0);
        Place(menu, 1032, 0, 34);
        auto* button = new TPanel(this);
        button->SetParent(this);
        button->SetBevelOuter(bvNone);
        button->SetBounds(536, 6, 27, 28);
        button->SetColor(0x5E3A12);
        TitleButton = Place(button, 1093, 0, 0);
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
