// The WEP key dialog of the site survey: asks for the level and key of a
// protected network and hands back a WEP record. A borderless skinned window
// like the main window, dragged by any bare point; made once at start and
// shown modally by the survey's Connect.
#pragma once
#include "drivers/records.h"
#include "toolkit/form.h"
#include "toolkit/graphic_controls.h"
#include "toolkit/picture_button.h"
#include "toolkit/stdctrls.h"
#include "wep_key_controls.h"

#include <cstdint>
#include <memory>

class TSiteSurveyWEPFrm : public TForm {
public:
    CLASS_NAME(TSiteSurveyWEPFrm)
    explicit TSiteSurveyWEPFrm(TComponent* AOwner);
    ~TSiteSurveyWEPFrm() override;

    TImage* Img_WEP; // hidden: the skin picture, source of the background and of the size
    TEdit* WEPSet_Passphrase;
    TMaskEdit* WEPSet_WEPKey1;
    TPictureButton* WEP_OKBtn;
    TPictureButton* WEP_CancelBtn;
    TPanel* Panel1; // the white frame of the level list
    TComboBox* WEPSet_WEP;

    // The answer, read once the dialog has closed: Result 1 with the level and
    // key 1 after OK; Result 0 after Cancel or any other way of closing.
    uint8_t Result = 0;
    WlanWepInfo WepInfo{};

    void FormCreate(TObject* Sender);
    void FormActivate(TObject* Sender); // each time it is shown
    void FormClose(TObject* Sender, TCloseAction& Action);
    void WEP_OKBtnClick(TObject* Sender);
    void WEP_CancelBtnClick(TObject* Sender);
    void WEPSet_WEPChange(TObject* Sender);
    void eChange(TObject* Sender);
    void WEPSet_WEPKey1KeyPress(TObject* Sender, char& Key);
    void WEPSet_WEPKey1DblClick(TObject* Sender);
    void LayoutWepControls();

protected:
    void CreateWnd() override;

private:
    friend LRESULT CALLBACK WepFrmWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    void CentreOnMainWindow();
    std::unique_ptr<TWepKeyControls> Keys;
    WNDPROC OldWndProc = nullptr; // the form's own, which WepFrmWndProc replaces
};

// Replaces the dialog's window procedure: tiles the skin as the background
// and drags the dialog by every bare point.
LRESULT CALLBACK WepFrmWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// Made by the entry function after the main window.
extern TSiteSurveyWEPFrm* SiteSurveyWEPFrm;
