// Controls. TControl has a place in a parent and bounds; TWinControl owns a
// window: it creates it on demand, receives its messages through a window
// procedure of its own (which program code may still subclass with
// SetWindowLongA) and routes each message through Dispatch.
#pragma once
#include "component.h"
#include "graphics.h"
#include "live_count.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// Notifications that a parent reflects back to the child window they are
// about (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR...), as CN_BASE + the message.
constexpr UINT CN_BASE = 0xBC00;

class TWinControl;
class TCustomForm;

using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
using TShiftState = uint8_t;
enum : TShiftState { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// Cursors are the indices of Screen->Cursors; crDefault leaves the choice to the window.
using TCursor = int;
enum : TCursor { crDefault = 0, crArrow = -2, crCross = -3, crIBeam = -4, crHourGlass = -11, crNo = -18, crHandPoint = -21 };

class TControl : public TComponent {
public:
    CLASS_NAME(TControl)
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return ParentControl; }
    virtual void SetParent(TWinControl* AParent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    virtual void Invalidate();
    RECT ClientRect() const { return RECT{0, 0, FWidth, FHeight}; }
    // Z order among the parent's controls (windows always lie above the
    // controls their parent paints).
    virtual void BringToFront();
    virtual void SendToBack();

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // The font; while ParentFont is set it follows the parent's font.
    TFont* Font() { return &FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TCursor Cursor = crDefault;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void FontChanged();
    // Every change checks that it runs on the thread of the window it lands
    // on (thread_check.h): its own, or its nearest parent's.
    void CheckThread() const;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;

private:
    friend class TWinControl;
    friend class TCustomForm; // presses the buttons of Enter and Esc
    void InheritFont();
    TWinControl* ParentControl = nullptr;
    TFont FFont;
    bool FParentFont = true;
    bool InheritingFont = false;
};

// A control without a window of its own: its parent paints it (Paint, with
// Canvas on the parent's context moved to the control's place and clipped
// to it) and hands it the mouse messages over it.
class TGraphicControl : public TControl {
public:
    CLASS_NAME(TGraphicControl)
    explicit TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}
    TCanvas* Canvas() { return &FCanvas; }

protected:
    virtual void Paint() {}

private:
    friend class TWinControl;
    void PaintTo(HDC DC);
    TCanvas FCanvas;
};

class TWinControl : public TControl {
public:
    CLASS_NAME(TWinControl)
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);

    // Routes a message to the handler for it; messages without one go on to
    // DefaultHandler, the window class's own procedure.
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    int ControlCount() const { return static_cast<int>(Children.size()); }
    TControl* Controls(int Index) const { return Children.at(Index); }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool Value) override;
    void SetEnabled(bool Value) override;
    void Invalidate() override;
    void BringToFront() override;
    void SendToBack() override;

    std::string Text() const;
    virtual void SetText(const std::string& Value);
    // The topmost visible, enabled windowless child at a client point.
    TGraphicControl* ControlAtPos(POINT Pos) const;
    void SetFocus();
    bool Focused() const;

    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter; // the focus came from another control of the same window
    TNotifyEvent OnExit;  // the focus went to another control of the same window

    // The object behind a window of this toolkit, or nullptr.
    static TWinControl* FromHandle(HWND Wnd);

protected:
    struct TCreateParams {
        std::string Caption;
        DWORD Style = 0;
        DWORD ExStyle = 0;
        int X = 0, Y = 0, Width = 0, Height = 0;
        HWND WndParent = nullptr;
        std::string WinClassName;   // our own class, registered on first use
        const char* SysClassName = nullptr; // or a system class to subclass ("EDIT", ...)
        UINT ClassStyle = CS_DBLCLKS;
        HCURSOR Cursor = nullptr;
    };
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    void DestroyHandle();
    virtual void WndProc(TMessage& Message);
    virtual void KeyPress(char& Key);
    // Paints the window's own face after its background; its windowless
    // children are painted over it.
    virtual void PaintWindow(TCanvas* /*Canvas*/) {}
    void FontChanged() override;
    TCustomForm* ParentForm();
    bool OwnClass() const { return DefWndProc == ::DefWindowProcA; }
    // System controls that notify their clicks and double clicks (buttons,
    // lists) say so; for the others a left press and release over the window
    // is a click, and a left double press a double click.
    virtual bool ReportsOwnClicks() const { return false; }
    // Whether the control takes a key that comes down on it for itself, by
    // its answer Code to WM_GETDLGCODE; otherwise Tab, Enter and Esc are the
    // form's. An open drop-down list takes Enter and Esc.
    virtual bool TakesKey(UINT Code, WPARAM Key) const;

    WNDPROC DefWndProc = nullptr;

private:
    friend class TControl;
    static LRESULT CALLBACK StdWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    void Attach(HWND Wnd);
    void WMChar(TMessage& Message);
    void WMPaint(TMessage& Message);
    void PaintContent(HDC DC, const RECT& Area);
    void WMEraseBkgnd(TMessage& Message);
    bool WMSetCursor(TMessage& Message);
    void MouseMessage(TMessage& Message);
    void Restack(TControl* Control, bool ToFront);
    bool SameForm(HWND Other) const;
    void InsertControl(TControl* Control);
    void RemoveControl(TControl* Control);

    TLiveCount<TWinControl> Live;
    HWND FHandle = nullptr;
    std::string FText;
    std::vector<TControl*> Children;
    TControl* MouseControl = nullptr; // receives the mouse while a button is down on it
    bool KeyTaken = false; // the control took the last key down: the character it makes is not previewed
};

// Whether the pointer lies outside Window's rectangle; its edges count as
// inside. Any thread may ask.
bool PointerOutside(HWND Window);
