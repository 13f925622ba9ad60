// A user at the windows of either program, in process: picks from lists, types,
// presses picture buttons, and acts inside a modal loop. Each action
// refuses a control that the user could not reach (disabled or hidden).
#pragma once
#include "toolkit/picture_button.h"
#include "toolkit/stdctrls.h"

#include <functional>
#include <string>

namespace User {
void Choose(TComboBox* List, int Index);
void Type(TWinControl* Field, const std::string& Text);
void Press(TPictureButton* Button);
// A key as the keyboard sends it to the window that has the focus, with
// Held (VK_SHIFT, VK_CONTROL, or 0) down; the message loop makes its character.
void Chord(UINT Held, UINT Key);
void SetClipboard(const std::string& Text);
std::string Clipboard();
// Runs Steps from inside the next modal loop that Open starts (a dialog's
// ShowModal, or a handler that shows one); then, when the form is still
// up, closes it as Alt+F4 would.
void WhileModal(TCustomForm* Form, const std::function<void()>& Open, const std::function<void()>& Steps);
// Answers the next input box captioned Caption that the program shows:
// types Keys into its edit as key messages, then Enter, or Escape when
// Cancel is set. InputBoxAnswered() tells whether it has been answered.
void WillAnswerInputBox(const std::string& Caption, const std::string& Keys, bool Cancel = false);
bool InputBoxAnswered();
} // namespace User
