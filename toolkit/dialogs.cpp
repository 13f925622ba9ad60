#include "dialogs.h"
#include "application.h"
#include "graphic_controls.h"
#include "stdctrls.h"

#include <commdlg.h>

#include <vector>

namespace {

class TInputBoxForm : public TForm {
public:
    CLASS_NAME(TInputBoxForm)
    TInputBoxForm(const std::string& Caption, const std::string& Prompt, const std::string& Default)
        : TForm(nullptr), Edit(new TEdit(this))
    {
        BorderStyle = bsDialog;
        SetCaption(Caption);
        const int width = 300, height = 130;
        SetBounds((Screen->Width() - width) / 2, (Screen->Height() - height) / 2, width, height);

        auto* prompt = new TLabel(this);
        prompt->SetCaption(Prompt);
        prompt->SetBounds(10, 10, 270, 15);
        prompt->SetParent(this);
        Edit->SetBounds(10, 30, 270, 21);
        Edit->SetText(Default);
        Edit->SetParent(this);
        struct {
            const char* Caption;
            int Result, Left;
        } const buttons[] = {{"OK", mrOk, 124}, {"Cancel", mrCancel, 205}};
        for (const auto& b : buttons) {
            auto* button = new TButton(this);
            button->SetCaption(b.Caption);
            button->ModalResult = b.Result;
            button->SetBounds(b.Left, 62, 75, 25);
            button->SetParent(this);
            (b.Result == mrOk ? DefaultButtons : CancelButtons).push_back(button);
        }
    }
    TEdit* const Edit;

protected:
    // The edit holds the focus whenever the dialog is active.
    void Dispatch(TMessage& Message) override
    {
        TForm::Dispatch(Message);
        if (Message.Msg == WM_ACTIVATE && LOWORD(Message.WParam) != WA_INACTIVE) {
            Edit->SetFocus();
            Edit->SelectAll();
        }
    }
};

} // namespace

std::string InputBox(const std::string& Caption, const std::string& Prompt, const std::string& Default)
{
    TInputBoxForm form(Caption, Prompt, Default);
    return form.ShowModal() == mrOk ? form.Edit->Text() : Default;
}

bool TFileDialog::Execute()
{
    std::string filter = Filter + "|";
    for (char& c : filter)
        if (c == '|') c = '\0';
    std::vector<char> name(32768);
    FileName.copy(name.data(), name.size() - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    ofn.hwndOwner = owner && owner->HandleAllocated() ? owner->Handle() : nullptr;
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    // The program's relative paths must not move with the folder chosen.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    const BOOL chosen = Saving ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn);
    if (!chosen) return false;
    FileName = name.data();
    return true;
}
