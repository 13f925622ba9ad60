#include "control.h"
#include "application.h"
#include "form.h"
#include "exceptions.h"

#include <algorithm>

namespace {
const char* const ObjectProp = "ToolkitObject";
thread_local TWinControl* Creating = nullptr; // receives the messages sent during CreateWindowEx
} // namespace

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl()
{
    if (ParentControl) ParentControl->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == ParentControl) return;
    if (ParentControl) ParentControl->RemoveControl(this);
    ParentControl = AParent;
    if (ParentControl) ParentControl->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    Invalidate();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    Invalidate();
}

void TControl::SetVisible(bool Value)
{
    if (Value == FVisible) return;
    FVisible = Value;
    TControl::Invalidate();
}

void TControl::SetEnabled(bool Value)
{
    if (Value == FEnabled) return;
    FEnabled = Value;
    Invalidate();
}

void TControl::Invalidate()
{
    if (ParentControl && ParentControl->HandleAllocated()) {
        RECT r = BoundsRect();
        ::InvalidateRect(ParentControl->Handle(), &r, TRUE);
    }
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
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

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (FHandle && DefWndProc)
        Message.Result = ::CallWindowProcA(DefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WMChar(TMessage& Message)
{
    char key = static_cast<char>(Message.WParam);
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview) form->KeyPress(key);
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
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FHandle) ::SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool Value)
{
    FVisible = Value;
    if (FHandle) ::ShowWindow(FHandle, Value ? SW_SHOW : SW_HIDE);
}

void TWinControl::SetEnabled(bool Value)
{
    FEnabled = Value;
    if (FHandle) ::EnableWindow(FHandle, Value);
}

void TWinControl::Invalidate()
{
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
    FText = Value;
    if (FHandle) ::SetWindowTextA(FHandle, Value.c_str());
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

bool TWinControl::Focused() const { return FHandle && ::GetFocus() == FHandle; }

void TWinControl::InsertControl(TControl* Control)
{
    Children.push_back(Control);
    if (auto* w = dynamic_cast<TWinControl*>(Control); w && FHandle) w->HandleNeeded();
    Control->Invalidate();
}

void TWinControl::RemoveControl(TControl* Control)
{
    Control->Invalidate();
    if (auto* w = dynamic_cast<TWinControl*>(Control)) w->DestroyHandle();
    Children.erase(std::remove(Children.begin(), Children.end(), Control), Children.end());
}
