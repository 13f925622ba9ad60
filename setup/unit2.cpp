#include "unit2.h"
#include "unit1.h"
#include "toolkit/application.h"
#include "toolkit/formdata.h"
#include "toolkit/seam.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner)
{
    BorderStyle = bsNone;
    SetColor(clWhite);
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
    Image1 = new TImage(this);
    Image1->Name = "Image1";
    Image1->SetParent(this);
    RadioButton1 = new TRadioButton(this);
    RadioButton1->SetCaption("Yes,I want to restart my computer now.");
    RadioButton1->SetBounds(184, 144, 281, 17);
    RadioButton2 = new TRadioButton(this);
    RadioButton2->SetCaption("No,I will restart my computer later.");
    RadioButton2->SetBounds(184, 176, 281, 17);
    for (TRadioButton* radio : {RadioButton1, RadioButton2}) {
        radio->SetColor(clWhite);
        radio->SetParent(this);
    }
    RadioButton1->SetChecked(true);
    Button1 = new TButton(this);
    Button1->SetCaption("Finish");
    Button1->SetBounds(328, 339, 75, 25);
    Button1->SetParent(this);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    DefaultButtons = {Button1};
    LoadFormPictures(this);
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject*) {
        // Centred on the wizard's window, which is hidden by then (and may have been dragged).
        RECT owner;
        ::GetWindowRect(Form1->Handle(), &owner);
        SetBounds((owner.left + owner.right - Width()) / 2, (owner.top + owner.bottom - Height()) / 2, Width(), Height());
    };
}

void TForm2::FormCreate(TObject*)
{
    Image1->SetBounds(0, 0, 504, 379);
    SetBounds(Left(), Top(), 504, 379);
}

void TForm2::Dispatch(TMessage& Message)
{
    TForm::Dispatch(Message);
    if (Message.Msg == WM_ACTIVATE && LOWORD(Message.WParam) != WA_INACTIVE) FormActivate();
}

void TForm2::FormActivate() { Button1->SetFocus(); }

// Restarting leaves the prompt open while Windows shuts down; when Windows
// refuses, Finish can be pressed again or the other choice taken.
void TForm2::Button1Click(TObject*)
{
    if (RadioButton1->Checked()) Platform().ExitWindowsEx(EWX_REBOOT);
    else Application->Terminate();
}
