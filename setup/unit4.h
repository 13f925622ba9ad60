// The reader prompt: shown when the user guide cannot be opened, it offers
// to install the reader from the disc, and then opens the guide by itself
// as soon as it can.
#pragma once
#include "toolkit/form.h"
#include "toolkit/graphic_controls.h"
#include "toolkit/stdctrls.h"
#include "toolkit/timer.h"

class TForm4 : public TForm {
public:
    CLASS_NAME(TForm4)
    explicit TForm4(TComponent* AOwner);

    TLabel* Label1;
    TLabel* Label2;
    TButton* Button1; // OK
    TButton* Button2; // Cancel
    TTimer* Timer1;   // tries to open the guide

    void Initcomponent(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);
};

extern TForm4* Form4;

// A length designed at 96 pixels per inch, at the screen's.
int ScaledToScreen(int Length, int PixelsPerInch);
