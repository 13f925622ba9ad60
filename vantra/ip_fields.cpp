#include "ip_fields.h"
#include "ip_address.h"
#include "toolkit/format.h"
#include "toolkit/seam.h"

#include <algorithm>

namespace {

// The focus only goes to a field that the user could reach: it and the
// controls it sits on are enabled and visible.
bool Reachable(TControl* Control)
{
    for (TControl* c = Control; c && !dynamic_cast<TCustomForm*>(c); c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

// The text as it will be once Key has replaced the selection. Without a
// selection the key counts as typed at the end, wherever the caret is.
std::string TextAfterKey(const std::string& Text, int SelStart, int SelLength, char Key)
{
    if (SelLength <= 0) return Trim(Text) + Key;
    std::string after = Text;
    after.replace(std::min(static_cast<size_t>(SelStart), after.size()), static_cast<size_t>(SelLength), 1, Key);
    return Trim(after);
}

} // namespace

TOctetField::TOctetField(TComponent* AOwner, OctetRule ARule, int32_t AMinimum, int32_t AMaximum, bool ACheckOnExit)
    : TEdit(AOwner), Rule(ARule), Minimum(AMinimum), Maximum(AMaximum), CheckOnExit(ACheckOnExit)
{
    BorderStyle = bsNone;
    // Small enough for three digits in the field's 20 pixels; 7 points is 9 pixels high.
    Font()->SetName("MS Sans Serif");
    Font()->SetSize(7);
    SetMaxLength(3);
    OnExit = [this](TObject*) { Leave(); };
}

// Three digits take the whole width; the edit's own margins would cut the last.
void TOctetField::CreateWnd()
{
    TEdit::CreateWnd();
    ::SendMessageA(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

int32_t TOctetField::Value() const { return OctetTextValue(Trim(Text())); }

bool TOctetField::Blank() const { return Trim(Text()).empty(); }

bool TOctetField::CheckOctetRange(int32_t AMaximum, const std::string& Text, int32_t AMinimum)
{
    const int32_t value = OctetTextValue(Trim(Text));
    if (value > AMaximum) {
        SetText(IntToStr(AMaximum));
        Complain(Format("%s is not a valid entry. Please specify a value between %d and %d.", Text.c_str(), AMinimum,
                        AMaximum));
        return false;
    }
    if (value < AMinimum) {
        SetText(IntToStr(AMinimum));
        Complain(
            Format("%d is not a valid entry. Please specify a value between %d and %d.", value, AMinimum, AMaximum));
        return false;
    }
    return true;
}

void TOctetField::Complain(const std::string& Text)
{
    TCustomForm* form = ParentForm();
    Platform().MessageBox(form ? form->Handle() : nullptr, Text, "Error", MB_OK | MB_ICONWARNING);
    SetFocus();
}

void TOctetField::MoveTo(TOctetField* Field)
{
    if (Field && Reachable(Field)) Field->SetFocus();
}

void TOctetField::KeyPress(char& Key)
{
    TEdit::KeyPress(Key);
    if (Key == '.') {
        Key = 0;
        if (!Blank()) MoveTo(Next);
    } else if (Key == '\b') {
        // Leaving an empty field writes "  0" into it; this key deletes nothing.
        if (Blank() && Previous && Reachable(Previous)) {
            Key = 0;
            Previous->SetFocus();
            Previous->SetSelStart(static_cast<int>(Previous->Text().size()));
        }
    } else if (Key >= '0' && Key <= '9') {
        TakeDigit(Key);
    } else {
        Key = 0; // blanks, letters and the editing shortcuts alike
    }
}

void TOctetField::TakeDigit(char& Key)
{
    if (Blank()) return;
    const std::string candidate = TextAfterKey(Text(), SelStart(), SelLength(), Key);
    if (candidate.size() < 3) return;
    const int32_t value = OctetTextValue(candidate);
    switch (Rule) {
    case OctetRule::Checked:
    case OctetRule::CheckedNoLoopback:
        Key = 0; // the field takes the candidate whole, or the bound it broke
        if (!CheckOctetRange(Maximum, candidate, Minimum)) return;
        if (Rule == OctetRule::CheckedNoLoopback && value == 127) {
            SetText("1");
            Complain("IP address starting with 127 are not valid because they are reserved for loopback address. "
                     "Please specify some\n other valid value between 1 and 223.");
            return;
        }
        SetText(candidate);
        MoveTo(Next);
        return;
    case OctetRule::CheckedLast:
        if (candidate.size() > 3 || !CheckOctetRange(Maximum, candidate, Minimum)) Key = 0;
        return;
    case OctetRule::Capped:
        Key = 0;
        if (value > Maximum) return;
        SetText(candidate);
        MoveTo(Next);
        return;
    case OctetRule::CappedLast:
        if (value > Maximum) Key = 0;
        return;
    }
}

void TOctetField::Leave()
{
    const std::string text = Trim(Text());
    if (text.empty()) {
        SetText("  0");
    } else if (text.size() < 3) {
        const std::string padded = Format("%3d", Value());
        if (!CheckOnExit || CheckOctetRange(Maximum, padded, Minimum)) SetText(padded);
    }
}

void TOctetField::Click()
{
    TEdit::Click();
    SelectAll();
}

void TOctetField::DblClick() { Click(); }

void TOctetField::Dispatch(TMessage& Message)
{
    TEdit::Dispatch(Message);
    // The edit's own double-click selects one word of the text, after ours.
    if (Message.Msg == WM_LBUTTONDBLCLK) SelectAll();
}

TIpAddressPanel::TIpAddressPanel(TComponent* AOwner, AddressKind Kind, const std::string& FieldPrefix)
    : TPanel(AOwner)
{
    SetBevelOuter(bvNone);
    BorderStyle = bsSingle; // the sunken frame of an address field, which shows where to type
    SetColor(clWindow);
    FWidth = 100;
    FHeight = 25;
    for (int i = 0; i < 4; ++i) {
        const bool first = i == 0, last = i == 3;
        OctetRule rule = last ? OctetRule::CheckedLast : OctetRule::Checked;
        int32_t minimum = 0;
        if (Kind == AddressKind::SecondDns) rule = last ? OctetRule::CappedLast : OctetRule::Capped;
        if (first && (Kind == AddressKind::Host || Kind == AddressKind::Dns)) minimum = 1;
        if (first && Kind == AddressKind::Host) rule = OctetRule::CheckedNoLoopback;
        auto* field = new TOctetField(AOwner, rule, minimum, minimum ? 223 : 255, first && Kind == AddressKind::Host);
        field->Name = FieldPrefix + IntToStr(i + 1);
        field->SetBounds(1 + 25 * i, 3, 20, 20);
        field->SetParent(this);
        Fields[i] = field;
        if (i > 0) {
            field->Previous = Fields[i - 1];
            Fields[i - 1]->Next = field;
        }
    }
}

bool TIpAddressPanel::Blank() const
{
    for (const TOctetField* field : Fields)
        if (!field->Blank()) return false;
    return true;
}

// The dots stand in the gaps between the fields, on the line of their text
// (the edits draw it from their top, in the same font).
void TIpAddressPanel::PaintWindow(TCanvas* Canvas)
{
    TPanel::PaintWindow(Canvas);
    HDC dc = Canvas->Handle();
    HGDIOBJ old = ::SelectObject(dc, Fields[0]->Font()->Handle());
    const int mode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = ::SetTextColor(dc, ColorToRGB(Font()->Color()));
    for (int i = 0; i < 3; ++i) {
        const TOctetField* left = Fields[i];
        RECT gap{left->Left() + left->Width(), left->Top(), Fields[i + 1]->Left(), left->Top() + left->Height()};
        ::DrawTextA(dc, ".", 1, &gap, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, mode);
    ::SelectObject(dc, old);
}
