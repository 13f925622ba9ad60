// The WEP key dialog and the WEP controls it shares with the profile wizard,
// in process over the stand-in WEP key library: the state each opening
// starts from, levels and masks, the key field's filter, keys made from a
// passphrase, what OK and every other way of closing hand back, a library
// without an entry point, and the skin: background, picture buttons, dragging.
#include "dialog_user.h"
#include "mainfrm_harness.h"
#include "toolkit/application.h"
#include "vantra/drivers/bindings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace {

using User::Choose;
using User::Press;
using User::Type;

// The text of the key field without its empty positions.
std::string Digits(TMaskEdit* Key)
{
    std::string digits;
    for (char c : Key->Text())
        if (c != ' ') digits += c;
    return digits;
}

// What the key field shows, without its separators.
std::string Shown(TMaskEdit* Key)
{
    std::string shown;
    for (char c : Key->EditText())
        if (c != ':') shown += c;
    return shown;
}

// What the stand-in library makes of a passphrase: four keys back to back.
std::string LibraryKeys(const std::string& Passphrase, int KeySize)
{
    LoadWepLibrary();
    char output[WepKeyOutputSize] = {};
    Wep.Wep_GenWepKeys(Passphrase.c_str(), KeySize, output);
    return output;
}

// The screen's pixels in Area, as a BMP file.
void SaveScreenArea(const RECT& Area, const std::string& FileName)
{
    TBitmap shot;
    shot.SetPixelFormat(pf24bit);
    shot.SetSize(Area.right - Area.left, Area.bottom - Area.top);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(shot.Canvas()->Handle(), 0, 0, shot.Width(), shot.Height(), screen, Area.left, Area.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    shot.SaveToFile(FileName);
}

class WepDialog : public testing::Test {
protected:
    void SetUp() override
    {
        Dialog = Harness::Dialog();
        Harness::Reset();
    }
    // Runs Steps while the dialog is up, as the user acts in its modal loop;
    // whatever Steps leaves open is closed.
    void WhileOpen(const std::function<void()>& Steps)
    {
        User::WhileModal(Dialog, [&] { Dialog->ShowModal(); }, Steps);
    }
    bool Usable(TWinControl* Control) { return ::IsWindowEnabled(Control->Handle()) && Control->Color() == clWhite; }
    bool Greyed(TWinControl* Control) { return !::IsWindowEnabled(Control->Handle()) && Control->Color() == clBtnFace; }

    TSiteSurveyWEPFrm* Dialog = nullptr;
};

TEST_F(WepDialog, OpensAtDisabledWithPassphraseAndKeyGreyedAndEmpty)
{
    // What an earlier opening left behind.
    WhileOpen([&] {
        Choose(Dialog->WEPSet_WEP, 2);
        Type(Dialog->WEPSet_Passphrase, "left over");
    });
    WhileOpen([&] {
        EXPECT_EQ(Dialog->WEPSet_WEP->ItemIndex(), 0);
        EXPECT_EQ(Dialog->WEPSet_WEP->Text(), "Disabled");
        EXPECT_TRUE(Greyed(Dialog->WEPSet_Passphrase));
        EXPECT_EQ(Dialog->WEPSet_Passphrase->Text(), "");
        EXPECT_TRUE(Greyed(Dialog->WEPSet_WEPKey1));
        EXPECT_EQ(Digits(Dialog->WEPSet_WEPKey1), "");

        Choose(Dialog->WEPSet_WEP, 1);
        EXPECT_TRUE(Usable(Dialog->WEPSet_Passphrase));
        EXPECT_TRUE(Usable(Dialog->WEPSet_WEPKey1));
        EXPECT_EQ(Dialog->WEPSet_WEPKey1->EditMask(), "aa:aa:aa:aa:aa;0;0");
        EXPECT_EQ(Dialog->WEPSet_WEPKey1->EditText(), "00:00:00:00:00");

        Choose(Dialog->WEPSet_WEP, 0);
        EXPECT_TRUE(Greyed(Dialog->WEPSet_Passphrase));
        EXPECT_TRUE(Greyed(Dialog->WEPSet_WEPKey1));
        EXPECT_EQ(Dialog->WEPSet_WEPKey1->EditMask(), "");
        Press(Dialog->WEP_CancelBtn);
    });
    EXPECT_EQ(Dialog->Result, 0);
    EXPECT_FALSE(Dialog->Visible());
}

TEST_F(WepDialog, OkHandsBackLevelAndKeyOneAnyOtherCloseARefusal)
{
    WhileOpen([&] {
        Choose(Dialog->WEPSet_WEP, 2);
        Type(Dialog->WEPSet_WEPKey1, "0a1B2c3D4e5F60718293a4b5c6");
        EXPECT_EQ(Dialog->WEPSet_WEPKey1->EditText(), "0A:1B:2C:3D:4E:5F:60:71:82:93:A4:B5:C6");
        Press(Dialog->WEP_OKBtn);
    });
    EXPECT_EQ(Dialog->Result, 1);
    const WlanWepInfo& wep = Dialog->WepInfo;
    EXPECT_EQ(wep.EncryptionLevel, 2);
    EXPECT_EQ(wep.WepKeyToUse, 0);
    EXPECT_EQ(wep.PassphraseUsed, 0);
    const uint8_t key[16] = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x60, 0x71, 0x82, 0x93, 0xA4, 0xB5, 0xC6};
    EXPECT_EQ(std::memcmp(wep.WepKey1, key, 16), 0);
    const uint8_t zero[16] = {};
    for (const uint8_t* other : {wep.WepKey2, wep.WepKey3, wep.WepKey4}) EXPECT_EQ(std::memcmp(other, zero, 16), 0);
    EXPECT_EQ(wep.WepMode, 0);
    EXPECT_EQ(wep.AuthenticationType, 0);
    EXPECT_EQ(wep.Passphrase[0], 0);

    // OK at "Disabled" after that: no key, not the earlier one.
    WhileOpen([&] { Press(Dialog->WEP_OKBtn); });
    EXPECT_EQ(Dialog->Result, 1);
    EXPECT_EQ(Dialog->WepInfo.EncryptionLevel, 0);
    EXPECT_EQ(std::memcmp(Dialog->WepInfo.WepKey1, zero, 16), 0);

    // Closed otherwise (Alt+F4, the program's exit): the earlier OK does not count.
    WhileOpen([&] { ::SendMessageA(Dialog->Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(Dialog->Result, 0);

    // Enter in a field is OK; Esc is Cancel.
    WhileOpen([&] {
        Choose(Dialog->WEPSet_WEP, 1);
        Dialog->WEPSet_WEPKey1->SetFocus();
        Type(Dialog->WEPSet_WEPKey1, "1122334455");
        User::Chord(0, VK_RETURN);
    });
    EXPECT_EQ(Dialog->Result, 1);
    EXPECT_EQ(Dialog->WepInfo.EncryptionLevel, 1);
    EXPECT_EQ(Dialog->WepInfo.WepKey1[4], 0x55);
    WhileOpen([&] {
        Dialog->WEPSet_Passphrase->SetFocus();
        User::Chord(0, VK_ESCAPE);
        EXPECT_EQ(Dialog->ModalResult, mrCancel); // closing already, not by the test's own close
    });
    EXPECT_EQ(Dialog->Result, 0);
}

// Opened, the dialog takes the keys at once, as the keyboard sends them:
// the arrow keys change the level, Esc closes it. The window it was opened
// from is active again once it has closed.
TEST_F(WepDialog, TakesTheKeysAtOnceAndGivesTheActivationBack)
{
    TMainFrm* form = Harness::Form();
    form->Show();
    ::SetForegroundWindow(form->Handle());
    Application->ProcessMessages();
    WhileOpen([&] {
        EXPECT_EQ(::GetForegroundWindow(), Dialog->Handle());
        User::Chord(0, VK_DOWN);
        EXPECT_EQ(Dialog->WEPSet_WEP->ItemIndex(), 1);
        EXPECT_TRUE(Usable(Dialog->WEPSet_WEPKey1));
        User::Chord(0, VK_ESCAPE);
        EXPECT_EQ(Dialog->ModalResult, mrCancel);
    });
    EXPECT_EQ(Dialog->Result, 0);
    EXPECT_FALSE(Dialog->Visible());
    EXPECT_EQ(::GetActiveWindow(), form->Handle());
    form->Hide();
}

TEST_F(WepDialog, KeyFieldTakesHexadecimalDigitsOnlyAndBackspaceDeletes)
{
    WhileOpen([&] {
        Choose(Dialog->WEPSet_WEP, 1);
        Type(Dialog->WEPSet_WEPKey1, "g- ");
        EXPECT_EQ(Digits(Dialog->WEPSet_WEPKey1), "");
        Type(Dialog->WEPSet_WEPKey1, "1g2-3 ");
        EXPECT_EQ(Dialog->WEPSet_WEPKey1->EditText(), "12:30:00:00:00");
        Type(Dialog->WEPSet_WEPKey1, "\b");
        EXPECT_EQ(Digits(Dialog->WEPSet_WEPKey1), "12");
        Type(Dialog->WEPSet_WEPKey1, "3");
        Press(Dialog->WEP_OKBtn);
    });
    // Digits missing at the end count as 0.
    const uint8_t key[5] = {0x12, 0x30, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(Dialog->WepInfo.WepKey1, key, 5), 0);
}

// A masked key field takes typing wherever the user enters it: a click past
// its last filled position puts the caret on its first blank one, Tab
// selects it whole, and a digit typed over a selection fills from the
// selection's first position. So also the wizard's key field.
TEST_F(WepDialog, KeyFieldTakesTypingAfterAClickAnywhereOrTab)
{
    auto click = [](TMaskEdit* Key, int X) {
        const LPARAM at = MAKELPARAM(X, Key->Height() / 2);
        ::SendMessageA(Key->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageA(Key->Handle(), WM_LBUTTONUP, 0, at);
        Application->ProcessMessages();
    };
    TMaskEdit* key = Dialog->WEPSet_WEPKey1;
    WhileOpen([&] {
        Choose(Dialog->WEPSet_WEP, 1);
        for (int x : {key->Width() - 8, key->Width() / 2, 2}) {
            Choose(Dialog->WEPSet_WEP, 1); // empties the key
            click(key, x);
            Type(key, "1122334455");
            EXPECT_EQ(key->EditText(), "11:22:33:44:55") << "clicked at " << x;
        }
        // Part of a key typed: a click past it goes on at its first blank position.
        Choose(Dialog->WEPSet_WEP, 1);
        Type(key, "112");
        click(key, key->Width() - 8);
        Type(key, "2334455");
        EXPECT_EQ(key->EditText(), "11:22:33:44:55");
        // Over a selection, from its first position.
        ::SendMessageA(key->Handle(), EM_SETSEL, 3, 8);
        Type(key, "9");
        EXPECT_EQ(key->EditText(), "11:90:00:44:55");
        // Entered by Tab from the passphrase: typing replaces the key.
        Dialog->WEPSet_Passphrase->SetFocus();
        ::SendMessageA(Dialog->WEPSet_Passphrase->Handle(), WM_KEYDOWN, VK_TAB, 0);
        EXPECT_TRUE(key->Focused());
        Type(key, "AB");
        EXPECT_EQ(key->EditText(), "AB:00:00:00:00");
        click(key, key->Width() - 8);
        Type(key, "CDEF012345");
        Press(Dialog->WEP_OKBtn);
    });
    const uint8_t typed[5] = {0xAB, 0xCD, 0xEF, 0x01, 0x23};
    EXPECT_EQ(std::memcmp(Dialog->WepInfo.WepKey1, typed, 5), 0);

    // The wizard's key field, on its WEP page at 64 bits.
    TMainFrm* form = Harness::Form();
    form->Profiles.NewProfile = ProfileSetting{};
    form->Profiles.NewProfile.Wep.EncryptionLevel = 1;
    form->Show();
    form->ShowWizardPage(Page::WizardWep);
    TMaskEdit* wizardKey = form->WEPSet_WEPKey1;
    click(wizardKey, wizardKey->Width() / 2);
    Type(wizardKey, "1122334455");
    EXPECT_EQ(wizardKey->EditText(), "11:22:33:44:55");
    form->ExitWizard();
    form->Img_LinkClick(nullptr);
    Harness::Pump();
}

// However a paste is asked for (WM_PASTE, Shift+Insert, Ctrl+V), the key
// field takes it as typed keys: hexadecimal digits, with or without the
// separators in their places; anything else, or more than the key holds,
// leaves the key as it was. Ctrl+A, Ctrl+C and Ctrl+X work as in any field.
TEST_F(WepDialog, KeyFieldTakesEveryPasteAsTypingAndTheEditingShortcuts)
{
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"WM_PASTE", [] { ::SendMessageA(::GetFocus(), WM_PASTE, 0, 0); }},
        {"Shift+Insert", [] { User::Chord(VK_SHIFT, VK_INSERT); }},
        {"Ctrl+V", [] { User::Chord(VK_CONTROL, 'V'); }},
    };
    TMaskEdit* key = Dialog->WEPSet_WEPKey1;
    WhileOpen([&] {
        Choose(Dialog->WEPSet_WEP, 1);
        key->SetFocus();
        for (const auto& way : ways) {
            struct {
                const char *Pasted, *Shown;
            } const cases[] = {
                {"zz-zz", "12:00:00:00:00"},
                {"1122334455AB", "12:00:00:00:00"},
                {"34:a", "12:34:A0:00:00"},
                {"aa:bb:cc:dd:ee", "AA:BB:CC:DD:EE"},
                {"0123456789", "01:23:45:67:89"},
            };
            for (const auto& c : cases) {
                key->SetText("12");
                key->SetSelStart(3);
                if (c.Shown[0] != '1') key->SelectAll();
                User::SetClipboard(c.Pasted);
                way.second();
                Application->ProcessMessages();
                EXPECT_EQ(key->EditText(), c.Shown) << way.first << " of " << c.Pasted;
            }
        }
        key->SetSelStart(0);
        User::Chord(VK_CONTROL, 'A');
        EXPECT_EQ(key->SelLength(), 14);
        User::Chord(VK_CONTROL, 'C');
        EXPECT_EQ(User::Clipboard(), "01:23:45:67:89");
        ::SendMessageA(key->Handle(), EM_SETSEL, 3, 8);
        User::Chord(VK_CONTROL, 'X');
        EXPECT_EQ(User::Clipboard(), "23:45");
        EXPECT_EQ(key->EditText(), "01:00:00:67:89");
        ::SendMessageA(key->Handle(), EM_SETSEL, 3, 3);
        User::Chord(VK_CONTROL, 'V');
        EXPECT_EQ(key->EditText(), "01:23:45:67:89");
        Press(Dialog->WEP_OKBtn);
    });
    const uint8_t pasted[5] = {0x01, 0x23, 0x45, 0x67, 0x89};
    EXPECT_EQ(std::memcmp(Dialog->WepInfo.WepKey1, pasted, 5), 0);
}

// The ways a paste finds no text on the clipboard.
enum class NoText { Emptied, PictureOnly, HeldOpen };

// Another program holds the clipboard open, with text on it, while this lives.
class ClipboardHeldOpen {
public:
    ClipboardHeldOpen()
    {
        User::SetClipboard("from elsewhere");
        Holder = std::thread([this] {
            ::OpenClipboard(nullptr);
            ::SetEvent(Opened);
            ::WaitForSingleObject(Release, 10000);
            ::CloseClipboard();
        });
        EXPECT_EQ(::WaitForSingleObject(Opened, 10000), WAIT_OBJECT_0);
    }
    ~ClipboardHeldOpen()
    {
        ::SetEvent(Release);
        Holder.join();
        ::CloseHandle(Opened);
        ::CloseHandle(Release);
    }

private:
    HANDLE Opened = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE Release = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::thread Holder;
};

// Leaves no text to paste, in the way named; a held clipboard is let go
// when the answer goes.
std::unique_ptr<ClipboardHeldOpen> LeaveNoText(NoText Way)
{
    if (Way == NoText::HeldOpen) return std::make_unique<ClipboardHeldOpen>();
    EXPECT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    if (Way == NoText::PictureOnly) ::SetClipboardData(CF_BITMAP, ::CreateBitmap(8, 8, 1, 32, nullptr));
    ::CloseClipboard();
    return nullptr;
}

constexpr NoText NoTextWays[] = {NoText::Emptied, NoText::PictureOnly, NoText::HeldOpen};

// A paste that finds no text changes nothing, as in Windows' own edit: the
// wizard's SSID and the dialog's key, selected whole, keep what was typed,
// and OK hands back the key typed. A paste of text still replaces.
TEST_F(WepDialog, APasteThatFindsNoTextChangesNothing)
{
    TMainFrm* form = Harness::Form();
    form->Profiles.NewProfile = ProfileSetting{};
    form->Show();
    form->ShowWizardPage(Page::WizardNetwork);
    TEdit* ssid = form->ProfileSet_SSID;
    HWND plain = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 100, 10, 140, 24, form->Handle(), nullptr,
                                   nullptr, nullptr);
    auto pasteOver = [](HWND Field, const char* Typed) {
        ::SetWindowTextA(Field, Typed);
        ::SetFocus(Field);
        ::SendMessageA(Field, EM_SETSEL, 0, -1);
        User::Chord(VK_CONTROL, 'V');
        char text[64] = {};
        ::GetWindowTextA(Field, text, sizeof text);
        return std::string(text);
    };
    for (NoText way : NoTextWays) {
        const auto held = LeaveNoText(way);
        EXPECT_EQ(pasteOver(plain, "attic-ap"), "attic-ap") << static_cast<int>(way);
        EXPECT_EQ(pasteOver(ssid->Handle(), "attic-ap"), "attic-ap") << static_cast<int>(way);
    }
    User::SetClipboard("loft-ap");
    EXPECT_EQ(pasteOver(plain, "attic-ap"), "loft-ap");
    EXPECT_EQ(pasteOver(ssid->Handle(), "attic-ap"), "loft-ap");
    ::DestroyWindow(plain);
    form->ExitWizard();
    form->Img_LinkClick(nullptr);
    Harness::Pump();

    TMaskEdit* key = Dialog->WEPSet_WEPKey1;
    WhileOpen([&] {
        Choose(Dialog->WEPSet_WEP, 1);
        key->SetFocus();
        User::SetClipboard("99:88:77:66:55");
        User::Chord(VK_CONTROL, 'V');
        EXPECT_EQ(key->EditText(), "99:88:77:66:55");
        key->SelectAll();
        Type(key, "1122334455");
        for (NoText way : NoTextWays) {
            const auto held = LeaveNoText(way);
            key->SelectAll();
            User::Chord(VK_CONTROL, 'V');
            EXPECT_EQ(key->EditText(), "11:22:33:44:55") << static_cast<int>(way);
        }
        Press(Dialog->WEP_OKBtn);
    });
    EXPECT_EQ(Dialog->Result, 1);
    const uint8_t typed[5] = {0x11, 0x22, 0x33, 0x44, 0x55};
    EXPECT_EQ(std::memcmp(Dialog->WepInfo.WepKey1, typed, 5), 0);
}

TEST_F(WepDialog, PassphraseMakesKeyOneAndEmptyingItEmptiesTheKey)
{
    WhileOpen([&] {
        Choose(Dialog->WEPSet_WEP, 2);
        Type(Dialog->WEPSet_Passphrase, "k");
        EXPECT_EQ(Shown(Dialog->WEPSet_WEPKey1), LibraryKeys("k", 13).substr(0, 26));
        Type(Dialog->WEPSet_Passphrase, "estrel");
        EXPECT_EQ(Shown(Dialog->WEPSet_WEPKey1), LibraryKeys("kestrel", 13).substr(0, 26));
        // Typing in the key does not touch the passphrase; the next change of
        // the passphrase makes the key again.
        Dialog->WEPSet_WEPKey1->SetSelStart(0);
        Type(Dialog->WEPSet_WEPKey1, "FF");
        EXPECT_EQ(Dialog->WEPSet_Passphrase->Text(), "kestrel");
        Type(Dialog->WEPSet_Passphrase, "\b");
        EXPECT_EQ(Shown(Dialog->WEPSet_WEPKey1), LibraryKeys("kestre", 13).substr(0, 26));
        Type(Dialog->WEPSet_Passphrase, std::string(6, '\b'));
        EXPECT_EQ(Dialog->WEPSet_Passphrase->Text(), "");
        EXPECT_EQ(Digits(Dialog->WEPSet_WEPKey1), "");

        // A library that cannot make keys now leaves the key as it is.
        Type(Dialog->WEPSet_WEPKey1, "ABCDE");
        Harness::ClearCalls();
        Harness::SetWorld("World", "Fail", "Wep_Init");
        Type(Dialog->WEPSet_Passphrase, "abc");
        EXPECT_EQ(Digits(Dialog->WEPSet_WEPKey1), "ABCDE");
        EXPECT_EQ(Harness::CallCount("Wep_Init"), 3u);
        EXPECT_EQ(Harness::CallCount("Wep_GenWepKeys"), 0u);
        Harness::SetWorld("World", "Fail", "");
        Type(Dialog->WEPSet_Passphrase, std::string(3, '\b'));

        // At 64 bits the key is the first ten characters of key 1.
        Choose(Dialog->WEPSet_WEP, 1);
        Type(Dialog->WEPSet_Passphrase, "Home");
        EXPECT_EQ(Shown(Dialog->WEPSet_WEPKey1), LibraryKeys("Home", 5).substr(0, 10));
        Press(Dialog->WEP_OKBtn);
    });
    EXPECT_EQ(Dialog->WepInfo.EncryptionLevel, 1);
    EXPECT_EQ(Dialog->WepInfo.PassphraseUsed, 1);
    uint8_t key[5];
    const std::string text = LibraryKeys("Home", 5);
    for (int i = 0; i < 5; ++i) key[i] = static_cast<uint8_t>(std::stoi(text.substr(2 * i, 2), nullptr, 16));
    EXPECT_EQ(std::memcmp(Dialog->WepInfo.WepKey1, key, 5), 0);
    // The passphrase itself is not handed back.
    EXPECT_EQ(Dialog->WepInfo.Passphrase[0], 0);
}

TEST_F(WepDialog, PassphraseStopsAt259Characters)
{
    WhileOpen([&] {
        Choose(Dialog->WEPSet_WEP, 1);
        Type(Dialog->WEPSet_Passphrase, std::string(300, 'p'));
        EXPECT_EQ(Dialog->WEPSet_Passphrase->Text(), std::string(259, 'p'));
        Choose(Dialog->WEPSet_WEP, 2);
        // A longer text set by the program reaches the library cut to fit.
        Harness::ClearCalls();
        Dialog->WEPSet_Passphrase->SetText(std::string(400, 'q'));
        const auto calls = Harness::CallLines("Wep_GenWepKeys");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_NE(calls[0].find("passphrase=\"" + std::string(259, 'q') + "\" keyLength=13"), std::string::npos);
        EXPECT_EQ(Shown(Dialog->WEPSet_WEPKey1), LibraryKeys(std::string(259, 'q'), 13).substr(0, 26));
    });
}

TEST_F(WepDialog, LibraryWithoutAnEntryPointOffersNoPassphrase)
{
    LoadWepLibrary();
    const WepEntryPoints bound = Wep;
    WhileOpen([&] {
        for (int missing = 0; missing < 2; ++missing) {
            Wep = bound;
            if (missing == 0) Wep.Wep_GenWepKeys = nullptr;
            else Wep.Wep_Init = nullptr;
            Choose(Dialog->WEPSet_WEP, 2 - missing);
            EXPECT_TRUE(Greyed(Dialog->WEPSet_Passphrase));
            EXPECT_TRUE(Usable(Dialog->WEPSet_WEPKey1));
            // Nothing goes through the missing entry point, even for a
            // passphrase set by the program.
            Dialog->WEPSet_Passphrase->SetText("never used");
            EXPECT_EQ(Digits(Dialog->WEPSet_WEPKey1), "");
        }
        Type(Dialog->WEPSet_WEPKey1, "0011223344");
        Press(Dialog->WEP_OKBtn);
    });
    Wep = bound;
    EXPECT_EQ(Dialog->Result, 1);
    EXPECT_EQ(Dialog->WepInfo.WepKey1[4], 0x44);
}

TEST_F(WepDialog, SkinnedBorderlessDraggedByItsBackgroundWithPictureButtons)
{
    WhileOpen([&] {
        HWND wnd = Dialog->Handle();
        RECT r;
        ::GetWindowRect(wnd, &r);
        EXPECT_EQ(r.right - r.left, 580);
        EXPECT_EQ(r.bottom - r.top, 435);
        EXPECT_EQ(::GetWindowLongA(wnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
        HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(::GetWindowRgn(wnd, shape), ERROR);
        EXPECT_FALSE(::PtInRegion(shape, 1, 1)); // a rounded corner
        EXPECT_TRUE(::PtInRegion(shape, 290, 215));
        EXPECT_TRUE(::PtInRegion(shape, 290, 427));
        EXPECT_FALSE(::PtInRegion(shape, 290, 430)); // the bottom 5 rows are cut off
        ::DeleteObject(shape);

        // A bare point drags; the controls keep their own windows and clicks.
        EXPECT_EQ(::SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(r.left + 40, r.top + 250)), HTCAPTION);
        POINT ok{Dialog->WEP_OKBtn->Left() + 5, Dialog->WEP_OKBtn->Top() + 5};
        EXPECT_EQ(::ChildWindowFromPoint(wnd, ok), Dialog->WEP_OKBtn->Handle());

        // The background is the skin picture.
        TBitmap shot;
        shot.SetPixelFormat(pf24bit);
        shot.SetSize(580, 435);
        ::PrintWindow(wnd, shot.Canvas()->Handle(), 0);
        TBitmap* skin = Dialog->Img_WEP->Picture()->Bitmap();
        for (POINT p : {POINT{300, 40}, POINT{40, 250}, POINT{560, 410}})
            EXPECT_EQ(shot.Canvas()->Pixel(p.x, p.y), skin->Canvas()->Pixel(p.x, p.y)) << p.x << "," << p.y;

        // The buttons: at rest, under the pointer, held down; a hand over them.
        TPictureButton* button = Dialog->WEP_OKBtn;
        HWND b = button->Handle();
        EXPECT_EQ(button->Cursor, crHandPoint);
        auto shown = [&] {
            TBitmap face;
            face.SetPixelFormat(pf24bit);
            face.SetSize(59, 22);
            ::PrintWindow(b, face.Canvas()->Handle(), 0);
            return face.Canvas()->Pixel(29, 1); // the glyph's face, above the label
        };
        auto glyph = [&](int Column) { return button->Glyph()->Canvas()->Pixel(Column * 59 + 29, 1); };
        EXPECT_NE(glyph(0), glyph(1));
        EXPECT_NE(glyph(1), glyph(2));
        EXPECT_EQ(button->State(), TGlyphState::Up);
        EXPECT_EQ(shown(), glyph(0));
        ::SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
        EXPECT_EQ(button->State(), TGlyphState::Hot);
        EXPECT_EQ(shown(), glyph(1));
        ::SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
        EXPECT_EQ(button->State(), TGlyphState::Down);
        EXPECT_EQ(shown(), glyph(2));
        // Released away from the button: no click.
        ::SendMessageA(b, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 10));
        EXPECT_EQ(button->State(), TGlyphState::Up);
        ::SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(200, 10));
        EXPECT_EQ(Dialog->ModalResult, mrNone);
        ::SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
        ::SendMessageA(b, WM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(button->State(), TGlyphState::Up);

        // As the user sees it, with a key made, saved for review.
        Choose(Dialog->WEPSet_WEP, 2);
        Type(Dialog->WEPSet_Passphrase, "kestrel");
        ::SendMessageA(Dialog->WEP_CancelBtn->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
        ::SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SaveScreenArea(r, Harness::ScreenshotFolder() + "wep-dialog.bmp");
        ::SendMessageA(Dialog->WEP_CancelBtn->Handle(), WM_MOUSELEAVE, 0, 0);
    });
    EXPECT_EQ(Dialog->Result, 0);
}

// The text form, in which a profile whose ProfileMode says so takes a new
// key: single positions.
TEST(WepControls, TextFormKeyHasOnePositionPerByte)
{
    TForm form(nullptr);
    auto* level = new TComboBox(&form);
    auto* passphrase = new TEdit(&form);
    auto* key = new TMaskEdit(&form);
    for (TWinControl* c : std::initializer_list<TWinControl*>{level, passphrase, key}) c->SetParent(&form);
    TWepKeyControls controls(level, passphrase, key);
    form.Handle();
    level->SetItemIndex(1);
    key->SetText("AB");
    controls.ApplyLevel(WepKeyForm::Text);
    EXPECT_EQ(key->EditMask(), "aaaaa;0; ");
    EXPECT_EQ(key->EditText(), "AB   ");
    EXPECT_EQ(level->Items()->Count(), 3);
    EXPECT_EQ(level->Items()->Get(2), "128 Bits");
    controls.LevelChanged(WepKeyForm::Text);
    EXPECT_EQ(key->EditText(), "     ");
    EXPECT_TRUE(::IsWindowEnabled(passphrase->Handle()));
}

} // namespace
