// The components of the wizard's window and their designed properties; the
// places that InitComponent sets are in unit1_skin.cpp. The pictures come
// from the form data (TForm1.dat, packed at build time from assets/setup).
#include "unit1.h"
#include "toolkit/formdata.h"
#include "toolkit/make_control.h"

namespace {

constexpr TColor FormColor = 13395558; // red 102, green 102, blue 204
constexpr TColor Ink = 0x3D2D1E;       // the pictures' text colour
constexpr TColor Muted = 0x836E5B;     // and their quieter text

// A picture that takes the size of what it shows.
TImage* NewImage(TForm1* Form, TWinControl* Parent, const char* Name, int Left = 0, int Top = 0)
{
    auto* image = MakeControl<TImage>(Form, Parent, Name, Left, Top, 0, 0);
    image->SetAutoSize(true);
    return image;
}

// A template: a button's picture kept out of sight.
TImage* NewTemplate(TForm1* Form, const char* Name, int Left = 0, int Top = 0)
{
    TImage* image = NewImage(Form, Form, Name, Left, Top);
    image->Hide();
    return image;
}

TImage* NewButton(TForm1* Form, TWinControl* Parent, const char* Name, TNotifyEvent Click)
{
    TImage* image = NewImage(Form, Parent, Name);
    image->Cursor = crHandPoint;
    image->OnClick = std::move(Click);
    return image;
}

TPanel* NewPanel(TForm1* Form, const char* Name)
{
    auto* panel = MakeControl<TPanel>(Form, Form, Name, 453, 0, 112, 60);
    panel->SetBevelOuter(bvNone);
    panel->Hide();
    return panel;
}

// Sized to its caption; a right-justified one keeps its right edge at Left + 67.
TLabel* NewLabel(TForm1* Form, const char* Name, const char* Caption, int Left, int Top, TColor Color,
                 TAlignment Alignment = taLeftJustify)
{
    auto* label = MakeControl<TLabel>(Form, Form, Name, Left, Top, 67, 16);
    label->SetAlignment(Alignment);
    label->SetBounds(Left, Top, 67, 16); // taking the form's font sized it to its empty caption
    label->SetTransparent(true);
    label->Font()->SetName("Tahoma");
    label->Font()->SetSize(8);
    label->Font()->SetColor(Color);
    label->SetCaption(Caption);
    label->Hide();
    return label;
}

TComboBox* NewCombo(TForm1* Form, const char* Name, std::initializer_list<const char*> Items)
{
    auto* combo = MakeControl<TComboBox>(Form, Form, Name, 0, 0, 131, 32);
    combo->Style = csDropDownList;
    for (const char* item : Items) combo->Items()->Add(item);
    combo->Hide();
    return combo;
}

} // namespace

void TForm1::CreateComponents()
{
    BorderStyle = bsNone;
    SetCaption("TarvaneSetup");
    SetColor(FormColor);
    Font()->SetName("Tahoma");
    Font()->SetSize(8);

    // Backgrounds first: everything else lies above them.
    Image1 = NewImage(this, this, "Image1");
    Image19 = NewImage(this, this, "Image19");
    Image26 = NewImage(this, this, "Image26");
    Image34 = NewImage(this, this, "Image34");
    Image33 = NewImage(this, this, "Image33");
    Image11 = NewImage(this, this, "Image11");
    for (TImage* background : {Image1, Image19, Image26, Image34, Image33, Image11})
        background->OnMouseMove = [this, background](TObject*, TShiftState, int, int) {
            BackgroundMouseMove(background);
        };
    Image_StepSkipped = NewImage(this, this, "Image_StepSkipped", 450, 155);
    Image_StepSkipped->SetEnabled(false); // the pointer over it is over the background
    Image_StepSkipped->Hide();

    Welcome_Panel = NewPanel(this, "Welcome_Panel");
    Image3 = NewButton(this, Welcome_Panel, "Image3", [this](TObject* s) { Image3Click(s); });
    Image8 = NewButton(this, Welcome_Panel, "Image8", [this](TObject* s) { Image8Click(s); });
    Image10 = NewButton(this, Welcome_Panel, "Image10", [this](TObject* s) { Image10Click(s); });
    License_Panel = NewPanel(this, "License_Panel");
    License_Panel->TabStop = true; // the licence text is the page's only field: Tab goes on to its buttons
    Image17 = NewButton(this, License_Panel, "Image17", [this](TObject* s) { Image17Click(s); });
    Image18 = NewButton(this, License_Panel, "Image18", [this](TObject* s) { Image18Click(s); });
    WirelessMode_Panel = NewPanel(this, "WirelessMode_Panel");
    Image28 = NewButton(this, WirelessMode_Panel, "Image28", [this](TObject* s) { Image28Click(s); });
    Image27 = NewButton(this, WirelessMode_Panel, "Image27", [this](TObject* s) { Image27Click(s); });
    Channel_Panel = NewPanel(this, "Channel_Panel");
    Image36 = NewButton(this, Channel_Panel, "Image36", [this](TObject* s) { Image36Click(s); });
    Image35 = NewButton(this, Channel_Panel, "Image35", [this](TObject* s) { Image35Click(s); });
    Final_Panel = NewPanel(this, "Final_Panel");
    Image31 = NewButton(this, Final_Panel, "Image31", [this](TObject* s) { Image31Click(s); });
    Image30 = NewButton(this, Final_Panel, "Image30", [this](TObject* s) { Image30Click(s); });
    Panel6 = NewPanel(this, "Panel6");
    Image40 = NewButton(this, Panel6, "Image40", [this](TObject* s) { Image40Click(s); });
    Image41 = NewImage(this, Panel6, "Image41");
    Image45 = NewImage(this, Panel6, "Image45");
    Image41->Hide();
    Image45->Hide();

    Image_X = NewButton(this, this, "Image_X", [this](TObject* s) { Image_XClick(s); });
    Image43 = NewButton(this, this, "Image43", [this](TObject* s) { Image43Click(s); });
    // Enter goes on with the shown page's first button; Esc is the close button.
    DefaultButtons = {Image3, Image17, Image28, Image36, Image31, Image40};
    CancelButtons = {Image_X};
    Image_X_Change = NewTemplate(this, "Image_X_Change", 536, 6);
    Image_XX = NewTemplate(this, "Image_XX", 536, 6);
    Image44 = NewTemplate(this, "Image44", 496, 6);
    Image42 = NewTemplate(this, "Image42", 496, 6);
    Image4 = NewTemplate(this, "Image4");
    Image12 = NewTemplate(this, "Image12");
    Image5 = NewTemplate(this, "Image5");
    Image14 = NewTemplate(this, "Image14");
    Image7 = NewTemplate(this, "Image7");
    Image15 = NewTemplate(this, "Image15");
    Image20 = NewTemplate(this, "Image20");
    Image23 = NewTemplate(this, "Image23");
    Image21 = NewTemplate(this, "Image21");
    Image24 = NewTemplate(this, "Image24");
    Image22 = NewTemplate(this, "Image22");
    Image25 = NewTemplate(this, "Image25");

    RichEdit1 = MakeControl<TRichEdit>(this, this, "RichEdit1", 66, 195, 326, 128);
    RichEdit1->SetReadOnly(true);
    RichEdit1->Hide();
    RadioButton1 = MakeControl<TRadioButton>(this, this, "RadioButton1", 42, 205, 240, 18);
    RadioButton1->SetCaption("Infrastructure Mode");
    RadioButton1->OnClick = [this](TObject* s) { RadioButton1Click(s); };
    RadioButton2 = MakeControl<TRadioButton>(this, this, "RadioButton2", 42, 252, 240, 18);
    RadioButton2->SetCaption("Ad-Hoc Mode");
    RadioButton2->OnClick = [this](TObject* s) { RadioButton2Click(s); };
    for (TRadioButton* radio : {RadioButton1, RadioButton2}) {
        radio->SetColor(clWhite);
        radio->Font()->SetStyle(fsBold);
        radio->Font()->SetColor(Ink);
        radio->Hide();
    }
    RadioButton1->SetChecked(true);
    SSID_EDIT = MakeControl<TEdit>(this, this, "SSID_EDIT", 120, 334, 128, 25);
    SSID_EDIT->SetMaxLength(32);
    SSID_EDIT->SetText("tarvane");
    SSID_EDIT->Hide();
    Channel_Combo = NewCombo(this, "Channel_Combo", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"});
    NetworkMode_Combo = NewCombo(this, "NetworkMode_Combo", {"Mixed mode", "G-Only Mode"});
    NetworkMode_Combo->SetItemIndex(0);

    // The review: captions end in one line 8 pixels before the values, which
    // start in one line and end before the review's box does (its inside
    // ends at 424). A value too long for a line, a long SSID, takes a second
    // one; the rows take their tops when the review shows (PlaceReviewRows).
    constexpr int valueLeft = 238, captionLeft = valueLeft - 8 - 67;
    Label1 = NewLabel(this, "Label1", "Wireless Mode", captionLeft, 0, Muted, taRightJustify);
    Label2 = NewLabel(this, "Label2", "      SSID", captionLeft, 0, Muted, taRightJustify);
    Label3 = NewLabel(this, "Label3", "   Channel", captionLeft, 0, Muted, taRightJustify);
    Label4 = NewLabel(this, "Label4", "Network Mode", captionLeft, 0, Muted, taRightJustify);
    Label5 = NewLabel(this, "Label5", "", valueLeft, 0, Ink);
    Label6 = NewLabel(this, "Label6", "", valueLeft, 0, Ink);
    Label7 = NewLabel(this, "Label7", "", valueLeft, 0, Ink);
    Label8 = NewLabel(this, "Label8", "", valueLeft, 0, Ink);
    for (TLabel* value : {Label5, Label6, Label7, Label8}) {
        value->SetBounds(valueLeft, 0, 424 - valueLeft, 16);
        value->SetWordWrap(true);
    }

    Timer1 = new TTimer(this);
    Timer1->SetEnabled(false);
    Timer1->SetInterval(1000);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };

    LoadFormPictures(this);

    // Hover groups: code, button, highlighted and normal templates.
    Welcome.Buttons = {{1, Image3, Image4, Image12}, {3, Image8, Image5, Image14}, {5, Image10, Image7, Image15}};
    License.Buttons = {{3, Image17, Image21, Image24}, {4, Image18, Image22, Image25}};
    WirelessMode.Buttons = {{1, Image27, Image20, Image23}, {3, Image28, Image21, Image24}};
    Channel.Buttons = {{1, Image35, Image20, Image23}, {3, Image36, Image21, Image24}};
    Final.Buttons = {{1, Image30, Image20, Image23}, {3, Image31, Image21, Image24}};
    Title.Buttons = {{1, Image_X, Image_X_Change, Image_XX}, {3, Image43, Image44, Image42}};
    Exit.Buttons = {{1, Image40, Image41, Image45}};
    WirelessMode.SoundOnReset = Final.SoundOnReset = true;
    for (THoverGroup* group : {&Welcome, &License, &WirelessMode, &Channel, &Final, &Title, &Exit})
        for (const THoverButton& b : group->Buttons)
            b.Button->OnMouseMove = [this, group, code = b.Code](TObject*, TShiftState, int, int) {
                ButtonMouseMove(*group, code);
            };
}
