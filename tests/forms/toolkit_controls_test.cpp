// The controls of the toolkit in real windows: windowless pictures and texts
// painted by their parent (pixels read back from the screen), mouse messages
// routed to the control under the pointer, and the events of the windowed
// controls as programs rely on them.
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/exceptions.h"
#include "toolkit/graphic_controls.h"
#include "toolkit/listview.h"
#include "toolkit/menus.h"
#include "toolkit/stdctrls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

LPARAM At(int X, int Y) { return MAKELPARAM(X, Y); }

void Pump()
{
    for (int i = 0; i < 5; ++i) {
        Application->ProcessMessages();
        ::Sleep(10);
    }
}

// A borderless window at a known place on the screen.
class Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = new TForm(nullptr);
        form->BorderStyle = bsNone;
        form->SetBounds(40, 40, 200, 120);
        form->SetColor(clWhite);
    }
    void TearDown() override { delete form; }
    void ShowAndPaint()
    {
        form->Show();
        ::SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::UpdateWindow(form->Handle());
        Pump();
    }
    // What the window paints, printed into a bitmap of our own, so that
    // other windows on the screen cannot get in the way.
    TBitmap& Capture()
    {
        Shot.SetPixelFormat(pf24bit);
        Shot.SetSize(form->Width(), form->Height());
        ::PrintWindow(form->Handle(), Shot.Canvas()->Handle(), 0);
        return Shot;
    }
    COLORREF PixelAt(int X, int Y) { return static_cast<COLORREF>(Capture().Canvas()->Pixel(X, Y)); }
    COLORREF ScreenPixelAt(int X, int Y)
    {
        HDC dc = ::GetDC(form->Handle());
        COLORREF c = ::GetPixel(dc, X, Y);
        ::ReleaseDC(form->Handle(), dc);
        return c;
    }
    TBitmap Shot;
    static TBitmap* Solid(TBitmap* Bitmap, int W, int H, TColor Color)
    {
        Bitmap->SetPixelFormat(pf8bit);
        Bitmap->SetSize(W, H);
        Bitmap->Canvas()->Brush()->SetColor(Color);
        Bitmap->Canvas()->FillRect(RECT{0, 0, W, H});
        return Bitmap;
    }
    TForm* form = nullptr;
};

TEST_F(Window, ParentPaintsWindowlessControlsInZOrder)
{
    auto* back = new TImage(form);
    back->SetParent(form);
    back->SetBounds(10, 10, 40, 40);
    Solid(back->Picture()->Bitmap(), 40, 40, 0x0000FF);
    auto* front = new TImage(form);
    front->SetParent(form);
    front->SetBounds(30, 30, 40, 40);
    Solid(front->Picture()->Bitmap(), 40, 40, 0xFF0000);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetColor(0x00FF00);
    label->SetCaption("Link");
    label->SetLeft(120);
    label->SetTop(20);
    ShowAndPaint();

    EXPECT_EQ(0x0000FFu, ScreenPixelAt(15, 15)); // painted on the screen
    EXPECT_EQ(0x0000FFu, PixelAt(15, 15));
    EXPECT_EQ(0xFF0000u, PixelAt(35, 35)); // the later control lies on top
    EXPECT_EQ(0xFFFFFFu, PixelAt(5, 5));   // bare form: its colour
    EXPECT_GT(label->Width(), 10);        // sized to its caption
    EXPECT_EQ(0x00FF00u, PixelAt(label->Left(), label->Top()));
    bool dark = false;
    TCanvas* shot = Capture().Canvas();
    for (int x = label->Left(); x < label->Left() + label->Width(); ++x)
        for (int y = label->Top(); y < label->Top() + label->Height(); ++y) dark |= shot->Pixel(x, y) == 0;
    EXPECT_TRUE(dark) << "the caption is drawn in the font's colour";

    back->BringToFront();
    front->Hide();
    ::UpdateWindow(form->Handle());
    EXPECT_EQ(0x0000FFu, PixelAt(35, 35));
    EXPECT_EQ(0xFFFFFFu, PixelAt(60, 60)); // a hidden control leaves the background

    label->SetTransparent(true);
    ::UpdateWindow(form->Handle());
    EXPECT_EQ(0xFFFFFFu, PixelAt(label->Left(), label->Top()));
}

TEST_F(Window, TransparentStretchedAndCentredPictures)
{
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(0, 0, 60, 60);
    TBitmap* bitmap = Solid(image->Picture()->Bitmap(), 10, 10, 0x00FF00);
    bitmap->Canvas()->Brush()->SetColor(0x0000FF);
    bitmap->Canvas()->FillRect(RECT{0, 0, 5, 5}); // top-left red, rest green
    image->SetCenter(true);
    ShowAndPaint();
    EXPECT_EQ(0x0000FFu, PixelAt(26, 26));
    EXPECT_EQ(0xFFFFFFu, PixelAt(10, 10));

    image->SetTransparent(true); // bottom-left green becomes see-through
    ::UpdateWindow(form->Handle());
    EXPECT_EQ(0x0000FFu, PixelAt(26, 26));
    EXPECT_EQ(0xFFFFFFu, PixelAt(33, 33));

    image->SetTransparent(false);
    image->SetStretch(true);
    ::UpdateWindow(form->Handle());
    EXPECT_EQ(0x0000FFu, PixelAt(25, 25));
    EXPECT_EQ(0x00FF00u, PixelAt(35, 35));

    image->SetAutoSize(true);
    EXPECT_EQ(10, image->Width());
}

struct MouseLog {
    std::vector<std::string> Events;
    void Attach(TControl* Control, const std::string& Name)
    {
        Control->OnMouseMove = [this, Name](TObject*, TShiftState, int X, int Y) {
            Events.push_back(Name + " move " + std::to_string(X) + "," + std::to_string(Y));
        };
        Control->OnMouseDown = [this, Name](TObject*, TMouseButton B, TShiftState S, int X, int Y) {
            Events.push_back(Name + " down " + std::to_string(B) + ((S & ssDouble) ? " double" : ""));
        };
        Control->OnMouseUp = [this, Name](TObject*, TMouseButton B, TShiftState, int, int) {
            Events.push_back(Name + " up " + std::to_string(B));
        };
        Control->OnClick = [this, Name](TObject*) { Events.push_back(Name + " click"); };
        Control->OnDblClick = [this, Name](TObject*) { Events.push_back(Name + " dblclick"); };
    }
    std::string Take()
    {
        std::string all;
        for (auto& e : Events) all += (all.empty() ? "" : "; ") + e;
        Events.clear();
        return all;
    }
};

TEST_F(Window, MouseGoesToTheTopmostWindowlessControl)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 150, 100);
    panel->SetBevelOuter(bvNone);
    auto* a = new TImage(panel);
    a->SetParent(panel);
    a->SetBounds(10, 10, 50, 50);
    auto* b = new TImage(panel);
    b->SetParent(panel);
    b->SetBounds(40, 40, 50, 50);
    MouseLog log;
    log.Attach(panel, "panel");
    log.Attach(a, "a");
    log.Attach(b, "b");
    ShowAndPaint();
    HWND wnd = panel->Handle();

    ::SendMessageA(wnd, WM_MOUSEMOVE, 0, At(45, 45));
    EXPECT_EQ("b move 5,5", log.Take());
    ::SendMessageA(wnd, WM_MOUSEMOVE, 0, At(15, 20));
    EXPECT_EQ("a move 5,10", log.Take());
    ::SendMessageA(wnd, WM_MOUSEMOVE, 0, At(120, 90));
    EXPECT_EQ("panel move 120,90", log.Take());

    ::SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
    ::SendMessageA(wnd, WM_LBUTTONUP, 0, At(25, 25));
    EXPECT_EQ("a down 0; a up 0; a click", log.Take());

    // Pressed on a, released elsewhere: a keeps the mouse but is not clicked.
    ::SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
    ::SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(100, 90));
    ::SendMessageA(wnd, WM_LBUTTONUP, 0, At(100, 90));
    EXPECT_EQ("a down 0; a move 90,80; a up 0", log.Take());

    ::SendMessageA(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, At(80, 80));
    ::SendMessageA(wnd, WM_LBUTTONUP, 0, At(80, 80));
    EXPECT_EQ("b down 0 double; b dblclick; b up 0", log.Take());

    ::SendMessageA(wnd, WM_RBUTTONDOWN, MK_RBUTTON, At(80, 80));
    ::SendMessageA(wnd, WM_RBUTTONUP, 0, At(80, 80));
    EXPECT_EQ("b down 1; b up 1", log.Take());

    // Hidden and disabled controls let the mouse through.
    b->Hide();
    ::SendMessageA(wnd, WM_MOUSEMOVE, 0, At(45, 45));
    EXPECT_EQ("a move 35,35", log.Take());
    a->SetEnabled(false);
    ::SendMessageA(wnd, WM_MOUSEMOVE, 0, At(45, 45));
    EXPECT_EQ("panel move 45,45", log.Take());

    // The bare panel clicks too.
    ::SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(100, 10));
    ::SendMessageA(wnd, WM_LBUTTONUP, 0, At(100, 10));
    EXPECT_EQ("panel down 0; panel up 0; panel click", log.Take());
}

TEST_F(Window, FormAnswersClientHitsOverBareSkinAndWindowlessControls)
{
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(10, 10, 50, 50);
    image->Cursor = crHandPoint;
    ShowAndPaint();
    RECT r;
    ::GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(HTCLIENT, ::SendMessageA(form->Handle(), WM_NCHITTEST, 0, At(r.left + 20, r.top + 20)));
    EXPECT_EQ(HTCLIENT, ::SendMessageA(form->Handle(), WM_NCHITTEST, 0, At(r.left + 150, r.top + 100)));

    EXPECT_NE(nullptr, Screen->Cursors(crHandPoint));
    EXPECT_NE(Screen->Cursors(crHandPoint), Screen->Cursors(crDefault));
    ::SetCursorPos(r.left + 20, r.top + 20);
    EXPECT_TRUE(::SendMessageA(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(Screen->Cursors(crHandPoint), ::GetCursor());
}

TEST_F(Window, EditTextFiresOnChangeOnlyWhenItChanges)
{
    auto* edit = new TEdit(form);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText("before a window");
    EXPECT_EQ(1, changes);
    edit->SetParent(form);
    form->Handle();
    EXPECT_EQ("before a window", edit->Text());
    EXPECT_EQ(1, changes); // making the window is no change
    edit->SetText("abc");
    EXPECT_EQ(2, changes);
    edit->SetText("abc");
    EXPECT_EQ(2, changes);
    edit->SetMaxLength(2);
    ::SendMessageA(edit->Handle(), WM_CHAR, 'x', 0);
    EXPECT_EQ("abc", edit->Text()); // full: typing is refused
}

TEST_F(Window, EditsClickAndReportFocusMovesWithinTheirWindow)
{
    auto* first = new TEdit(form);
    first->SetParent(form);
    first->BorderStyle = bsNone;
    auto* second = new TEdit(form);
    second->SetParent(form);
    second->SetTop(40);
    std::string log;
    first->OnClick = [&](TObject*) { log += "click;"; };
    first->OnEnter = [&](TObject*) { log += "enter1;"; };
    first->OnExit = [&](TObject*) { log += "exit1;"; };
    second->OnEnter = [&](TObject*) { log += "enter2;"; };
    ShowAndPaint();
    EXPECT_FALSE(::GetWindowLongPtrA(first->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(::GetWindowLongPtrA(second->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    ::SendMessageA(first->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    ::SendMessageA(first->Handle(), WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_EQ("enter1;click;", log); // the press took the focus from the form
    log.clear();
    second->SetFocus();
    EXPECT_EQ("exit1;enter2;", log);
    log.clear();
    // Focus leaving for another window is no exit.
    TForm other(nullptr);
    auto* elsewhere = new TEdit(&other);
    elsewhere->SetParent(&other);
    other.Show();
    first->SetFocus();
    log.clear();
    elsewhere->SetFocus();
    EXPECT_EQ("", log);
}

// A single-line edit takes the first line of what is pasted, as Windows'
// own does; Wine's would keep a lone carriage return.
TEST_F(Window, EditPastesOneLine)
{
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    for (const char* pasted : {"home\rnet", "home\nnet", "home\r\nnet", "home"}) {
        edit->SetText("");
        ASSERT_TRUE(::OpenClipboard(nullptr));
        ::EmptyClipboard();
        HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, std::strlen(pasted) + 1);
        std::strcpy(static_cast<char*>(::GlobalLock(data)), pasted);
        ::GlobalUnlock(data);
        ::SetClipboardData(CF_TEXT, data);
        ::CloseClipboard();
        ::SendMessageA(edit->Handle(), WM_PASTE, 0, 0);
        EXPECT_EQ(edit->Text(), "home") << pasted;
    }
}

TEST_F(Window, MaskedEditKeepsLiteralsOutOfItsText)
{
    auto* edit = new TMaskEdit(form);
    edit->SetParent(form);
    edit->SetCharCase(ecUpperCase);
    edit->SetEditMask("aa:aa:aa;0;0");
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText("1a2B");
    EXPECT_EQ("1A:2B:00", edit->EditText());
    EXPECT_EQ("1A2B  ", edit->Text());
    EXPECT_EQ(1, changes);

    edit->SetSelStart(0);
    for (char c : std::string("f-e9"))
        ::SendMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
    EXPECT_EQ("FE:9B:00", edit->EditText()); // overwritten; '-' refused, the separator skipped
    ::SendMessageA(edit->Handle(), WM_CHAR, '\b', 0);
    EXPECT_EQ("FE:0B:00", edit->EditText());
    EXPECT_EQ("FE B  ", edit->Text());

    edit->SetEditMask("aaaaa;0; ");
    EXPECT_EQ("FE B ", edit->EditText());
    edit->SetEditMask("");
    EXPECT_EQ("FE B ", edit->Text());
}

TEST_F(Window, ComboItemIndexIsQuietUserChoiceIsNot)
{
    auto* combo = new TComboBox(form);
    combo->Style = csDropDownList;
    combo->Items()->Add("Disabled");
    combo->Items()->Add("64 Bits");
    combo->Items()->Add("128 Bits");
    combo->SetParent(form);
    combo->SetItemIndex(1);
    form->Handle();
    EXPECT_EQ("64 Bits", combo->Text()); // the index set before the window shows in it
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->SetItemIndex(2);
    EXPECT_EQ(2, combo->ItemIndex());
    EXPECT_EQ("128 Bits", combo->Text());
    EXPECT_EQ(0, changes);
    // The user picks with the keyboard.
    ::SendMessageA(combo->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(1, combo->ItemIndex());
    EXPECT_EQ(1, changes);
    combo->Items()->Add("152 Bits");
    EXPECT_EQ(1, combo->ItemIndex()); // more items keep the choice
}

TEST_F(Window, CheckingARadioButtonClicksItAndClearsItsSiblings)
{
    auto* one = new TRadioButton(form);
    auto* two = new TRadioButton(form);
    one->SetParent(form);
    two->SetParent(form);
    two->SetTop(30);
    std::string clicks;
    one->OnClick = [&](TObject*) { clicks += "1"; };
    two->OnClick = [&](TObject*) { clicks += "2"; };
    one->SetChecked(true);
    EXPECT_EQ("1", clicks);
    two->SetChecked(true);
    EXPECT_EQ("12", clicks);
    EXPECT_FALSE(one->Checked());
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageA(one->Handle(), BM_GETCHECK, 0, 0));
    two->SetChecked(false);
    EXPECT_EQ("12", clicks); // unchecking is no click
    ::SendMessageA(one->Handle(), BM_CLICK, 0, 0); // the user
    EXPECT_EQ("121", clicks);
    EXPECT_TRUE(one->Checked());
}

TEST_F(Window, ButtonClicksAndHandsItsModalResultToTheForm)
{
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetCaption("OK");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->ModalResult = mrOk;
    ::SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(mrOk, form->ModalResult);
}

// Keys typed one at a time, as the keyboard sends them to whichever window
// has the focus, once a window captioned Caption is up.
struct {
    std::string Caption;
    std::vector<UINT> Keys;
    size_t Next = 0;
} Typist;

void CALLBACK TypeNextKey(HWND, UINT, UINT_PTR Timer, DWORD)
{
    HWND window = ::FindWindowA(nullptr, Typist.Caption.c_str());
    HWND focus = ::GetFocus();
    if (!window || !::IsWindowVisible(window) || !focus) return; // not up yet
    if (Typist.Next == Typist.Keys.size()) {
        ::KillTimer(nullptr, Timer);
        return;
    }
    const UINT key = Typist.Keys[Typist.Next++];
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageA(focus, WM_KEYDOWN, key, scan | 1);
    ::PostMessageA(focus, WM_KEYUP, key, scan | 0xC0000001);
}

// Enter presses the button that has the focus, and OK from the edit; Esc
// cancels from anywhere.
TEST(InputBox, EnterPressesTheFocusedButtonElseOkAndEscCancels)
{
    struct {
        std::vector<UINT> Keys;
        const char* Answer;
    } const cases[] = {
        {{'A', 'B', VK_RETURN}, "ab"},
        {{'A', 'B', VK_TAB, VK_RETURN}, "ab"},
        {{'A', 'B', VK_TAB, VK_TAB, VK_RETURN}, "was"},
        {{'A', 'B', VK_ESCAPE}, "was"},
        {{'A', 'B', VK_TAB, VK_TAB, VK_TAB, VK_ESCAPE}, "was"},
    };
    for (const auto& c : cases) {
        Typist = {"Name it", c.Keys, 0};
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, TypeNextKey);
        EXPECT_EQ(InputBox("Name it", "A name:", "was"), c.Answer) << c.Keys.size() << " keys";
        ::KillTimer(nullptr, timer);
        EXPECT_EQ(Typist.Next, c.Keys.size());
    }
}

TEST_F(Window, ListViewRowsChangesAndTips)
{
    auto* list = new TListView(form);
    list->SetParent(form);
    list->RowSelect = true;
    list->AddColumn("Name", 80);
    list->AddColumn("SSID", 60);
    std::vector<std::string> changed;
    list->OnChange = [&](TObject*, TListItem* Item, TItemChange) { changed.push_back(Item->Caption()); };
    for (const char* name : {"home", "office", "lab"}) {
        TListItem* item = list->Items()->Add();
        item->SetCaption(name);
        item->SubItems()->Add(std::string(name) + "-net");
    }
    ASSERT_EQ(3, list->Items()->Count());
    char text[32] = {};
    LVITEMA sub{};
    sub.iSubItem = 1;
    sub.pszText = text;
    sub.cchTextMax = sizeof text;
    ::SendMessageA(list->Handle(), LVM_GETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&sub));
    EXPECT_STREQ("office-net", text);
    EXPECT_EQ(nullptr, list->Selected());
    EXPECT_EQ(-1, list->ItemIndex());

    changed.clear();
    list->Items()->Item(2)->SetSelected(true);
    EXPECT_EQ(2, list->ItemIndex());
    EXPECT_EQ("lab", list->Selected()->Caption());
    ASSERT_FALSE(changed.empty());
    EXPECT_EQ("lab", changed.back());

    // The pointer over a row: the list's own tooltip asks it for the row's tip.
    list->OnInfoTip = [](TObject*, TListItem* Item, std::string& Tip) { Tip = "tip of " + Item->Caption(); };
    RECT row{};
    row.left = LVIR_BOUNDS;
    ::SendMessageA(list->Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    ::SendMessageA(list->Handle(), WM_MOUSEMOVE, 0, At(row.left + 10, (row.top + row.bottom) / 2));
    struct Search {
        HWND Owner, Tip;
    } search{::GetAncestor(list->Handle(), GA_ROOT), nullptr}; // a tooltip's owner is a top-level window
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND Wnd, LPARAM Param) -> BOOL CALLBACK {
            auto* s = reinterpret_cast<Search*>(Param);
            char name[64] = {};
            ::GetClassNameA(Wnd, name, sizeof name);
            if (std::strcmp(name, TOOLTIPS_CLASSA) == 0 && ::GetWindow(Wnd, GW_OWNER) == s->Owner) s->Tip = Wnd;
            return !s->Tip;
        },
        reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(search.Tip, nullptr);
    NMTTDISPINFOA tip{};
    tip.hdr.hwndFrom = search.Tip;
    tip.hdr.code = TTN_GETDISPINFOA;
    ::SendMessageA(list->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(tip.lpszText, nullptr);
    EXPECT_STREQ("tip of office", tip.lpszText);

    list->Items()->Delete(0);
    EXPECT_EQ(2, list->Items()->Count());
    EXPECT_EQ("office", list->Items()->Item(0)->Caption());
    EXPECT_EQ(1, list->Items()->Item(1)->Index());
    list->Items()->Clear();
    EXPECT_EQ(0, list->Items()->Count());
}

TEST_F(Window, AutoSizeColumnTakesTheClientWidthAsTheScrollBarComesAndGoes)
{
    auto* list = new TListView(form);
    list->SetParent(form);
    list->SetBounds(0, 0, 180, 100);
    list->AddColumn("SSID", 97);
    list->AddColumn("Band", 0, true);
    ShowAndPaint();
    auto clientWidth = [&] {
        RECT client;
        ::GetClientRect(list->Handle(), &client);
        return static_cast<int>(client.right);
    };
    auto style = [&] { return ::GetWindowLongA(list->Handle(), GWL_STYLE); };
    EXPECT_EQ(clientWidth() - 97, list->ColumnWidth(1));
    const int wide = list->ColumnWidth(1);

    for (int i = 0; i < 20; ++i) list->Items()->Add()->SetCaption("network " + std::to_string(i));
    Pump();
    ASSERT_TRUE(style() & WS_VSCROLL);
    EXPECT_FALSE(style() & WS_HSCROLL);
    EXPECT_EQ(clientWidth() - 97, list->ColumnWidth(1));
    EXPECT_LT(list->ColumnWidth(1), wide);

    list->SetColumnWidth(0, 120);
    EXPECT_EQ(clientWidth() - 120, list->ColumnWidth(1));
    list->SetColumnWidth(0, 97);
    list->Items()->Clear();
    Pump();
    EXPECT_FALSE(style() & WS_VSCROLL);
    EXPECT_EQ(wide, list->ColumnWidth(1));
}

TEST_F(Window, ImageListHoldsIconsAtItsSize)
{
    TImageList images(form);
    TBitmap bitmap;
    Solid(&bitmap, 32, 32, 0x0000FF);
    EXPECT_EQ(0, images.Add(&bitmap, nullptr));
    TIcon icon;
    images.GetIcon(0, &icon);
    EXPECT_EQ(16, icon.Width());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(i + 1, images.AddIcon(&icon));
    EXPECT_EQ(4, images.Count());
    TBitmap target;
    Solid(&target, 16, 16, clBlack)->SetPixelFormat(pf24bit);
    images.Draw(target.Canvas(), 0, 0, 3);
    EXPECT_EQ(0x0000FF, target.Canvas()->Pixel(8, 8));
    EXPECT_THROW(images.GetIcon(4, &icon), EInvalidOperation);

    // A strip of two pictures with a mask colour: two pictures.
    TBitmap strip;
    Solid(&strip, 32, 16, 0xFF00FF);
    strip.Canvas()->Brush()->SetColor(0x00FF00);
    strip.Canvas()->FillRect(RECT{20, 4, 28, 12});
    EXPECT_EQ(4, images.AddMasked(&strip, 0xFF00FF));
    EXPECT_EQ(6, images.Count());
    Solid(&target, 16, 16, clBlack)->SetPixelFormat(pf24bit);
    images.Draw(target.Canvas(), 0, 0, 5);
    EXPECT_EQ(0x00FF00, target.Canvas()->Pixel(8, 8));
    EXPECT_EQ(clBlack, target.Canvas()->Pixel(1, 1)); // the mask colour is see-through
    images.Clear();
    EXPECT_EQ(0, images.Count());
}

void CALLBACK TypeIntoMenu(HWND, UINT, UINT_PTR Id, DWORD)
{
    ::KillTimer(nullptr, Id);
    for (BYTE key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
        ::keybd_event(key, 0, 0, 0);
        ::keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    }
}

TEST_F(Window, PopupMenuRunsTheChosenItem)
{
    TPopupMenu menu(form);
    std::string ran;
    for (const char* caption : {"Open", "-", "Exit"}) {
        auto* item = new TMenuItem(nullptr);
        item->Caption = caption;
        item->OnClick = [&ran, caption](TObject*) { ran = caption; };
        menu.Items()->Add(item);
    }
    menu.Items()->Items(0)->Enabled = false;
    auto* owned = new TMenuItem(form); // goes with the form, not with the menu
    owned->Caption = "Owned";
    owned->Visible = false;
    menu.Items()->Add(owned);
    EXPECT_EQ(4, menu.Items()->Count());
    ShowAndPaint();
    ::SetForegroundWindow(form->Handle());
    // Keys typed while the menu is up: down over the greyed item to the last, then enter.
    ::SetTimer(nullptr, 0, 200, TypeIntoMenu);
    menu.Popup(60, 60);
    EXPECT_EQ("Exit", ran);
}

TEST_F(Window, ParentFontFollowsUntilAControlSetsItsOwn)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* label = new TLabel(form);
    label->SetParent(panel);
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    form->Font()->SetName("Tahoma");
    EXPECT_EQ("Tahoma", label->Font()->Name());
    EXPECT_EQ("Tahoma", edit->Font()->Name());
    label->Font()->SetSize(12);
    EXPECT_FALSE(label->ParentFont());
    form->Font()->SetName("Courier New");
    EXPECT_EQ("Tahoma", label->Font()->Name());
    EXPECT_EQ("Courier New", edit->Font()->Name());
    EXPECT_EQ(reinterpret_cast<WPARAM>(edit->Font()->Handle()),
              static_cast<WPARAM>(::SendMessageA(edit->Handle(), WM_GETFONT, 0, 0)));
}

} // namespace
