#include "standin_form.h"
#include "toolkit/application.h"
#include "toolkit/graphic_controls.h"
#include "toolkit/stdctrls.h"

TStandinForm::TStandinForm(TComponent* AOwner, int Width, int Height, int Top) : TForm(AOwner)
{
    BorderStyle = bsDialog;
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
    SetBounds((Screen->Width() - Width) / 2, Top, Width, Height);
}

void TStandinForm::AddLabel(const std::string& Caption, int Top)
{
    auto* label = new TLabel(this);
    label->SetBounds(16, Top, Width() - 32, 16);
    label->SetCaption(Caption);
    label->SetParent(this);
}

void TStandinForm::AddButton(const char* Caption, int Left, int Top, TNotifyEvent Click)
{
    auto* button = new TButton(this);
    button->SetCaption(Caption);
    button->SetBounds(Left, Top, 80, 25);
    button->OnClick = std::move(Click);
    button->SetParent(this);
}
