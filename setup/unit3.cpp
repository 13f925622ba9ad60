#include "unit3.h"
#include "toolkit/application.h"
#include "toolkit/format.h"
#include "toolkit/formdata.h"

TForm3* Form3 = nullptr;

namespace {
TImage* NewFrame(TForm3* Form, const std::string& Name)
{
    auto* image = new TImage(Form);
    image->Name = Name;
    image->SetAutoSize(true);
    image->Hide();
    image->SetParent(Form);
    return image;
}
} // namespace

TForm3::TForm3(TComponent* AOwner) : TForm(AOwner)
{
    BorderStyle = bsNone;
    SetColor(clWhite);
    Image1 = new TImage(this);
    Image1->Name = "Image1";
    Image1->SetAutoSize(true);
    Image1->SetParent(this);
    for (int i = 0; i < 4; ++i) {
        Img_V[i] = NewFrame(this, Format("Img_V%d", i + 1));
        Img_P[i] = NewFrame(this, Format("Img_P%d", i + 1));
    }
    Timer1 = new TTimer(this);
    Timer1->SetInterval(600);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
    LoadFormPictures(this);
    Frame = 1;
    Timer1->SetEnabled(true);
    ShowFrame(true);
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TForm3::FormCreate(TObject*)
{
    // Centred on the screen, as large as the banner.
    const int width = Image1->Width(), height = Image1->Height();
    SetBounds((Screen->Width() - width) / 2, (Screen->Height() - height) / 2, width, height);
    Image1->SetBounds(0, 0, width, height);
    for (int i = 0; i < 4; ++i) {
        Img_V[i]->SetBounds(10, 10, Img_V[i]->Width(), Img_V[i]->Height());
        Img_P[i]->SetBounds(70, 46, Img_P[i]->Width(), Img_P[i]->Height());
    }
    Timer1->SetEnabled(true);
}

void TForm3::ShowFrame(bool Shown)
{
    for (TImage* picture : {Img_V[Frame - 1], Img_P[Frame - 1]}) {
        picture->SetVisible(Shown);
        if (Shown) picture->BringToFront();
    }
}

// Runs from program start, also while the window is hidden.
void TForm3::Timer1Timer(TObject*)
{
    ShowFrame(false);
    Frame = Frame % 4 + 1;
    ShowFrame(true);
}
