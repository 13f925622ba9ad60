#include "stdctrls.h"

#include <cctype>
#include <cstring>
#include <optional>

namespace {

// The answer to a WM_CTLCOLOR... message about Control: its font's colour on
// its own colour, and a brush of that colour which Background keeps alive.
LRESULT ControlColors(TControl* Control, HDC Dc, TBrush& Background)
{
    ::SetTextColor(Dc, ColorToRGB(Control->Enabled() ? Control->Font()->Color() : clGrayText));
    ::SetBkColor(Dc, ColorToRGB(Control->Color()));
    Background.SetColor(Control->Color());
    return reinterpret_cast<LRESULT>(Background.Handle());
}

// The clipboard's text up to its first line break; nothing when the
// clipboard holds no text or another program has it open.
std::optional<std::string> ClipboardLine(HWND Owner)
{
    if (!::OpenClipboard(Owner)) return std::nullopt;
    std::optional<std::string> line;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const auto* chars = static_cast<const char*>(::GlobalLock(data))) {
            const std::string text(chars, strnlen(chars, ::GlobalSize(data)));
            line = text.substr(0, text.find_first_of("\r\n"));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return line;
}

} // namespace

// --- panel ------------------------------------------------------------------

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 185;
    FHeight = 41;
}

void TPanel::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    if (BorderStyle != bsNone) Params.ExStyle |= WS_EX_CLIENTEDGE;
    if (TabStop) Params.Style |= WS_TABSTOP;
}

void TPanel::SetCaption(const std::string& Value)
{
    SetText(Value);
    Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut Value)
{
    FBevelOuter = Value;
    Invalidate();
}

void TPanel::PaintWindow(TCanvas* Canvas)
{
    RECT r = ClientRect();
    HDC dc = Canvas->Handle();
    if (FBevelOuter != bvNone) ::DrawEdge(dc, &r, FBevelOuter == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    std::string caption = Text();
    if (caption.empty()) return;
    HGDIOBJ old = ::SelectObject(dc, Font()->Handle());
    int mode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF color = ::SetTextColor(dc, ColorToRGB(Font()->Color()));
    ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SetTextColor(dc, color);
    ::SetBkMode(dc, mode);
    ::SelectObject(dc, old);
}

// --- buttons ----------------------------------------------------------------

void TButtonControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = "BUTTON";
    Params.Style |= ButtonStyle | WS_TABSTOP;
}

void TButtonControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_BASE + WM_COMMAND:
        if (HIWORD(Message.WParam) == BN_CLICKED) Clicked();
        return;
    case CN_BASE + WM_CTLCOLORSTATIC:
    case CN_BASE + WM_CTLCOLORBTN:
        Message.Result = ControlColors(this, reinterpret_cast<HDC>(Message.WParam), Background);
        return;
    }
    TWinControl::Dispatch(Message);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner, BS_PUSHBUTTON)
{
    FWidth = 75;
    FHeight = 25;
}

void TButton::Click()
{
    if (ModalResult != mrNone)
        if (TCustomForm* form = ParentForm()) form->ModalResult = ModalResult;
    TButtonControl::Click();
}

// --- edit -------------------------------------------------------------------

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 121;
    FHeight = 21;
    FColor = clWindow;
}

void TEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = "EDIT";
    Params.Style |= ES_AUTOHSCROLL | WS_TABSTOP;
    if (BorderStyle != bsNone) Params.ExStyle |= WS_EX_CLIENTEDGE;
    if (FReadOnly) Params.Style |= ES_READONLY;
    if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
    if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
    if (FPasswordChar) Params.Style |= ES_PASSWORD;
}

void TEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    ::SendMessageA(Handle(), EM_LIMITTEXT, FMaxLength, 0);
    if (FPasswordChar) ::SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(FPasswordChar), 0);
}

void TEdit::SetText(const std::string& Value)
{
    if (Value == TWinControl::Text()) return;
    bool notifies = HandleAllocated(); // the window reports the change itself
    TWinControl::SetText(Value);
    if (!notifies) Change();
}

void TEdit::Change()
{
    if (OnChange) OnChange(this);
}

void TEdit::SetMaxLength(int Value)
{
    FMaxLength = Value;
    if (HandleAllocated()) ::SendMessageA(Handle(), EM_LIMITTEXT, Value, 0);
}

void TEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (HandleAllocated()) ::SendMessageA(Handle(), EM_SETREADONLY, Value, 0);
}

void TEdit::SetCharCase(TEditCharCase Value)
{
    FCharCase = Value;
    if (!HandleAllocated()) return;
    LONG_PTR style = ::GetWindowLongPtrA(Handle(), GWL_STYLE) & ~(ES_UPPERCASE | ES_LOWERCASE);
    if (Value == ecUpperCase) style |= ES_UPPERCASE;
    if (Value == ecLowerCase) style |= ES_LOWERCASE;
    ::SetWindowLongPtrA(Handle(), GWL_STYLE, style);
}

void TEdit::SetPasswordChar(char Value)
{
    FPasswordChar = Value;
    if (!HandleAllocated()) return;
    ::SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(Value), 0);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TEdit::SelectAll() { ::SendMessageA(Handle(), EM_SETSEL, 0, -1); }

int TEdit::SelStart()
{
    DWORD start = 0;
    ::SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TEdit::SetSelStart(int Value) { ::SendMessageA(Handle(), EM_SETSEL, Value, Value); }

int TEdit::SelLength()
{
    DWORD start = 0, end = 0;
    ::SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TEdit::SetSelLength(int Value)
{
    int start = SelStart();
    ::SendMessageA(Handle(), EM_SETSEL, start, start + Value);
}

void TEdit::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_BASE + WM_COMMAND:
        if (HIWORD(Message.WParam) == EN_CHANGE) Change();
        return;
    case CN_BASE + WM_CTLCOLOREDIT:
    case CN_BASE + WM_CTLCOLORSTATIC:
        Message.Result = ControlColors(this, reinterpret_cast<HDC>(Message.WParam), Background);
        return;
    case WM_KEYDOWN:
    case WM_CHAR:
        if (EditingShortcut(Message)) return;
        break;
    case WM_PASTE:
        // As Windows' own edit, a paste that finds no text changes nothing.
        if (const std::optional<std::string> line = ClipboardLine(Handle()); line && !FReadOnly) Paste(*line);
        return;
    }
    TWinControl::Dispatch(Message);
}

// The system's edit pastes on Shift+Insert without a WM_PASTE, and a key
// filter would drop the control characters of Ctrl+C, V and X: each
// shortcut becomes its message here instead.
bool TEdit::EditingShortcut(const TMessage& Message)
{
    UINT command = 0;
    if (Message.Msg == WM_CHAR) {
        switch (Message.WParam) {
        case 'A' - '@':
            SelectAll();
            return true;
        case 'C' - '@': command = WM_COPY; break;
        case 'V' - '@': command = WM_PASTE; break;
        case 'X' - '@': command = WM_CUT; break;
        default: return false;
        }
    } else {
        const bool shift = ::GetKeyState(VK_SHIFT) < 0, control = ::GetKeyState(VK_CONTROL) < 0;
        if (Message.WParam == VK_INSERT && shift != control) command = shift ? WM_PASTE : WM_COPY;
        else if (Message.WParam == VK_DELETE && shift && !control && SelLength() > 0) command = WM_CUT;
        else return false;
    }
    if (command == WM_PASTE || !FPasswordChar) Perform(command, 0, 0); // a password is not given away
    return true;
}

void TEdit::Paste(const std::string& Text)
{
    ::SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Text.c_str()));
}

// --- masked edit ------------------------------------------------------------

void TMaskEdit::SetEditMask(const std::string& Value)
{
    std::string text = Text();
    FEditMask = Value;
    Slots.clear();
    SaveLiterals = true;
    Blank = '_';
    std::string mask = Value;
    // The two trailing fields, when present: save-literals flag, blank character.
    size_t last = mask.rfind(';');
    if (last != std::string::npos) {
        size_t previous = last > 0 ? mask.rfind(';', last - 1) : std::string::npos;
        if (previous != std::string::npos) {
            std::string blank = mask.substr(last + 1);
            if (!blank.empty()) Blank = blank[0];
            SaveLiterals = mask.substr(previous + 1, last - previous - 1) != "0";
            mask.resize(previous);
        }
    }
    int caseForce = 0;
    for (size_t i = 0; i < mask.size(); ++i) {
        char c = mask[i];
        if (c == '>' || c == '<') {
            caseForce = (i + 1 < mask.size() && c == '<' && mask[i + 1] == '>') ? (++i, 0) : c == '>' ? 1 : -1;
        } else if (c == '\\' && i + 1 < mask.size()) {
            Slots.push_back({0, mask[++i], 0});
        } else if (std::string("aA90CcLl").find(c) != std::string::npos) {
            Slots.push_back({c, 0, caseForce});
        } else {
            Slots.push_back({0, c, 0});
        }
    }
    SetMaxLength(static_cast<int>(Slots.size()));
    SetText(text);
}

bool TMaskEdit::Accepts(const Slot& S, char C) const
{
    unsigned char u = static_cast<unsigned char>(C);
    switch (S.Kind) {
    case 'a': case 'A': return std::isalnum(u) != 0;
    case '9': case '0': return std::isdigit(u) != 0;
    case 'L': case 'l': return std::isalpha(u) != 0;
    default: return u >= 0x20;
    }
}

// The shown text for the characters of the positions, in order ('\0' or a
// character that the position refuses shows as blank).
std::string TMaskEdit::Format(const std::string& Chars) const
{
    std::string shown;
    size_t next = 0;
    for (const Slot& s : Slots) {
        if (!s.Kind) {
            shown += s.Literal;
            continue;
        }
        char c = next < Chars.size() ? Chars[next] : '\0';
        ++next;
        if (!c || c == ' ' || !Accepts(s, c)) {
            shown += Blank;
            continue;
        }
        int force = s.CaseForce ? s.CaseForce : CharCase() == ecUpperCase ? 1 : CharCase() == ecLowerCase ? -1 : 0;
        if (force > 0) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (force < 0) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        shown += c;
    }
    return shown;
}

std::string TMaskEdit::Text() const
{
    std::string shown = TWinControl::Text();
    if (!Masked()) return shown;
    std::string text;
    for (size_t i = 0; i < Slots.size() && i < shown.size(); ++i) {
        if (!Slots[i].Kind) {
            if (SaveLiterals) text += shown[i];
        } else {
            text += shown[i] == Blank ? ' ' : shown[i];
        }
    }
    return text;
}

void TMaskEdit::SetText(const std::string& Value)
{
    if (!Masked()) {
        TEdit::SetText(Value);
        return;
    }
    std::string chars;
    for (size_t i = 0, v = 0; i < Slots.size() && v < Value.size(); ++i) {
        if (Slots[i].Kind) chars += Value[v++];
        else if (SaveLiterals) ++v;
    }
    TEdit::SetText(Format(chars));
}

// The first position at or after Pos (Step 1), or before Pos (Step -1), that takes a character; -1 for none.
int TMaskEdit::NextSlot(int Pos, int Step) const
{
    for (int i = Step > 0 ? Pos : Pos - 1; i >= 0 && i < static_cast<int>(Slots.size()); i += Step)
        if (Slots[i].Kind) return i;
    return -1;
}

std::string TMaskEdit::ClearSelection()
{
    std::string shown = EditText();
    shown.resize(Slots.size(), Blank);
    const int start = SelStart(), end = start + SelLength();
    for (int i = start; i < end && i < static_cast<int>(Slots.size()); ++i)
        if (Slots[i].Kind) shown[i] = Blank;
    return shown;
}

void TMaskEdit::CaretToFirstBlank()
{
    if (SelLength() > 0) return;
    const std::string shown = EditText();
    int lastFilled = -1, firstBlank = -1;
    for (int i = 0; i < static_cast<int>(Slots.size()); ++i) {
        if (!Slots[i].Kind) continue;
        const bool blank = i >= static_cast<int>(shown.size()) || shown[i] == Blank;
        if (!blank) lastFilled = i;
        else if (firstBlank < 0) firstBlank = i;
    }
    if (firstBlank >= 0 && SelStart() > lastFilled) SetSelStart(firstBlank);
}

// Backspace (Step -1) and Delete (Step 1) blank the selected positions, or
// else the position before or after the caret, and leave the caret there.
void TMaskEdit::Erase(int Step)
{
    const bool selected = SelLength() > 0;
    const int start = SelStart();
    std::string shown = ClearSelection();
    const int p = selected ? start : NextSlot(start, Step);
    if (p < 0) return;
    if (!selected) shown[p] = Blank;
    TEdit::SetText(shown);
    SetSelStart(p);
}

// Writes Key at the first position from Caret on in Shown and moves Caret
// past it; false when no position is left or the one there refuses Key.
bool TMaskEdit::Put(std::string& Shown, int& Caret, char Key) const
{
    const int p = NextSlot(Caret, 1);
    if (p < 0 || !Key || !Accepts(Slots[p], Key)) return false;
    Shown[p] = Key;
    Caret = p + 1;
    return true;
}

// Shows the positions of Shown, each in its case, with the caret on the
// first position from Caret on.
void TMaskEdit::ShowPositions(const std::string& Shown, int Caret)
{
    std::string chars;
    for (size_t i = 0; i < Slots.size(); ++i)
        if (Slots[i].Kind) chars += Shown[i] == Blank ? ' ' : Shown[i];
    TEdit::SetText(Format(chars));
    const int next = NextSlot(Caret, 1);
    SetSelStart(next >= 0 ? next : static_cast<int>(Slots.size()));
}

void TMaskEdit::KeyPress(char& Key)
{
    TEdit::KeyPress(Key);
    if (!Masked() || !Key || !HandleAllocated()) return;
    if (Key == '\b') {
        Erase(-1);
    } else if (static_cast<unsigned char>(Key) >= 0x20) {
        std::string shown = ClearSelection();
        int caret = SelStart();
        if (Put(shown, caret, Key)) ShowPositions(shown, caret);
        else ::MessageBeep(0);
    } else {
        return; // control characters keep their meaning
    }
    Key = 0;
}

void TMaskEdit::Paste(const std::string& Text)
{
    if (!Masked()) return TEdit::Paste(Text);
    std::string shown = ClearSelection();
    int caret = SelStart();
    for (char c : Text) {
        if (caret < static_cast<int>(Slots.size()) && !Slots[caret].Kind && Slots[caret].Literal == c) {
            ++caret;
            continue;
        }
        TEdit::KeyPress(c); // the field's own filter, as for a typed key
        if (!Put(shown, caret, c)) {
            ::MessageBeep(0);
            return;
        }
    }
    ShowPositions(shown, caret);
}

void TMaskEdit::Dispatch(TMessage& Message)
{
    if (Masked()) {
        // Deleting and cutting would move the positions against the mask:
        // they blank them. Shift+Delete over a selection cuts.
        switch (Message.Msg) {
        case WM_KEYDOWN:
            if (Message.WParam == VK_DELETE && !(::GetKeyState(VK_SHIFT) < 0 && SelLength() > 0)) {
                Erase(1);
                return;
            }
            break;
        case WM_CUT:
        case WM_CLEAR:
            if (SelLength() > 0) {
                if (Message.Msg == WM_CUT) Perform(WM_COPY, 0, 0);
                Erase(1);
            }
            return;
        }
    }
    TEdit::Dispatch(Message);
    // The edit has placed the caret where the button went down.
    if (Masked() && Message.Msg == WM_LBUTTONUP) CaretToFirstBlank();
}

// --- combo box --------------------------------------------------------------

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 145;
    FHeight = 21;
    FColor = clWindow;
    FItems.OnChange = [this](TObject*) { LoadItems(ItemIndex()); };
}

void TComboBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = "COMBOBOX";
    Params.Style |= WS_VSCROLL | WS_TABSTOP | (Style == csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL);
}

void TComboBox::CreateWnd()
{
    TWinControl::CreateWnd();
    LoadItems(FItemIndex);
    FitDropDown();
}

void TComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    FitDropDown();
}

void TComboBox::FontChanged()
{
    TWinControl::FontChanged();
    FitDropDown();
}

// A drop-down combo box keeps its window at its field's height, and takes
// what its window is given beyond that as the height of its open list.
void TComboBox::FitDropDown()
{
    if (!HandleAllocated()) return;
    HWND wnd = Handle();
    RECT field;
    ::GetWindowRect(wnd, &field);
    const int rows = static_cast<int>(::SendMessageA(wnd, CB_GETITEMHEIGHT, 0, 0));
    const int list = DropDownCount * rows + 2 * ::GetSystemMetrics(SM_CYBORDER);
    ::SetWindowPos(wnd, nullptr, 0, 0, field.right - field.left, field.bottom - field.top + list,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::LoadItems(int Index)
{
    if (!HandleAllocated()) return;
    HWND wnd = Handle();
    ::SendMessageA(wnd, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < FItems.Count(); ++i)
        ::SendMessageA(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FItems.Get(i).c_str()));
    ::SendMessageA(wnd, CB_SETCURSEL, Index < FItems.Count() ? Index : -1, 0);
}

int TComboBox::ItemIndex() const
{
    if (!HandleAllocated()) return FItemIndex;
    return static_cast<int>(::SendMessageA(const_cast<TComboBox*>(this)->Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int Value)
{
    FItemIndex = Value;
    if (HandleAllocated()) ::SendMessageA(Handle(), CB_SETCURSEL, Value, 0);
}

void TComboBox::Dispatch(TMessage& Message)
{
    if (Message.Msg == CN_BASE + WM_COMMAND) {
        switch (HIWORD(Message.WParam)) {
        case CBN_SELCHANGE:
            FItemIndex = ItemIndex();
            Click();
            if (OnChange) OnChange(this);
            break;
        case CBN_EDITCHANGE:
            if (OnChange) OnChange(this);
            break;
        }
        return;
    }
    TWinControl::Dispatch(Message);
}

// --- radio button -----------------------------------------------------------

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner, BS_RADIOBUTTON)
{
    FWidth = 113;
    FHeight = 17;
}

void TRadioButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    ::SendMessageA(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool Value)
{
    if (Value == FChecked) return;
    FChecked = Value;
    if (HandleAllocated()) ::SendMessageA(Handle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!Value) return;
    if (TWinControl* parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
                sibling->SetChecked(false);
    Click();
}
