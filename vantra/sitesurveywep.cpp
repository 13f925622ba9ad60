#include "sitesurveywep.h"
#include "resource_ids.h"
#include "skin_window.h"
#include "toolkit/application.h"
#include "toolkit/formdata.h"
#include "toolkit/make_control.h"

#include <cstring>

TSiteSurveyWEPFrm* SiteSurveyWEPFrm = nullptr;

TSiteSurveyWEPFrm::TSiteSurveyWEPFrm(TComponent* AOwner) : TForm(AOwner)
{
    BorderStyle = bsNone;
    SetColor(clWhite);
    Img_WEP = MakeControl<TImage>(this, this, "Img_WEP");
    Img_WEP->Hide();
    WEPSet_Passphrase = MakeControl<TEdit>(this, this, "WEPSet_Passphrase");
    WEPSet_WEPKey1 = MakeControl<TMaskEdit>(this, this, "WEPSet_WEPKey1");
    WEP_OKBtn = MakeControl<TPictureButton>(this, this, "WEP_OKBtn");
    WEP_CancelBtn = MakeControl<TPictureButton>(this, this, "WEP_CancelBtn");
    Panel1 = MakeControl<TPanel>(this, this, "Panel1");
    Panel1->SetBevelOuter(bvNone);
    Panel1->SetColor(clWhite);
    WEPSet_WEP = MakeControl<TComboBox>(this, Panel1, "WEPSet_WEP");
    for (TWinControl* control : std::initializer_list<TWinControl*>{WEPSet_Passphrase, WEPSet_WEPKey1, WEPSet_WEP}) {
        control->Font()->SetName("Tahoma");
        control->Font()->SetSize(8);
    }
    Keys = std::make_unique<TWepKeyControls>(WEPSet_WEP, WEPSet_Passphrase, WEPSet_WEPKey1);
    LoadFormPictures(this);
    WEP_OKBtn->Glyph()->LoadFromResourceID(::GetModuleHandleA(nullptr), IDB_WEP_OK);
    WEP_CancelBtn->Glyph()->LoadFromResourceID(::GetModuleHandleA(nullptr), IDB_WEP_CANCEL);

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) {
        CentreOnMainWindow();
        FormActivate(s);
    };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    WEP_OKBtn->OnClick = [this](TObject* s) { WEP_OKBtnClick(s); };
    WEP_CancelBtn->OnClick = [this](TObject* s) { WEP_CancelBtnClick(s); };
    DefaultButtons = {WEP_OKBtn};
    CancelButtons = {WEP_CancelBtn};
    WEPSet_WEP->OnChange = [this](TObject* s) { WEPSet_WEPChange(s); };
    WEPSet_Passphrase->OnChange = [this](TObject* s) { eChange(s); };
    WEPSet_WEPKey1->OnKeyPress = [this](TObject* s, char& k) { WEPSet_WEPKey1KeyPress(s, k); };
    WEPSet_WEPKey1->OnDblClick = [this](TObject* s) { WEPSet_WEPKey1DblClick(s); };

    TBitmap* skin = Img_WEP->Picture()->Bitmap();
    SetBounds(Left(), Top(), skin->Width(), skin->Height());
}

// The window is made when the dialog is first needed: a copy started only
// to stop another makes none.
void TSiteSurveyWEPFrm::CreateWnd()
{
    TForm::CreateWnd();
    HWND wnd = Handle();
    OldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WepFrmWndProc)));
    CutSkinRegion(wnd);
}

TSiteSurveyWEPFrm::~TSiteSurveyWEPFrm()
{
    // The window outlives this part of the form: its last messages go to the
    // form's own procedure.
    if (OldWndProc && HandleAllocated())
        ::SetWindowLongPtrA(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldWndProc));
}

void TSiteSurveyWEPFrm::FormCreate(TObject*) { LayoutWepControls(); }

void TSiteSurveyWEPFrm::LayoutWepControls()
{
    Panel1->SetBounds(258, 130, 110, 27);
    WEPSet_WEP->SetBounds(0, 0, 110, 27);
    WEPSet_Passphrase->SetBounds(258, Panel1->Top() + 91, 110, 27);
    WEPSet_WEPKey1->SetBounds(220, WEPSet_Passphrase->Top() + 76, 280, 27);
    WEP_OKBtn->SetBounds(WEPSet_WEPKey1->Left() - 15, WEPSet_WEPKey1->Top() + 50, 59, 22);
    WEP_OKBtn->BringToFront();
    WEP_CancelBtn->SetBounds(WEP_OKBtn->Left() + 150, WEP_OKBtn->Top(), 59, 22);
    WEP_CancelBtn->BringToFront();
}

// Over the main window, which lies where the user last had it.
void TSiteSurveyWEPFrm::CentreOnMainWindow()
{
    RECT area{0, 0, Screen->Width(), Screen->Height()};
    if (TCustomForm* main = Application->MainForm; main && main != this) ::GetWindowRect(main->Handle(), &area);
    SetBounds(area.left + (area.right - area.left - Width()) / 2, area.top + (area.bottom - area.top - Height()) / 2,
              Width(), Height());
}

void TSiteSurveyWEPFrm::FormActivate(TObject*)
{
    WEPSet_WEP->BringToFront();
    WEPSet_WEP->SetItemIndex(0);
    TWepKeyControls::SetUsable(WEPSet_Passphrase, false);
    WEPSet_Passphrase->SetText("");
    TWepKeyControls::SetUsable(WEPSet_WEPKey1, false);
    WEPSet_WEPKey1->SetText(""); // the mask stays as the last level left it
}

void TSiteSurveyWEPFrm::WEPSet_WEPChange(TObject*) { Keys->LevelChanged(WepKeyForm::Hexadecimal); }

void TSiteSurveyWEPFrm::eChange(TObject*) { Keys->PassphraseChanged(); }

void TSiteSurveyWEPFrm::WEPSet_WEPKey1KeyPress(TObject*, char& Key) { TWepKeyControls::FilterKeyPress(Key); }

void TSiteSurveyWEPFrm::WEPSet_WEPKey1DblClick(TObject*) { Keys->SelectKey(); }

void TSiteSurveyWEPFrm::WEP_OKBtnClick(TObject*)
{
    Result = 1;
    WepInfo.EncryptionLevel = static_cast<uint8_t>(Keys->Level());
    WepInfo.WepKeyToUse = 0;
    WepInfo.PassphraseUsed = !WEPSet_Passphrase->Text().empty();
    // Every key slot is written: an earlier answer's key never goes through.
    Keys->ReadKey(WepInfo.WepKey1);
    std::memset(WepInfo.WepKey2, 0, sizeof WepInfo.WepKey2);
    std::memset(WepInfo.WepKey3, 0, sizeof WepInfo.WepKey3);
    std::memset(WepInfo.WepKey4, 0, sizeof WepInfo.WepKey4);
    ModalResult = mrOk;
}

void TSiteSurveyWEPFrm::WEP_CancelBtnClick(TObject*)
{
    Result = 0;
    Close();
}

// Closed other than by OK (Alt+F4, the program's exit): an answer of an
// earlier OK must not count as this one's.
void TSiteSurveyWEPFrm::FormClose(TObject*, TCloseAction&)
{
    if (ModalResult != mrOk) Result = 0;
}

LRESULT CALLBACK WepFrmWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    auto& form = *static_cast<TSiteSurveyWEPFrm*>(TWinControl::FromHandle(Wnd));
    if (Msg == WM_ERASEBKGND)
        if (LRESULT erased = TileSkin(reinterpret_cast<HDC>(WParam), form.Img_WEP->Picture()->Bitmap())) return erased;
    LRESULT result = ::CallWindowProcA(form.OldWndProc, Wnd, Msg, WParam, LParam);
    // The borderless dialog drags by any bare point.
    return Msg == WM_NCHITTEST && result == HTCLIENT ? HTCAPTION : result;
}
