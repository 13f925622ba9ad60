#include "unit1.h"
#include "toolkit/application.h"
#include "toolkit/exceptions.h"

#include <windowsx.h>

namespace {

WNDPROC OldWndProc = nullptr;

// Bare skin answers as a caption, so that the window drags by it.
LRESULT CALLBACK Form1WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    LRESULT result = ::CallWindowProcA(OldWndProc, Wnd, Msg, WParam, LParam);
    // Screen coordinates are signed: a monitor left of or above the primary one has negative ones.
    if (Msg == WM_NCHITTEST && result == HTCLIENT)
        if (auto* form = dynamic_cast<TForm1*>(TWinControl::FromHandle(Wnd));
            form && form->HitTestDrag(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)))
            result = HTCAPTION;
    return result;
}

// A panel of buttons stacked from its top, as wide as its first.
void StackButtons(TPanel* Panel, int Top, std::initializer_list<TImage*> Buttons)
{
    TImage* first = *Buttons.begin();
    int y = 0;
    for (TImage* button : Buttons) {
        button->SetBounds(0, y, button->Width(), button->Height());
        y += button->Height();
    }
    Panel->SetBounds(453, Top, first->Width(), static_cast<int>(Buttons.size()) * first->Height());
}

} // namespace

void TForm1::SetWindowShape()
{
    HWND wnd = Handle();
    ::SetWindowPos(wnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    OldWndProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Form1WndProc)));
    // The window is 580 x 435; the region rounds its corners and cuts its bottom 5 rows.
    ::SetWindowRgn(wnd, ::CreateRoundRectRgn(0, 0, 580, 430, 25, 25), TRUE);
}

bool TForm1::HitTestDrag(int X, int Y)
{
    RECT window;
    ::GetWindowRect(Handle(), &window);
    if (X > window.left + 485 && X < window.right && Y > window.top && Y < window.top + 40) return false; // title strip
    BackgroundMouseMove(PageBackground());
    return true;
}

TImage* TForm1::PageBackground() const
{
    switch (FPage) {
    case pgLicense: return Image19;
    case pgWirelessMode: return Image26;
    case pgAdHoc: return Image34;
    case pgFinalize: return Image33;
    case pgCongratulations: return Image11;
    default: return Image1;
    }
}

void TForm1::InitComponent()
{
    ShowPage(pgWelcome);
    Image_X->Show();
    for (TImage* background : {Image1, Image19, Image26, Image34, Image33, Image11})
        background->SetBounds(0, 0, 580, 435);

    StackButtons(Welcome_Panel, 320 - Image3->Height() - Image8->Height(), {Image3, Image8, Image10});
    StackButtons(License_Panel, 344 - Image17->Height(), {Image17, Image18});
    StackButtons(WirelessMode_Panel, 344 - Image28->Height(), {Image28, Image27});
    StackButtons(Channel_Panel, 344 - Image36->Height(), {Image36, Image35});
    StackButtons(Final_Panel, 344 - Image31->Height(), {Image31, Image30});
    Panel6->SetBounds(453, 344, Image40->Width(), 33);
    Image40->SetBounds(0, 0, Image40->Width(), Image40->Height());

    RichEdit1->SetBounds(66, 195, 326, 128);
    RadioButton1->SetBounds(42, 205, RadioButton1->Width(), RadioButton1->Height());
    RadioButton2->SetBounds(42, 252, RadioButton2->Width(), RadioButton2->Height());
    SSID_EDIT->SetBounds(120, 334, 128, 25);
    Channel_Combo->SetBounds(120, 216, 131, 32);
    NetworkMode_Combo->SetBounds(157, 324, 131, 32);
    Image_X->SetBounds(536, 6, 29, 29);
    Image43->SetBounds(496, 6, 29, 29);

    try {
        RichEdit1->LoadFromFile(".\\License.rtf");
    } catch (const EFOpenError&) {
        Application->HandleException(this); // the wizard goes on, with an empty licence
    }
}
