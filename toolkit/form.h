// Forms: top-level windows owned by the application window. A form is built
// in two phases, as the program's code expects: its constructor sets up
// the components, then AfterConstruction runs OnCreate, so that handlers
// see a fully built object.
#pragma once
#include "control.h"

#include <vector>

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };

// Modal results are the dialog-box button identifiers.
constexpr int mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrYes = IDYES, mrNo = IDNO;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
public:
    CLASS_NAME(TCustomForm)
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    virtual void AfterConstruction();

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& Value) { SetText(Value); }
    void SetVisible(bool Value) override;
    void Close();
    bool CloseQuery();
    int ShowModal();
    void BringToFront() override;
    void KeyPress(char& Key) override; // public: controls hand it keys first when KeyPreview is set
    // Tab and Shift+Tab: the focus moves to the next control, in the order
    // the form's controls were made, that is shown, enabled and a tab stop;
    // an edit entered so has its text selected, as in a dialog.
    void SelectNext(TWinControl* Current, bool Forward);
    // Enter presses the push button that has the focus, and elsewhere the
    // first of DefaultButtons that the user can reach; Esc the first such
    // of CancelButtons. False when there is none, and the key goes on as a
    // character. Focused is the control the key came to.
    bool DialogKey(TWinControl* Focused, WPARAM Key);

    bool KeyPreview = false;
    std::vector<TControl*> DefaultButtons, CancelButtons;
    TBorderStyle BorderStyle = bsSizeable;
    int ModalResult = mrNone;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    virtual void DoShow();
    virtual void DoHide();

private:
    bool Modal = false;
};

using TForm = TCustomForm;

// Takes out the character that Key (Tab, Enter or Esc), come down on Window,
// has made by now, so that a key the form has acted on is not typed as well.
void DropCharOfKey(HWND Window, WPARAM Key);

// Whether the user can reach Control: it and every control it sits on, up to
// its form, are shown and enabled.
bool Reachable(const TControl* Control);
