// The waiting window, shown while the utility's installer runs: a banner
// with a sign and a bar, each of four pictures that take turns every 600 ms.
#pragma once
#include "toolkit/form.h"
#include "toolkit/graphic_controls.h"
#include "toolkit/timer.h"

class TForm3 : public TForm {
public:
    CLASS_NAME(TForm3)
    explicit TForm3(TComponent* AOwner);

    TImage* Image1;
    TImage* Img_V[4]; // Img_V1 to Img_V4: the sign
    TImage* Img_P[4]; // Img_P1 to Img_P4: the bar
    TTimer* Timer1;
    int Frame = 1;    // 1 to 4: the pictures shown

    void FormCreate(TObject* Sender);
    void Timer1Timer(TObject* Sender);

private:
    void ShowFrame(bool Shown);
};

extern TForm3* Form3;
