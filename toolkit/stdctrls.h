// The standard windowed controls: panel, push button, edit, masked edit,
// combo box and radio button. Each is a real child window; the system
// classes among them are subclassed and report their notifications through
// the reflected CN_ messages.
#pragma once
#include "form.h"
#include "graphic_controls.h" // TAlignment
#include "strings.h"

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
public:
    CLASS_NAME(TPanel)
    explicit TPanel(TComponent* AOwner);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& Value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    TBorderStyle BorderStyle = bsNone; // bsSingle: a sunken frame; read when the window is made
    // Tab stops on the panel, where Enter and Esc press the form's buttons;
    // read when the window is made.
    bool TabStop = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(TCanvas* Canvas) override;

private:
    TBevelCut FBevelOuter = bvRaised;
};

// The system BUTTON class in one of its styles; a press reaches Clicked.
// Radio buttons and check boxes paint their face in Color.
class TButtonControl : public TWinControl {
public:
    CLASS_NAME(TButtonControl)
    TButtonControl(TComponent* AOwner, DWORD AStyle) : TWinControl(AOwner), ButtonStyle(AStyle) {}
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& Value) { SetText(Value); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    bool ReportsOwnClicks() const override { return true; }
    virtual void Clicked() = 0;

private:
    const DWORD ButtonStyle;
    TBrush Background;
};

class TButton : public TButtonControl {
public:
    CLASS_NAME(TButton)
    explicit TButton(TComponent* AOwner);
    int ModalResult = mrNone; // handed to the parent form on a click when not mrNone

protected:
    void Click() override;
    void Clicked() override { Click(); }
};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TEdit : public TWinControl {
public:
    CLASS_NAME(TEdit)
    explicit TEdit(TComponent* AOwner);
    // A new text fires OnChange, whether the user or the program sets it.
    void SetText(const std::string& Value) override;
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char Value);
    TBorderStyle BorderStyle = bsSingle; // bsNone: no frame; read when the window is made
    void SelectAll();
    int SelStart();
    void SetSelStart(int Value);
    int SelLength();
    void SetSelLength(int Value);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // The editing shortcuts (Ctrl+A, C, V, X, Shift+Insert, Ctrl+Insert,
    // Shift+Delete) are commands here, before any key filter: every paste,
    // however asked for, comes as WM_PASTE to Paste.
    void Dispatch(TMessage& Message) override;
    virtual void Change();
    // Puts Text, the clipboard's text up to its first line break, in place
    // of the selection. One line, as Windows' own single-line edit pastes it.
    // A paste that finds no text on the clipboard, or cannot open it, does
    // not come here: it changes nothing.
    virtual void Paste(const std::string& Text);

private:
    bool EditingShortcut(const TMessage& Message);
    TBrush Background;
    int FMaxLength = 0;
    bool FReadOnly = false;
    TEditCharCase FCharCase = ecNormal;
    char FPasswordChar = 0;
};

// An edit whose text follows a mask of the form "mask;save-literals;blank".
// Mask characters: 'a' optional letter or digit, 'A' required letter or
// digit, '9' optional digit, '0' required digit, 'C'/'c' any character,
// 'L'/'l' letter; '>' and '<' force upper or lower case; '\' makes the next
// character a literal; anything else is a literal shown between positions.
// With save-literals 0, Text holds the typed characters only, a blank
// position as a space. Typing writes over the positions, and over a
// selection from its first position on; a click past the last filled
// position puts the caret on the first blank one. A paste is typed: its
// characters go in as keys would, through OnKeyPress and the mask, with the
// mask's literals in their places stepped over; a character that typing
// would refuse refuses the whole paste. Cutting and deleting blank the
// positions.
class TMaskEdit : public TEdit {
public:
    CLASS_NAME(TMaskEdit)
    explicit TMaskEdit(TComponent* AOwner) : TEdit(AOwner) {}
    std::string EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& Value);
    std::string Text() const;
    void SetText(const std::string& Value) override;
    // What the window shows: literals and blanks included.
    std::string EditText() const { return TWinControl::Text(); }

protected:
    void KeyPress(char& Key) override;
    void Dispatch(TMessage& Message) override;
    void Paste(const std::string& Text) override;

private:
    struct Slot {
        char Kind; // the mask character, or 0 for a literal
        char Literal;
        int CaseForce; // 1 upper, -1 lower
    };
    bool Masked() const { return !Slots.empty(); }
    bool Accepts(const Slot& S, char C) const;
    std::string Format(const std::string& Chars) const;
    int NextSlot(int Pos, int Step) const;
    bool Put(std::string& Shown, int& Caret, char Key) const;
    void ShowPositions(const std::string& Shown, int Caret);
    std::string ClearSelection(); // the shown text with the selected positions blank
    void CaretToFirstBlank();     // after a click past the last filled position
    void Erase(int Step);
    std::string FEditMask;
    std::vector<Slot> Slots;
    bool SaveLiterals = true;
    char Blank = '_';
};

enum TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TWinControl {
public:
    CLASS_NAME(TComboBox)
    explicit TComboBox(TComponent* AOwner);
    TStrings* Items() { return &FItems; }
    // Setting the index shows that item and fires nothing.
    int ItemIndex() const;
    void SetItemIndex(int Value);
    TComboBoxStyle Style = csDropDown;
    int DropDownCount = 8; // rows the open list shows before it scrolls
    TNotifyEvent OnChange;
    // The height given is the field's wish; the system sets the field's
    // height from its font, and Height then reads that.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void FontChanged() override;
    bool ReportsOwnClicks() const override { return true; }

private:
    void LoadItems(int Index);
    void FitDropDown();
    TStringList FItems;
    int FItemIndex = -1;
};

class TRadioButton : public TButtonControl {
public:
    CLASS_NAME(TRadioButton)
    explicit TRadioButton(TComponent* AOwner);
    // Checking a button unchecks its siblings and fires OnClick.
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);

protected:
    void CreateWnd() override;
    void Clicked() override { SetChecked(true); }

private:
    bool FChecked = false;
};
