#include "unit1.h"
#include "unit4.h"
#include "toolkit/application.h"
#include "toolkit/format.h"
#include "toolkit/seam.h"

#include <algorithm>

namespace {

const char* const NetworkModes[] = {"Mixed mode", "G-Only Mode"};

WNDPROC OldApplicationProc = nullptr;

// While the wizard is minimized, the application's window stands for it in
// the taskbar; restoring that window brings the wizard back.
LRESULT CALLBACK ApplicationWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    const LRESULT result = ::CallWindowProcA(OldApplicationProc, Wnd, Msg, WParam, LParam);
    if (Msg == WM_SIZE && WParam == SIZE_RESTORED && Form1 && Form1->Minimized) {
        Form1->Minimized = false;
        Form1->Show();
    }
    return result;
}

} // namespace

std::vector<TControl*> TForm1::PageControls(TSetupPage Page)
{
    switch (Page) {
    case pgWelcome: return {Image1, Welcome_Panel};
    case pgLicense: return {Image19, License_Panel, RichEdit1};
    case pgWirelessMode: return {Image26, WirelessMode_Panel, RadioButton1, RadioButton2, SSID_EDIT};
    case pgAdHoc: return {Image34, Channel_Panel, Channel_Combo, NetworkMode_Combo};
    case pgFinalize: return {Image33, Final_Panel, Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8};
    case pgCongratulations: return {Image11, Panel6};
    }
    return {};
}

// Shows the page's background, panel and controls and hides every other
// page's. The minimize button belongs to the Welcome page, the close button
// to all; the network-mode row of the review, and the ad-hoc step marked
// done, only to an ad-hoc network. No page comes up with a button lit from
// the last time it was shown.
void TForm1::ShowPage(TSetupPage Page)
{
    for (THoverGroup* group : {&Welcome, &License, &WirelessMode, &Channel, &Final, &Exit}) group->Reset();
    for (TSetupPage other : {pgWelcome, pgLicense, pgWirelessMode, pgAdHoc, pgFinalize, pgCongratulations})
        if (other != Page)
            for (TControl* control : PageControls(other)) control->Hide();
    if (Page == pgFinalize) PlaceReviewRows();
    for (TControl* control : PageControls(Page)) control->Show();
    if (Page == pgFinalize && FDefaultMode != 0) {
        Label4->Hide();
        Label8->Hide();
    }
    Image_StepSkipped->SetVisible((Page == pgFinalize || Page == pgCongratulations) && FDefaultMode != 0);
    Image43->SetVisible(Page == pgWelcome);
    FPage = Page;
}

// Each row of the review stands at its designed top, or 4 pixels below the
// row above when that one ends lower: an SSID of two lines moves the rows
// under it down, and they all still end inside the review's box.
void TForm1::PlaceReviewRows()
{
    const struct {
        TLabel *Caption, *Value;
        int Top;
    } rows[] = {{Label1, Label5, 280}, {Label2, Label6, 299}, {Label3, Label7, 320}, {Label4, Label8, 339}};
    int below = 0;
    for (const auto& row : rows) {
        const int top = std::max(row.Top, below);
        row.Caption->SetTop(top);
        row.Value->SetTop(top);
        below = top + std::max(row.Caption->Height(), row.Value->Height()) + 4;
    }
}

void TForm1::Image3Click(TObject*)
{
    PlaySetupSound("click.wav");
    if (FIsXP) {
        // Windows XP and later 5.x: straight to the installer, which keeps
        // its own settings; no WLAN.INI is written.
        if (StartInstaller()) FPage = pgCongratulations;
        return;
    }
    ShowPage(pgLicense);
    RichEdit1->SetFocus();
}

void TForm1::Image8Click(TObject*)
{
    HINSTANCE opened = Platform().ShellExecute(Handle(), "open", ".\\manual\\manual.pdf", "", "", SW_SHOWNORMAL);
    ::SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (reinterpret_cast<INT_PTR>(opened) <= 32) Form4->ShowModal();
}

void TForm1::Image10Click(TObject*) { Close(); }

void TForm1::Image18Click(TObject*) { Close(); }

void TForm1::Image_XClick(TObject*) { Close(); }

// Windows hides the windows of a minimized owner by itself, Wine does not:
// the wizard hides itself.
void TForm1::Image43Click(TObject*)
{
    HWND application = Application->Handle();
    if (!OldApplicationProc)
        OldApplicationProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(application, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ApplicationWndProc)));
    Minimized = true;
    Hide();
    ::ShowWindow(application, SW_MINIMIZE);
}

void TForm1::Image17Click(TObject*)
{
    PlaySetupSound("click.wav");
    ShowPage(pgWirelessMode);
    SSID_EDIT->SetFocus();
}

void TForm1::Image27Click(TObject*)
{
    PlaySetupSound("click.wav");
    ShowPage(pgLicense);
    RichEdit1->SetFocus();
}

void TForm1::RadioButton1Click(TObject*) { FInfrastructure = true; }

void TForm1::RadioButton2Click(TObject*) { FInfrastructure = false; }

void TForm1::Image28Click(TObject*)
{
    // The edit takes 32 characters; a text set from outside may be longer.
    const std::string ssid = SSID_EDIT->Text().substr(0, 32);
    if (ssid.empty()) { // blanks are a name
        Application->MessageBox("Please key in a SSID to config the wireless network setting", Application->Title(),
                                MB_OK | MB_ICONWARNING);
        return;
    }
    Label6->SetCaption(ssid);
    if (FInfrastructure) {
        FDefaultMode = 1;
        FDefaultChannel = 6;
        Label5->SetCaption("Infrastructure");
        Label7->SetCaption("Auto");
        ShowPage(pgFinalize);
    } else {
        FDefaultMode = 0;
        Label5->SetCaption("Ad-Hoc");
        ShowPage(pgAdHoc);
    }
    FSsid = ssid;
}

void TForm1::Image35Click(TObject*)
{
    PlaySetupSound("click.wav");
    ShowPage(pgWirelessMode);
}

// The review names the channel and mode that will be written, also when the
// lists have no selection.
void TForm1::Image36Click(TObject*)
{
    const int channel = Channel_Combo->ItemIndex();
    FDefaultChannel = channel >= 0 ? channel + 1 : 11;
    const int mode = NetworkMode_Combo->ItemIndex();
    if (mode == 0 || mode == 1) FDefaultGoo = mode;
    FSsid = SSID_EDIT->Text().substr(0, 32);
    Label6->SetCaption(FSsid);
    Label7->SetCaption(IntToStr(FDefaultChannel));
    Label8->SetCaption(NetworkModes[FDefaultGoo]);
    ShowPage(pgFinalize);
}

void TForm1::Image30Click(TObject*) { ShowPage(FInfrastructure ? pgWirelessMode : pgAdHoc); }
