// The twenty octet fields of the wizard's TCP/IP page on the real main
// window: keys typed as window messages to whichever field has the focus,
// clicks as mouse messages, messages read from the seam.
#include "dialog_user.h"
#include "mainfrm_harness.h"
#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class AddressFields : public testing::Test {
protected:
    void SetUp() override
    {
        Harness::Reset();
        form = Harness::Form();
        form->SetFocus(); // a field left now writes its "  0" before the fields are emptied
        Application->ProcessMessages();
        for (TIpAddressPanel* panel : Panels()) {
            panel->Show();
            panel->SetEnabled(true);
            for (TOctetField* field : panel->Fields) {
                field->SetEnabled(true);
                field->SetText("");
            }
        }
        Harness::Pump();
        Harness::Seam().Clear();
    }
    void TearDown() override
    {
        for (TIpAddressPanel* panel : Panels()) panel->Hide();
    }
    std::vector<TIpAddressPanel*> Panels() const
    {
        return {form->Profile_IPAddr1, form->Profile_SubNet1, form->Profile_GateWay1, form->Profile_DNS1,
                form->Profile_DNS2};
    }
    TOctetField* Ip(int N) const { return form->Profile_IPAddr1->Fields[N - 1]; }
    TOctetField* Mask(int N) const { return form->Profile_SubNet1->Fields[N - 1]; }

    static void Focus(TOctetField* Field)
    {
        Field->SetFocus();
        Application->ProcessMessages();
    }
    // Each key as the keyboard sends it to the window that has the focus;
    // the message loop makes the character of it.
    static void Type(const std::string& Keys)
    {
        for (char c : Keys) {
            HWND focus = ::GetFocus();
            const UINT key = c == '\b' ? VK_BACK : (::VkKeyScanA(c) & 0xFF);
            const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
            ::PostMessageA(focus, WM_KEYDOWN, key, scan | 1);
            ::PostMessageA(focus, WM_KEYUP, key, scan | 0xC0000001);
            Application->ProcessMessages();
        }
    }
    static void Home()
    {
        const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyA(VK_HOME, MAPVK_VK_TO_VSC)) << 16;
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_HOME, scan | 1);
        ::PostMessageA(::GetFocus(), WM_KEYUP, VK_HOME, scan | 0xC0000001);
        Application->ProcessMessages();
    }
    // Text on the clipboard, pasted into the field that has the focus.
    static void Paste(const std::string& Text)
    {
        User::SetClipboard(Text);
        ::SendMessageA(::GetFocus(), WM_PASTE, 0, 0);
        Application->ProcessMessages();
    }
    static void Click(TOctetField* Field)
    {
        ::SendMessageA(Field->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        ::SendMessageA(Field->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        Application->ProcessMessages();
    }
    static bool HasFocus(TOctetField* Field) { return ::GetFocus() == Field->Handle(); }
    static std::vector<std::string>& Boxes() { return Harness::Seam().Boxes; }
    static std::string Range(const std::string& Shown, int Minimum, int Maximum)
    {
        return "Error\t" + Shown + " is not a valid entry. Please specify a value between " +
               std::to_string(Minimum) + " and " + std::to_string(Maximum) + ".";
    }

    TMainFrm* form = nullptr;
};

TEST_F(AddressFields, FirstOctetOfAnAddress)
{
    Focus(Ip(1));
    Type("192");
    EXPECT_EQ(Ip(1)->Text(), "192");
    EXPECT_TRUE(HasFocus(Ip(2)));
    EXPECT_TRUE(Boxes().empty());

    Ip(1)->SetText("");
    Focus(Ip(1));
    Type("127");
    EXPECT_EQ(Ip(1)->Text(), "1");
    EXPECT_TRUE(HasFocus(Ip(1)));
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Error\tIP address starting with 127 are not valid because they are reserved for loopback "
                           "address. Please specify some\n other valid value between 1 and 223."});

    struct {
        const char *Typed, *Left, *Shown;
    } const refused[] = {{"224", "223", "224"}, {"000", "1", "0"}};
    for (const auto& r : refused) {
        Boxes().clear();
        Ip(1)->SetText("");
        Focus(Ip(1));
        Type(r.Typed);
        EXPECT_EQ(Ip(1)->Text(), r.Left);
        EXPECT_TRUE(HasFocus(Ip(1)));
        EXPECT_EQ(Boxes(), std::vector<std::string>{Range(r.Shown, 1, 223)});
    }

    // The gateway's first octet follows the same rules; the first DNS
    // server's has the range without the loopback refusal.
    Focus(form->Profile_GateWay1->Fields[0]);
    Type("224");
    EXPECT_EQ(form->Profile_GateWay1->Fields[0]->Text(), "223");
    Focus(form->Profile_DNS1->Fields[0]);
    Boxes().clear();
    Type("127");
    EXPECT_EQ(form->Profile_DNS1->Fields[0]->Text(), "127");
    EXPECT_TRUE(HasFocus(form->Profile_DNS1->Fields[1]));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(AddressFields, MiddleAndLastOctets)
{
    Focus(Ip(2));
    Type("256");
    EXPECT_EQ(Ip(2)->Text(), "255");
    EXPECT_TRUE(HasFocus(Ip(2)));
    EXPECT_EQ(Boxes(), std::vector<std::string>{Range("256", 0, 255)});

    // A digit after a complete octet makes four digits.
    Boxes().clear();
    Ip(2)->SetSelStart(3);
    Type("1");
    EXPECT_EQ(Ip(2)->Text(), "255");
    EXPECT_EQ(Boxes(), std::vector<std::string>{Range("2551", 0, 255)});

    Boxes().clear();
    Focus(Ip(4));
    Type("255");
    EXPECT_EQ(Ip(4)->Text(), "255");
    EXPECT_TRUE(HasFocus(Ip(4)));
    Type("5");
    EXPECT_EQ(Ip(4)->Text(), "255");
    EXPECT_TRUE(Boxes().empty());
    Ip(4)->SetText("");
    Type("260");
    EXPECT_EQ(Ip(4)->Text(), "255");
    EXPECT_EQ(Boxes(), std::vector<std::string>{Range("260", 0, 255)});

    // The second DNS server refuses silently what would pass 255.
    Boxes().clear();
    Focus(form->Profile_DNS2->Fields[0]);
    Type("260");
    EXPECT_EQ(form->Profile_DNS2->Fields[0]->Text(), "26");
    Type("0");
    EXPECT_EQ(form->Profile_DNS2->Fields[0]->Text(), "26");
    Type("5");
    EXPECT_EQ(form->Profile_DNS2->Fields[0]->Text(), "26");
    form->Profile_DNS2->Fields[0]->SetText("");
    Type("255");
    EXPECT_TRUE(HasFocus(form->Profile_DNS2->Fields[1]));
    Focus(form->Profile_DNS2->Fields[3]);
    Type("2569");
    EXPECT_EQ(form->Profile_DNS2->Fields[3]->Text(), "25");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(AddressFields, TypingOverASelectionChecksTheTextItLeaves)
{
    Ip(2)->SetText("255");
    Focus(Ip(2));
    Ip(2)->SelectAll();
    Type("7");
    EXPECT_EQ(Ip(2)->Text(), "7");
    EXPECT_TRUE(HasFocus(Ip(2)));

    Ip(2)->SetText("255");
    Ip(2)->SetSelStart(2);
    Ip(2)->SetSelLength(1);
    Type("9"); // 259
    EXPECT_EQ(Ip(2)->Text(), "255");
    EXPECT_EQ(Boxes(), std::vector<std::string>{Range("259", 0, 255)});

    Boxes().clear();
    Ip(2)->SetSelStart(2);
    Ip(2)->SetSelLength(1);
    Type("0"); // 250 completes the octet
    EXPECT_EQ(Ip(2)->Text(), "250");
    EXPECT_TRUE(HasFocus(Ip(3)));

    Ip(4)->SetText("255");
    Focus(Ip(4));
    Ip(4)->SetSelStart(0);
    Ip(4)->SetSelLength(1);
    Type("3"); // 355
    EXPECT_EQ(Ip(4)->Text(), "255");
    EXPECT_EQ(Boxes(), std::vector<std::string>{Range("355", 0, 255)});
    Ip(4)->SetSelStart(1);
    Ip(4)->SetSelLength(2);
    Type("9"); // 29
    EXPECT_EQ(Ip(4)->Text(), "29");

    TOctetField* dns = form->Profile_DNS2->Fields[1];
    dns->SetText("255");
    Focus(dns);
    dns->SetSelStart(0);
    dns->SetSelLength(1);
    Type("3"); // 355: refused without a word
    EXPECT_EQ(dns->Text(), "255");
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(AddressFields, ADigitOrAPasteIsCheckedWhereItGoesIn)
{
    // "25", Home, "5" makes 525, whichever rule the field follows.
    for (TOctetField* field : {Ip(4), Ip(2)}) {
        Boxes().clear();
        Focus(field);
        Type("25");
        Home();
        Type("5");
        EXPECT_EQ(field->Text(), "255") << field->Name;
        EXPECT_EQ(Boxes(), std::vector<std::string>{Range("525", 0, 255)}) << field->Name;
        EXPECT_TRUE(HasFocus(field)) << field->Name;
    }
    // The second DNS server's last octet refuses 320 without a word.
    TOctetField* dns = form->Profile_DNS2->Fields[3];
    Boxes().clear();
    Focus(dns);
    Type("20");
    Home();
    Type("3");
    EXPECT_EQ(dns->Text(), "20");
    Home();
    Type("1");
    EXPECT_EQ(dns->Text(), "120");
    EXPECT_TRUE(Boxes().empty());

    // A paste is judged by the text it leaves.
    Ip(2)->SetText("");
    Focus(Ip(2));
    Paste("999");
    EXPECT_EQ(Ip(2)->Text(), "255");
    EXPECT_EQ(Boxes(), std::vector<std::string>{Range("999", 0, 255)});
    Boxes().clear();
    Ip(3)->SetText("5");
    Focus(Ip(3));
    Ip(3)->SetSelStart(0);
    Paste("30");
    EXPECT_EQ(Ip(3)->Text(), "255");
    EXPECT_EQ(Boxes(), std::vector<std::string>{Range("305", 0, 255)});
    Boxes().clear();
    Ip(3)->SetText("5");
    Ip(3)->SetSelStart(0);
    Paste("2");
    EXPECT_EQ(Ip(3)->Text(), "25");
    EXPECT_EQ(Ip(3)->SelStart(), 1);
    Paste("x");
    Paste("1.2");
    EXPECT_EQ(Ip(3)->Text(), "25");
    Focus(form->Profile_DNS2->Fields[0]);
    Paste("256");
    EXPECT_EQ(form->Profile_DNS2->Fields[0]->Text(), "");
    EXPECT_TRUE(Boxes().empty());
}

// The last octet takes a digit typed at the end of its padded text as the
// others do. After a range message the caret stands at the end of the
// bound, so that the next digit's message names the text it would make.
TEST_F(AddressFields, APaddedOctetTakesADigitAtItsEndAndARangeMessageLeavesTheCaretThere)
{
    for (TOctetField* field : {Ip(4), Ip(2), Mask(4), form->Profile_DNS2->Fields[3]}) {
        field->SetText(" 25");
        Focus(field);
        field->SetSelStart(3);
        Type("5");
        EXPECT_EQ(field->Text(), "255") << field->Name;
    }
    Ip(4)->SetText("  7");
    Focus(Ip(4));
    Ip(4)->SetSelStart(3);
    Type("2");
    EXPECT_EQ(Ip(4)->Text(), "72");
    EXPECT_EQ(Ip(4)->SelStart(), 2);
    EXPECT_TRUE(Boxes().empty());

    for (TOctetField* field : {Ip(1), Ip(3), Ip(4)}) {
        const int maximum = field == Ip(1) ? 223 : 255, minimum = field == Ip(1) ? 1 : 0;
        field->SetText("");
        Focus(field);
        Type(field == Ip(1) ? "224" : "256");
        EXPECT_EQ(field->Text(), std::to_string(maximum));
        EXPECT_EQ(field->SelStart(), 3);
        Boxes().clear();
        Type("1");
        EXPECT_EQ(field->Text(), std::to_string(maximum)) << field->Name;
        const std::vector<std::string> fourDigits{Range(std::to_string(maximum) + "1", minimum, maximum)};
        EXPECT_EQ(Boxes(), field == Ip(4) ? std::vector<std::string>{} : fourDigits) << field->Name;
    }
}

// Shift+Insert and Ctrl+V paste as WM_PASTE does: the text the paste would
// leave is judged, with the message typing gives, and text with anything
// but digits leaves the field as it was. Neither does such a text stand
// when another program sets it.
TEST_F(AddressFields, EveryWayOfPastingMeetsTheRulesOfTyping)
{
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"WM_PASTE", [] { ::SendMessageA(::GetFocus(), WM_PASTE, 0, 0); }},
        {"Shift+Insert", [] { User::Chord(VK_SHIFT, VK_INSERT); }},
        {"Ctrl+V", [] { User::Chord(VK_CONTROL, 'V'); }},
    };
    const std::string loopback = "Error\tIP address starting with 127 are not valid because they are reserved for "
                                 "loopback address. Please specify some\n other valid value between 1 and 223.";
    struct {
        TOctetField* Field;
        const char *Before, *Pasted, *Left;
        std::vector<std::string> Boxes;
    } const cases[] = {
        {Ip(2), "", "999", "255", {Range("999", 0, 255)}},
        {Ip(2), "12", "9x9", "12", {}},
        {Ip(4), "", "999", "255", {Range("999", 0, 255)}},
        {Ip(4), "7", "9x9", "7", {}},
        {Ip(1), "", "127", "1", {loopback}},
        {form->Profile_DNS2->Fields[0], "", "999", "", {}},
    };
    for (const auto& way : ways) {
        for (const auto& c : cases) {
            c.Field->SetText(c.Before);
            Focus(c.Field);
            c.Field->SetSelStart(3);
            Boxes().clear();
            User::SetClipboard(c.Pasted);
            way.second();
            Application->ProcessMessages();
            EXPECT_EQ(c.Field->Text(), c.Left) << way.first << " of " << c.Pasted << " into " << c.Field->Name;
            EXPECT_EQ(Boxes(), c.Boxes) << way.first << " of " << c.Pasted << " into " << c.Field->Name;
        }
    }

    Ip(3)->SetText("12");
    ::SendMessageA(Ip(3)->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("9x9"));
    EXPECT_EQ(Ip(3)->Text(), "12");
    ::SendMessageA(Ip(3)->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("256"));
    EXPECT_EQ(Ip(3)->Text(), "12");
    EXPECT_EQ(Ip(3)->Value(), 12);
}

// The editing shortcuts of every Windows edit field.
TEST_F(AddressFields, CtrlACXAndVWorkAsInAnyEditField)
{
    Ip(2)->SetText("168");
    Focus(Ip(2));
    Ip(2)->SetSelStart(3);
    User::Chord(VK_CONTROL, 'A');
    EXPECT_EQ(Ip(2)->SelStart(), 0);
    EXPECT_EQ(Ip(2)->SelLength(), 3);
    User::SetClipboard("");
    User::Chord(VK_CONTROL, 'C');
    EXPECT_EQ(User::Clipboard(), "168");
    EXPECT_EQ(Ip(2)->Text(), "168");
    Ip(2)->SetSelStart(1);
    Ip(2)->SetSelLength(2);
    User::Chord(VK_CONTROL, 'X');
    EXPECT_EQ(User::Clipboard(), "68");
    EXPECT_EQ(Ip(2)->Text(), "1");
    Focus(Ip(3));
    User::Chord(VK_CONTROL, 'V');
    EXPECT_EQ(Ip(3)->Text(), "68");
    EXPECT_TRUE(HasFocus(Ip(3)));
    EXPECT_TRUE(Boxes().empty());
}

// An address typed whole over another, with its dots or without them,
// replaces it without a word: a field that typing moves into has its text
// selected, as in the system's own address control (Windows', not
// Wine's, which leaves the caret before the old octet), and a "." right after
// an octet that completed itself moves no further.
TEST_F(AddressFields, AnAddressTypedOverAnotherReplacesIt)
{
    const auto fill = [](TIpAddressPanel* Panel, const char* Octets) {
        for (int i = 0; i < 4; ++i) Panel->Fields[i]->SetText(std::string(Octets + 3 * i, 3));
    };
    fill(form->Profile_IPAddr1, "192168100200");
    Click(Ip(1));
    Type("192");
    EXPECT_TRUE(HasFocus(Ip(2)));
    EXPECT_EQ(Ip(2)->SelStart(), 0);
    EXPECT_EQ(Ip(2)->SelLength(), 3);

    const std::pair<const char*, const char*> typings[] = {
        {"192.168.100.201", "192.168.100.201"}, {"192168100201", "192.168.100.201"}, {"10.0.0.1", "10.0.0.1"}};
    for (const auto& [typed, address] : typings) {
        fill(form->Profile_IPAddr1, "192168100200");
        Click(Ip(1));
        Type(typed);
        EXPECT_STREQ(form->Profile_IPAddr1->Address().Text, address) << typed;
    }

    // Over the mask that clicking it has just put in.
    fill(form->Profile_IPAddr1, "192168100200");
    Click(Mask(1));
    ASSERT_EQ(Mask(4)->Text(), "  0");
    Type("255.255.255.128");
    EXPECT_STREQ(form->Profile_SubNet1->Address().Text, "255.255.255.128");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(AddressFields, DotBackspaceAndLeaving)
{
    Focus(Ip(1));
    Type(".");
    EXPECT_TRUE(HasFocus(Ip(1)));
    EXPECT_EQ(Ip(1)->Text(), "");
    Type("10.");
    EXPECT_TRUE(HasFocus(Ip(2)));
    EXPECT_EQ(Ip(1)->Text(), " 10");
    Type("a 1x");
    EXPECT_EQ(Ip(2)->Text(), "1");
    Focus(Ip(4));
    Type("7.");
    EXPECT_TRUE(HasFocus(Ip(4))); // the last field keeps the focus

    Focus(Ip(3));
    EXPECT_EQ(Ip(4)->Text(), "  7");
    Type("\b");
    EXPECT_TRUE(HasFocus(Ip(2)));
    EXPECT_EQ(Ip(2)->SelStart(), 3);
    EXPECT_EQ(Ip(2)->SelLength(), 0);
    EXPECT_EQ(Ip(3)->Text(), "  0");

    Ip(1)->SetText("");
    Focus(Ip(1));
    Type("\b");
    EXPECT_TRUE(HasFocus(Ip(1)));
    EXPECT_TRUE(Boxes().empty());

    // The first octet is checked when left with one or two digits.
    Type("0");
    Focus(Ip(2));
    EXPECT_EQ(Ip(1)->Text(), "1");
    EXPECT_TRUE(HasFocus(Ip(1)));
    EXPECT_EQ(Boxes(), std::vector<std::string>{Range("0", 1, 223)});

    // The focus never goes into a field that cannot take it.
    Ip(1)->SetText("");
    Ip(2)->SetEnabled(false);
    Focus(Ip(1));
    Type("192");
    EXPECT_EQ(Ip(1)->Text(), "192");
    EXPECT_TRUE(HasFocus(Ip(1)));
}

TEST_F(AddressFields, ClickingAnEmptyMaskFillsIt)
{
    Click(Mask(2));
    EXPECT_EQ(Mask(1)->Text(), ""); // no address yet
    Ip(1)->SetText("192");
    Ip(2)->SetText("168");
    Click(Mask(2));
    EXPECT_EQ(Mask(1)->Text(), "255");
    EXPECT_EQ(Mask(2)->Text(), "255");
    EXPECT_EQ(Mask(3)->Text(), "255");
    EXPECT_EQ(Mask(4)->Text(), "  0");
    EXPECT_TRUE(HasFocus(Mask(2)));
    EXPECT_EQ(Mask(2)->SelStart(), 0);
    EXPECT_EQ(Mask(2)->SelLength(), 3);

    Mask(4)->SetText("128");
    Mask(2)->SetText("");
    Click(Mask(2)); // the mask is no longer empty: only the selection
    EXPECT_EQ(Mask(2)->Text(), "");
    EXPECT_EQ(Mask(4)->Text(), "128");
    Click(Mask(4));
    EXPECT_EQ(Mask(4)->SelLength(), 3);

    Focus(Ip(3));
    for (TOctetField* field : form->Profile_SubNet1->Fields) field->SetText("");
    Focus(Mask(1)); // entering the first mask field fills it too
    EXPECT_EQ(Mask(1)->Text(), "255");
    EXPECT_EQ(Mask(4)->Text(), "  0");
    EXPECT_EQ(Mask(1)->SelLength(), 3);
}

} // namespace
