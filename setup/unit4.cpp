#include "unit4.h"
#include "toolkit/application.h"
#include "toolkit/seam.h"

#include <algorithm>

TForm4* Form4 = nullptr;

int ScaledToScreen(int Length, int PixelsPerInch)
{
    const double factor = 96.0 / PixelsPerInch;
    return static_cast<int>(Length / factor);
}

namespace {
TLabel* NewLabel(TForm4* Form, const char* Caption, int Top)
{
    auto* label = new TLabel(Form);
    label->SetTop(Top);
    label->Font()->SetStyle(fsBold);
    label->SetCaption(Caption);
    label->SetParent(Form);
    return label;
}

TButton* NewButton(TForm4* Form, const char* Caption, TNotifyEvent Click)
{
    auto* button = new TButton(Form);
    button->SetCaption(Caption);
    button->SetBounds(0, 84, 71, 27);
    button->OnClick = std::move(Click);
    button->SetParent(Form);
    return button;
}
} // namespace

TForm4::TForm4(TComponent* AOwner) : TForm(AOwner)
{
    BorderStyle = bsDialog;
    SetCaption("Wireless");
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
    Label1 = NewLabel(this, "The user guide can only be viewed with Acrobat Reader!", 20);
    Label2 = NewLabel(this, "Do you want install Acrobat Reader?", 44);
    Button1 = NewButton(this, "OK", [this](TObject* s) { Button1Click(s); });
    Button2 = NewButton(this, "Cancel", [this](TObject* s) { Button2Click(s); });
    DefaultButtons = {Button1};
    CancelButtons = {Button2};
    Timer1 = new TTimer(this);
    Timer1->SetEnabled(false);
    Timer1->SetInterval(1000);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
    OnCreate = [this](TObject* s) { Initcomponent(s); };
}

void TForm4::Initcomponent(TObject*)
{
    const int ppi = Screen->PixelsPerInch(), width = ScaledToScreen(359, ppi), height = ScaledToScreen(172, ppi);
    SetBounds((Screen->Width() - width) / 2, (Screen->Height() - height) / 2, width, height);
    // The texts, as long as the window is wide, stand centred, as in a message box.
    RECT client;
    ::GetClientRect(Handle(), &client);
    for (TLabel* label : {Label1, Label2}) label->SetLeft(std::max(0, (int(client.right) - label->Width()) / 2));
    Button1->SetLeft(client.right / 2 - Button1->Width() - 8);
    Button2->SetLeft(client.right / 2 + 8);
}

void TForm4::Button1Click(TObject*)
{
    Close();
    Platform().ShellExecute(nullptr, "open", ".\\Acrobat Reader 5.0\\AR500ENU.EXE", "", "", SW_SHOWNORMAL);
    Timer1->SetEnabled(true);
}

void TForm4::Button2Click(TObject*) { Close(); }

// Also after the prompt has closed, for as long as the wizard runs.
void TForm4::Timer1Timer(TObject*)
{
    HINSTANCE opened = Platform().ShellExecute(nullptr, "open", ".\\manual\\manual.pdf", "", "", SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(opened) > 32) Timer1->SetEnabled(false);
}
