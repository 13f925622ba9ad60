#include "control.h"
#include "application.h"
#include "form.h"
#include "exceptions.h"
#include "thread_check.h"

#include <windowsx.h>

#include <algorithm>

namespace {
const char* const ObjectProp = "ToolkitObject";
thread_local TWinControl* Creating = nullptr; // receives the messages sent during CreateWindowEx
} // namespace

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    FFont.OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl()
{
    if (ParentControl) ParentControl->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent)
{
    CheckThread();
    if (AParent == ParentControl) return;
    if (ParentControl) ParentControl->RemoveControl(this);
    ParentControl = AParent;
    if (ParentControl) {
        if (FParentFont) InheritFont();
        ParentControl->InsertControl(this);
    }
}

void TControl::InheritFont()
{
    InheritingFont = true;
    FFont.Assign(&ParentControl->FFont);
    InheritingFont = false;
}

void TControl::SetParentFont(bool Value)
{
    CheckThread();
    FParentFont = Value;
    if (Value && ParentControl) InheritFont();
}

void TControl::FontChanged()
{
    if (!InheritingFont) FParentFont = false;
    Invalidate();
}

void TControl::SetColor(TColor Value)
{
    CheckThread();
    if (Value == FColor) return;
    FColor = Value;
    Invalidate();
}

void TControl::BringToFront()
{
    CheckThread();
    if (ParentControl) ParentControl->Restack(this, true);
}

void TControl::SendToBack()
{
    CheckThread();
    if (ParentControl) ParentControl->Restack(this, false);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    CheckThread();
    Invalidate();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    Invalidate();
}

void TControl::SetVisible(bool Value)
{
    CheckThread();
    if (Value == FVisible) return;
    FVisible = Value;
    TControl::Invalidate();
}

void TControl::SetEnabled(bool Value)
{
    CheckThread();
    if (Value == FEnabled) return;
    FEnabled = Value;
    Invalidate();
}

void TControl::Invalidate()
{
    CheckThread();
    if (ParentControl && ParentControl->HandleAllocated()) {
        RECT r = BoundsRect();
        ::InvalidateRect(ParentControl->Handle(), &r, TRUE);
    }
}

void TControl::CheckThread() const
{
    for (const TControl* c = this; c; c = c->ParentControl)
        if (auto* w = dynamic_cast<const TWinControl*>(c); w && w->FHandle) {
            CheckWindowThread(w->FHandle, this);
            return;
        }
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TGraphicControl::PaintTo(HDC DC)
{
    FCanvas.SetHandle(DC);
    try {
        Paint();
    } catch (...) {
        FCanvas.SetHandle(nullptr);
        throw;
    }
    FCanvas.SetHandle(nullptr);
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    Destroying = true;
    // Children owned elsewhere must not keep a pointer to this parent.
    while (!Children.empty()) Children.back()->SetParent(nullptr);
    DestroyHandle();
}

TWinControl* TWinControl::FromHandle(HWND Wnd)
{
    return Wnd ? static_cast<TWinControl*>(::GetPropA(Wnd, ObjectProp)) : nullptr;
}

HWND TWinControl::Handle()
{
    if (!FHandle) {
        CheckThread(); // the window would belong to the calling thread
        CreateWnd();
        for (TControl* child : Children)
            if (auto* w = dynamic_cast<TWinControl*>(child)) w->HandleNeeded();
    }
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = FText;
    Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (Parent()) {
        Params.Style |= WS_CHILD;
        Params.WndParent = Parent()->Handle();
    }
    if (FVisible) Params.Style |= WS_VISIBLE;
    if (!FEnabled) Params.Style |= WS_DISABLED;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WinClassName = ClassName();
    Params.Cursor = ::LoadCursor(nullptr, IDC_ARROW);
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    const char* windowClass = params.SysClassName;
    if (!windowClass) {
        WNDCLASSA wc{};
        if (!::GetClassInfoA(instance, params.WinClassName.c_str(), &wc)) {
            wc.style = params.ClassStyle;
            wc.lpfnWndProc = StdWndProc;
            wc.hInstance = instance;
            wc.hCursor = params.Cursor;
            wc.lpszClassName = params.WinClassName.c_str();
            ::RegisterClassA(&wc);
        }
        windowClass = params.WinClassName.c_str();
        DefWndProc = ::DefWindowProcA;
    }
    Creating = params.SysClassName ? nullptr : this;
    HWND wnd = ::CreateWindowExA(params.ExStyle, windowClass, params.Caption.c_str(), params.Style, params.X,
                                 params.Y, params.Width, params.Height, params.WndParent, nullptr, instance, nullptr);
    Creating = nullptr;
    if (!wnd) throw EOSError("Error creating window " + std::string(ClassName()));
    if (params.SysClassName) {
        Attach(wnd);
        DefWndProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StdWndProc)));
    }
    if (FHandle != wnd) Attach(wnd);
    ::SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), FALSE);
}

void TWinControl::Attach(HWND Wnd)
{
    FHandle = Wnd;
    ::SetPropA(Wnd, ObjectProp, this);
}

void TWinControl::DestroyHandle()
{
    if (!FHandle) return;
    HWND wnd = FHandle;
    ::DestroyWindow(wnd); // WM_NCDESTROY detaches
    FHandle = nullptr;
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TWinControl* self = FromHandle(Wnd);
    if (!self && Creating) {
        self = Creating;
        self->Attach(Wnd);
    }
    if (!self) return ::DefWindowProcA(Wnd, Msg, WParam, LParam);
    TMessage message{Msg, WParam, LParam, 0};
    try {
        self->WndProc(message);
    } catch (...) {
        Application->HandleException(self);
    }
    if (Msg == WM_NCDESTROY) {
        ::RemovePropA(Wnd, ObjectProp);
        if (self->FHandle == Wnd) self->FHandle = nullptr;
    }
    return message.Result;
}

void TWinControl::WndProc(TMessage& Message) { Dispatch(Message); }

LRESULT TWinControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    CheckThread();
    TMessage message{Msg, WParam, LParam, 0};
    WndProc(message);
    return message.Result;
}

void TWinControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CHAR:
        WMChar(Message);
        return;
    case WM_PAINT:
        if (OwnClass()) {
            WMPaint(Message);
            return;
        }
        break;
    case WM_ERASEBKGND:
        if (OwnClass()) {
            WMEraseBkgnd(Message);
            return;
        }
        break;
    case WM_PRINTCLIENT: // PrintWindow and friends: the same picture on their context
        if (OwnClass()) {
            RECT all;
            ::GetClientRect(FHandle, &all);
            PaintContent(reinterpret_cast<HDC>(Message.WParam), all);
            return;
        }
        break;
    case WM_SETCURSOR:
        if (WMSetCursor(Message)) return;
        break;
    case WM_KEYDOWN: {
        // Tab moves on, Enter and Esc press the form's buttons, unless the
        // control takes the key itself.
        TCustomForm* form = ParentForm();
        MSG key{FHandle, Message.Msg, Message.WParam, Message.LParam, 0, {}};
        const UINT code = static_cast<UINT>(
            ::SendMessageA(FHandle, WM_GETDLGCODE, Message.WParam, reinterpret_cast<LPARAM>(&key)));
        KeyTaken = TakesKey(code, Message.WParam);
        if (!form || KeyTaken) break;
        if (Message.WParam == VK_TAB) {
            DropCharOfKey(FHandle, VK_TAB);
            form->SelectNext(this, ::GetKeyState(VK_SHIFT) >= 0);
            return;
        }
        if (form->DialogKey(this, Message.WParam)) return;
        break;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        MouseMessage(Message);
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(Message.LParam) != FHandle) MouseControl = nullptr;
        break;
    case WM_SETFOCUS:
        if (SameForm(reinterpret_cast<HWND>(Message.WParam)) && OnEnter) OnEnter(this);
        break;
    case WM_KILLFOCUS:
        // Only a move to another control of the same window is an exit; a
        // message box or another program taking the focus is not.
        if (SameForm(reinterpret_cast<HWND>(Message.WParam)) && OnExit) OnExit(this);
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
        HWND child = Message.Msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom
                                              : reinterpret_cast<HWND>(Message.LParam);
        if (TWinControl* control = FromHandle(child); control && control != this) {
            Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
            return;
        }
        break;
    }
    case WM_SIZE:
        if (!::IsIconic(FHandle)) {
            RECT r;
            ::GetWindowRect(FHandle, &r);
            if (HWND parent = ::GetParent(FHandle); parent && (::GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD))
                ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
            FLeft = r.left;
            FTop = r.top;
            FWidth = r.right - r.left;
            FHeight = r.bottom - r.top;
        }
        break;
    }
    DefaultHandler(Message);
}

void TWinControl::WMPaint(TMessage& Message)
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(FHandle, &ps);
    try {
        PaintContent(dc, ps.rcPaint);
    } catch (...) {
        ::EndPaint(FHandle, &ps);
        throw;
    }
    ::EndPaint(FHandle, &ps);
}

// The window's face and then its windowless children, in z order, on DC.
void TWinControl::PaintContent(HDC DC, const RECT& Area)
{
    TCanvas canvas;
    canvas.SetHandle(DC);
    PaintWindow(&canvas);
    for (TControl* child : Children) {
        auto* control = dynamic_cast<TGraphicControl*>(child);
        RECT r = child->BoundsRect(), common;
        if (!control || !control->Visible() || !::IntersectRect(&common, &r, &Area)) continue;
        int saved = ::SaveDC(DC);
        ::IntersectClipRect(DC, r.left, r.top, r.right, r.bottom);
        ::SetViewportOrgEx(DC, r.left, r.top, nullptr);
        control->PaintTo(DC);
        ::RestoreDC(DC, saved);
    }
}

void TWinControl::WMEraseBkgnd(TMessage& Message)
{
    if (FColor == clNone) return;
    RECT r;
    ::GetClientRect(FHandle, &r);
    HBRUSH brush = ::CreateSolidBrush(ColorToRGB(FColor));
    ::FillRect(reinterpret_cast<HDC>(Message.WParam), &r, brush);
    ::DeleteObject(brush);
    Message.Result = 1;
}

TGraphicControl* TWinControl::ControlAtPos(POINT Pos) const
{
    for (auto it = Children.rbegin(); it != Children.rend(); ++it) {
        auto* control = dynamic_cast<TGraphicControl*>(*it);
        RECT r = (*it)->BoundsRect();
        if (control && control->Visible() && control->Enabled() && ::PtInRect(&r, Pos)) return control;
    }
    return nullptr;
}

bool TWinControl::WMSetCursor(TMessage& Message)
{
    if (reinterpret_cast<HWND>(Message.WParam) != FHandle || LOWORD(Message.LParam) != HTCLIENT) return false;
    POINT p;
    ::GetCursorPos(&p);
    ::ScreenToClient(FHandle, &p);
    TControl* control = MouseControl ? MouseControl : ControlAtPos(p);
    TCursor cursor = control && control->Cursor != crDefault ? control->Cursor : Cursor;
    if (cursor == crDefault) return false;
    ::SetCursor(Screen->Cursors(cursor));
    Message.Result = TRUE;
    return true;
}

namespace {

TShiftState ShiftOf(WPARAM Keys)
{
    TShiftState shift = 0;
    if (Keys & MK_SHIFT) shift |= ssShift;
    if (Keys & MK_CONTROL) shift |= ssCtrl;
    if (::GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    if (Keys & MK_LBUTTON) shift |= ssLeft;
    if (Keys & MK_RBUTTON) shift |= ssRight;
    if (Keys & MK_MBUTTON) shift |= ssMiddle;
    return shift;
}

} // namespace

// Mouse messages go to the windowless child under the pointer, or to the
// child that a button went down on, until that button comes up; a click is
// a left press and release on the same control, and a double click a left
// double press, except for the system controls that report their own
// clicks and double clicks.
void TWinControl::MouseMessage(TMessage& Message)
{
    POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    TControl* target = MouseControl ? MouseControl : ControlAtPos(p);
    if (!target) target = this;
    int x = p.x, y = p.y;
    if (target != this) x -= target->Left(), y -= target->Top();
    TShiftState shift = ShiftOf(Message.WParam);
    UINT msg = Message.Msg;
    TMouseButton button = msg <= WM_LBUTTONDBLCLK ? mbLeft : msg <= WM_RBUTTONDBLCLK ? mbRight : mbMiddle;
    switch (msg) {
    case WM_MOUSEMOVE:
        target->MouseMove(shift, x, y);
        break;
    case WM_LBUTTONDOWN:
        if (target != this || OwnClass()) {
            MouseControl = target;
            ::SetCapture(FHandle);
        } else if (!ReportsOwnClicks()) {
            MouseControl = this; // the system window captures the mouse itself
        }
        target->MouseDown(button, shift, x, y);
        break;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        target->MouseDown(button, shift, x, y);
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        target->MouseDown(button, shift | ssDouble, x, y);
        if (button == mbLeft && (target != this || !ReportsOwnClicks())) target->DblClick();
        break;
    case WM_LBUTTONUP: {
        bool clicked = MouseControl == target && x >= 0 && y >= 0 && x < target->Width() && y < target->Height();
        if (MouseControl) {
            MouseControl = nullptr;
            if (::GetCapture() == FHandle && (target != this || OwnClass())) ::ReleaseCapture();
        }
        target->MouseUp(button, shift, x, y);
        if (clicked) target->Click();
        break;
    }
    default:
        target->MouseUp(button, shift, x, y);
        break;
    }
}

bool TWinControl::SameForm(HWND Other) const
{
    return Other && Other != FHandle && ::GetAncestor(Other, GA_ROOT) == ::GetAncestor(FHandle, GA_ROOT);
}

void TWinControl::Restack(TControl* Control, bool ToFront)
{
    Children.erase(std::remove(Children.begin(), Children.end(), Control), Children.end());
    Children.insert(ToFront ? Children.end() : Children.begin(), Control);
    Control->Invalidate();
}

void TWinControl::BringToFront()
{
    TControl::BringToFront();
    if (FHandle) ::SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SendToBack()
{
    TControl::SendToBack();
    if (FHandle) ::SetWindowPos(FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::FontChanged()
{
    TControl::FontChanged();
    if (FHandle) ::SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
    for (TControl* child : Children)
        if (child->FParentFont) child->InheritFont();
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (FHandle && DefWndProc)
        Message.Result = ::CallWindowProcA(DefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

bool TWinControl::TakesKey(UINT Code, WPARAM Key) const
{
    return (Code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) || (Key == VK_TAB && (Code & DLGC_WANTTAB));
}

void TWinControl::WMChar(TMessage& Message)
{
    char key = static_cast<char>(Message.WParam);
    // A key that the control took is its own: the form does not see its
    // character first (Esc that closes an open list is not the form's Esc).
    const bool taken = KeyTaken;
    KeyTaken = false;
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview && !taken) form->KeyPress(key);
    if (key) KeyPress(key);
    if (!key) return; // handled
    Message.WParam = static_cast<unsigned char>(key);
    DefaultHandler(Message);
}

void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress) OnKeyPress(this, Key);
}

TCustomForm* TWinControl::ParentForm()
{
    for (TWinControl* c = this; c; c = c->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
    return nullptr;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    CheckThread();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FHandle) ::SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool Value)
{
    CheckThread();
    FVisible = Value;
    if (FHandle) ::ShowWindow(FHandle, Value ? SW_SHOW : SW_HIDE);
}

void TWinControl::SetEnabled(bool Value)
{
    CheckThread();
    FEnabled = Value;
    if (FHandle) ::EnableWindow(FHandle, Value);
}

void TWinControl::Invalidate()
{
    CheckThread();
    if (FHandle) ::InvalidateRect(FHandle, nullptr, TRUE);
}

std::string TWinControl::Text() const
{
    if (!FHandle) return FText;
    int n = ::GetWindowTextLengthA(FHandle);
    std::string s(n + 1, '\0');
    n = ::GetWindowTextA(FHandle, &s[0], n + 1);
    s.resize(n);
    return s;
}

void TWinControl::SetText(const std::string& Value)
{
    CheckThread();
    FText = Value;
    if (FHandle) ::SetWindowTextA(FHandle, Value.c_str());
}

void TWinControl::SetFocus()
{
    CheckThread();
    ::SetFocus(Handle());
}

bool TWinControl::Focused() const { return FHandle && ::GetFocus() == FHandle; }

void TWinControl::InsertControl(TControl* Control)
{
    Children.push_back(Control);
    if (auto* w = dynamic_cast<TWinControl*>(Control); w && FHandle) w->HandleNeeded();
    Control->Invalidate();
}

void TWinControl::RemoveControl(TControl* Control)
{
    if (MouseControl == Control) MouseControl = nullptr;
    Control->Invalidate();
    if (auto* w = dynamic_cast<TWinControl*>(Control)) w->DestroyHandle();
    Children.erase(std::remove(Children.begin(), Children.end(), Control), Children.end());
}

bool PointerOutside(HWND Window)
{
    POINT p;
    RECT r;
    return ::GetCursorPos(&p) && ::GetWindowRect(Window, &r) &&
           (p.x < r.left || p.x > r.right || p.y < r.top || p.y > r.bottom);
}
