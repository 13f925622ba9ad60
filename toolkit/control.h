// Controls. TControl has a place in a parent and bounds; TWinControl owns a
// window: it creates it on demand, receives its messages through a window
// procedure of its own (which program code may still subclass with
// SetWindowLongA) and routes each message through Dispatch.
#pragma once
#include "component.h"

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

    TNotifyEvent OnClick;

protected:
    virtual void Click();
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;

private:
    TWinControl* ParentControl = nullptr;
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

    std::string Text() const;
    void SetText(const std::string& Value);
    void SetFocus();
    bool Focused() const;

    TKeyPressEvent OnKeyPress;

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
    TCustomForm* ParentForm();

    WNDPROC DefWndProc = nullptr;

private:
    friend class TControl;
    static LRESULT CALLBACK StdWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    void Attach(HWND Wnd);
    void WMChar(TMessage& Message);
    void InsertControl(TControl* Control);
    void RemoveControl(TControl* Control);

    HWND FHandle = nullptr;
    std::string FText;
    std::vector<TControl*> Children;
};
