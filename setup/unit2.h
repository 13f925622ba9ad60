// The restart prompt: after a completed installation on Windows 98 and ME,
// asks whether to restart Windows now or later.
#pragma once
#include "toolkit/form.h"
#include "toolkit/graphic_controls.h"
#include "toolkit/stdctrls.h"

class TForm2 : public TForm {
public:
    CLASS_NAME(TForm2)
    explicit TForm2(TComponent* AOwner);

    TImage* Image1;
    TRadioButton* RadioButton1; // restart now
    TRadioButton* RadioButton2; // later
    TButton* Button1;           // Finish

    void FormCreate(TObject* Sender);
    void FormActivate();
    void Button1Click(TObject* Sender);

protected:
    void Dispatch(TMessage& Message) override;
};

extern TForm2* Form2;
