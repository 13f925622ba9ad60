#include "form.h"
#include "application.h"

#include <algorithm>
#include <vector>

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) { FVisible = false; }

TCustomForm::~TCustomForm()
{
    if (OnDestroy) OnDestroy(this);
    DestroyHandle();
    if (Application->MainForm == this) Application->MainForm = nullptr;
}

void TCustomForm::AfterConstruction()
{
    if (OnCreate) OnCreate(this);
}

void TCustomForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style &= ~(WS_CHILD | WS_VISIBLE);
    switch (BorderStyle) {
    case bsNone: Params.Style |= WS_POPUP; break;
    case bsSingle: Params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_BORDER; break;
    case bsSizeable: Params.Style |= WS_OVERLAPPEDWINDOW; break;
    case bsDialog:
        Params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
        Params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    }
    Params.WndParent = Application->Handle();
}

void TCustomForm::SetVisible(bool Value)
{
    if (Value == FVisible && HandleAllocated()) return;
    FVisible = Value;
    if (Value) {
        DoShow();
        ::ShowWindow(Handle(), SW_SHOW);
        BringToFront();
    } else {
        if (HandleAllocated()) ::ShowWindow(Handle(), SW_HIDE);
        DoHide();
    }
}

void TCustomForm::DoShow()
{
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide) OnHide(this);
}

void TCustomForm::KeyPress(char& Key) { TWinControl::KeyPress(Key); }

void TCustomForm::BringToFront()
{
    if (HandleAllocated())
        ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (Modal) {
        ModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (Application->MainForm == this) Application->Terminate();
    else if (action == caHide) Hide();
    else if (action == caMinimize) ::ShowWindow(Handle(), SW_MINIMIZE);
    else delete this;
}

void TCustomForm::SelectNext(TWinControl* Current, bool Forward)
{
    std::vector<TWinControl*> stops;
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(Components(i));
        if (control && control->HandleAllocated() && ::IsWindowVisible(control->Handle()) &&
            ::IsWindowEnabled(control->Handle()) && (::GetWindowLongA(control->Handle(), GWL_STYLE) & WS_TABSTOP))
            stops.push_back(control);
    }
    if (stops.empty()) return;
    const auto at = std::find(stops.begin(), stops.end(), Current);
    const size_t n = stops.size();
    size_t next = Forward ? 0 : n - 1;
    if (at != stops.end()) next = (static_cast<size_t>(at - stops.begin()) + (Forward ? 1 : n - 1)) % n;
    HWND wnd = stops[next]->Handle();
    ::SetFocus(wnd);
    if (::SendMessageA(wnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessageA(wnd, EM_SETSEL, 0, -1);
}

bool TCustomForm::DialogKey(TWinControl* Focused, WPARAM Key)
{
    if (Key != VK_RETURN && Key != VK_ESCAPE) return false;
    TControl* button = nullptr;
    HWND focused = Focused->Handle();
    const UINT code = static_cast<UINT>(::SendMessageA(focused, WM_GETDLGCODE, 0, 0));
    if (Key == VK_RETURN && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) button = Focused;
    for (TControl* candidate : Key == VK_RETURN ? DefaultButtons : CancelButtons)
        if (!button && Reachable(candidate)) button = candidate;
    if (!button) return false;
    DropCharOfKey(focused, Key);
    button->Click();
    return true;
}

void DropCharOfKey(HWND Window, WPARAM Key)
{
    auto madeByKey = [Key](WPARAM Char) {
        switch (Key) {
        case VK_ESCAPE: return Char == 0x1B;
        case VK_RETURN: return Char == '\r' || Char == '\n';
        case VK_TAB: return Char == '\t';
        default: return false;
        }
    };
    MSG typed;
    while (::PeekMessageA(&typed, Window, WM_CHAR, WM_CHAR, PM_NOREMOVE) && madeByKey(typed.wParam))
        ::PeekMessageA(&typed, Window, WM_CHAR, WM_CHAR, PM_REMOVE);
}

bool Reachable(const TControl* Control)
{
    for (const TControl* c = Control; c && !dynamic_cast<const TCustomForm*>(c); c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

static BOOL CALLBACK CollectEnabledWindow(HWND Wnd, LPARAM List)
{
    if (::IsWindowVisible(Wnd) && ::IsWindowEnabled(Wnd)) reinterpret_cast<std::vector<HWND>*>(List)->push_back(Wnd);
    return TRUE;
}

int TCustomForm::ShowModal()
{
    // The window the user opened the form from, active again before the form
    // hides: a window manager would give the focus to another program's window.
    HWND opener = ::GetActiveWindow();
    // Every other window of this thread is disabled while the form runs.
    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    for (HWND wnd : disabled) ::EnableWindow(wnd, FALSE);

    Modal = true;
    ModalResult = mrNone;
    Show();
    // Opened by the user's action: the keys come here at once, to the first
    // control that takes them, as in a dialog.
    ::SetForegroundWindow(Handle());
    if (!::IsChild(Handle(), ::GetFocus())) SelectNext(nullptr, true);
    while (ModalResult == mrNone) {
        Application->HandleMessage();
        if (Application->Terminated) ModalResult = mrCancel;
        if (ModalResult != mrNone && !CloseQuery()) ModalResult = mrNone;
    }
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    Modal = false;
    for (HWND wnd : disabled)
        if (::IsWindow(wnd)) ::EnableWindow(wnd, TRUE);
    if (::GetActiveWindow() == Handle() && opener != Handle() && ::IsWindowVisible(opener))
        ::SetForegroundWindow(opener);
    Hide();
    return ModalResult;
}

void TCustomForm::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case WM_KEYDOWN:
        // A form without focusable controls still sees its keys as characters.
        break;
    }
    TWinControl::Dispatch(Message);
}
