#include "dialog_user.h"
#include "toolkit/application.h"

#include <gtest/gtest.h>

namespace User {

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
