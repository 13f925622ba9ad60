#include "dialog_user.h"
#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct {
    std::string Caption, Keys;
    bool Cancel = false;
    bool Answered = false;
} Answer;

BOOL CALLBACK FindInputBox(HWND Wnd, LPARAM Found)
{
    char caption[256] = {};
    ::GetWindowTextA(Wnd, caption, sizeof caption);
    if (!::IsWindowVisible(Wnd) || Answer.Caption != caption) return TRUE;
    *reinterpret_cast<HWND*>(Found) = Wnd;
    return FALSE;
}

void CALLBACK AnswerInputBox(HWND, UINT, UINT_PTR Timer, DWORD)
{
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindInputBox, reinterpret_cast<LPARAM>(&box));
    HWND edit = box ? ::FindWindowExA(box, nullptr, "Edit", nullptr) : nullptr;
    if (!edit) return; // not up yet
    ::KillTimer(nullptr, Timer);
    Answer.Answered = true;
    for (char c : Answer.Keys) ::PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    // Enter and Esc as the keyboard sends them: the key, of which the message loop makes the character.
    const UINT key = Answer.Cancel ? VK_ESCAPE : VK_RETURN;
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageA(edit, WM_KEYDOWN, key, scan | 1);
    ::PostMessageA(edit, WM_KEYUP, key, scan | 0xC0000001);
}

} // namespace

namespace User {

void WillAnswerInputBox(const std::string& Caption, const std::string& Keys, bool Cancel)
{
    Answer.Caption = Caption;
    Answer.Keys = Keys;
    Answer.Cancel = Cancel;
    Answer.Answered = false;
    ::SetTimer(nullptr, 0, 10, AnswerInputBox);
}

bool InputBoxAnswered() { return Answer.Answered; }

void Choose(TComboBox* List, int Index)
{
    HWND list = List->Handle();
    ASSERT_TRUE(::IsWindowEnabled(list) && ::IsWindowVisible(list)) << List->Name;
    ::SendMessageA(list, CB_SETCURSEL, Index, 0);
    ::SendMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
}

void Type(TWinControl* Field, const std::string& Text)
{
    ASSERT_TRUE(::IsWindowEnabled(Field->Handle()) && ::IsWindowVisible(Field->Handle())) << Field->Name;
    for (char c : Text) ::SendMessageA(Field->Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
}

void Press(TPictureButton* Button)
{
    HWND button = Button->Handle();
    ASSERT_TRUE(::IsWindowEnabled(button) && ::IsWindowVisible(button)) << Button->Name;
    ::SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    ::SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    ::SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    ::SendMessageA(button, WM_MOUSELEAVE, 0, 0); // the dialog closes under the pointer
}

void Chord(UINT Held, UINT Key)
{
    BYTE state[256];
    ::GetKeyboardState(state);
    if (Held) state[Held] = 0x80;
    ::SetKeyboardState(state);
    // The keys of the editing block are extended keys.
    const bool extended = Key == VK_INSERT || Key == VK_DELETE || Key == VK_HOME || Key == VK_END;
    const LPARAM flags = static_cast<LPARAM>(::MapVirtualKeyA(Key, MAPVK_VK_TO_VSC)) << 16 | (extended ? 1 << 24 : 0);
    HWND focus = ::GetFocus();
    ::PostMessageA(focus, WM_KEYDOWN, Key, flags | 1);
    ::PostMessageA(focus, WM_KEYUP, Key, flags | 0xC0000001);
    Application->ProcessMessages();
    if (Held) state[Held] = 0;
    ::SetKeyboardState(state);
}

void SetClipboard(const std::string& Text)
{
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
    std::memcpy(::GlobalLock(data), Text.c_str(), Text.size() + 1);
    ::GlobalUnlock(data);
    ::SetClipboardData(CF_TEXT, data);
    ::CloseClipboard();
}

std::string Clipboard()
{
    std::string text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

void WhileModal(TCustomForm* Form, const std::function<void()>& Open, const std::function<void()>& Steps)
{
    bool ran = false;
    std::function<void()> run = [&] {
        ran = true;
        Steps();
        if (Form->Visible() && Form->ModalResult == mrNone) ::PostMessageA(Form->Handle(), WM_CLOSE, 0, 0);
    };
    ::PostMessageA(Application->UtilityWindow(), WM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&run));
    Open();
    // Open may not have pumped: the steps must not outlive this call.
    for (int i = 0; i < 100 && !ran; ++i) Application->ProcessMessages();
    EXPECT_TRUE(ran);
}

} // namespace User
