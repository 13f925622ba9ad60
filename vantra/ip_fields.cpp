#include "ip_fields.h"
#include "ip_address.h"
#include "toolkit/format.h"
#include "toolkit/seam.h"

#include <algorithm>
#include <utility>

namespace {

// The field's text once Inserted has replaced the selection, or gone in at
// the caret, without the blanks that pad a field that was left.
std::string TextAfterInsert(const std::string& Text, int SelStart, int SelLength, const std::string& Inserted)
{
    const size_t at = std::min(static_cast<size_t>(std::max(SelStart, 0)), Text.size());
    std::string after = Text;
    after.replace(at, std::min(static_cast<size_t>(std::max(SelLength, 0)), Text.size() - at), Inserted);
    after.erase(std::remove(after.begin(), after.end(), ' '), after.end());
    return after;
}

// Up to three characters: digits, after the blanks that pad a field that
// was left, of a value up to 255.
bool IsOctetText(const std::string& Text)
{
    const size_t digits = Text.find_first_not_of(' ');
    return Text.size() <= 3 &&
           (digits == std::string::npos ||
            (Text.find_first_not_of("0123456789", digits) == std::string::npos && OctetTextValue(Text) <= 255));
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
        Reset(IntToStr(AMaximum));
        Complain(Format("%s is not a valid entry. Please specify a value between %d and %d.", Text.c_str(), AMinimum,
                        AMaximum));
        return false;
    }
    if (value < AMinimum) {
        Reset(IntToStr(AMinimum));
        Complain(
            Format("%d is not a valid entry. Please specify a value between %d and %d.", value, AMinimum, AMaximum));
        return false;
    }
    return true;
}

// The caret goes to the end, where the user goes on typing.
void TOctetField::Reset(const std::string& Text)
{
    SetText(Text);
    SetSelStart(static_cast<int>(Text.size()));
}

void TOctetField::Complain(const std::string& Text)
{
    TCustomForm* form = ParentForm();
    Platform().MessageBox(form ? form->Handle() : nullptr, Text, "Error", MB_OK | MB_ICONWARNING);
    SetFocus();
}

// Typing on replaces the octet that stood there, as in the system's own
// address control. Leaving this field may refuse its octet and keep the focus.
void TOctetField::MoveOn(FieldArrival How)
{
    if (!Next || !Reachable(Next)) return;
    Next->SetFocus();
    if (!Next->Focused()) return;
    Next->SelectAll();
    Next->Arrival = How;
}

void TOctetField::KeyPress(char& Key)
{
    TEdit::KeyPress(Key);
    const FieldArrival arrival = std::exchange(Arrival, FieldArrival::Other);
    if (Key == '.') {
        Key = 0;
        if (!Blank() && arrival != FieldArrival::AfterCompletion) MoveOn(FieldArrival::Other);
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

bool TOctetField::Accepts(const std::string& Candidate)
{
    const int32_t value = OctetTextValue(Candidate);
    const bool three = Candidate.size() == 3; // the field holds no more
    switch (Rule) {
    case OctetRule::Checked: return CheckOctetRange(Maximum, Candidate, Minimum) && three;
    case OctetRule::CheckedNoLoopback:
        if (!CheckOctetRange(Maximum, Candidate, Minimum) || !three) return false;
        if (value == 127) {
            Reset("1");
            Complain("IP address starting with 127 are not valid because they are reserved for loopback address. "
                     "Please specify some\n other valid value between 1 and 223.");
            return false;
        }
        return true;
    case OctetRule::CheckedLast: return three && CheckOctetRange(Maximum, Candidate, Minimum);
    case OctetRule::Capped:
    case OctetRule::CappedLast: return three && value <= Maximum;
    }
    return false;
}

bool TOctetField::Insert(const std::string& Inserted)
{
    const std::string text = Text();
    const size_t at = std::min(static_cast<size_t>(std::max(SelStart(), 0)), text.size());
    const std::string after = TextAfterInsert(text, static_cast<int>(at), SelLength(), Inserted);
    if (after.size() >= 3 && !Accepts(after)) return false;
    SetText(after);
    SetSelStart(static_cast<int>(at - std::count(text.begin(), text.begin() + at, ' ') + Inserted.size()));
    return true;
}

// The digit is judged where it goes in: typed before "25", a 5 makes 525.
// The field puts it in itself, so that the blanks of a padded octet leave
// room for it. A complete octet moves on, but from the last field.
void TOctetField::TakeDigit(char& Key)
{
    const std::string digit(1, Key);
    Key = 0;
    if (Insert(digit) && Text().size() == 3 && Rule != OctetRule::CheckedLast && Rule != OctetRule::CappedLast)
        MoveOn(FieldArrival::AfterCompletion);
}

// A paste is judged as a typed digit is; anything but digits leaves the
// field as it was.
void TOctetField::Paste(const std::string& Pasted)
{
    const std::string pasted = Trim(Pasted);
    if (!pasted.empty() && pasted.find_first_not_of("0123456789") == std::string::npos) Insert(pasted);
}

// Every change of the text comes here, whatever made it.
void TOctetField::Change()
{
    const std::string text = TEdit::Text();
    if (!IsOctetText(text)) {
        SetText(Standing);
        return;
    }
    Standing = text;
    TEdit::Change();
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
    // The focus or a click brought here otherwise; MoveOn says so after its own.
    if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_LBUTTONDOWN) Arrival = FieldArrival::Other;
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

DottedAddress TIpAddressPanel::Address() const
{
    DottedAddress address{};
    for (int i = 0; i < 4; ++i) address.Octets[i] = static_cast<uint8_t>(Fields[i]->Value()); // never above 255
    FormatDottedIp(address);
    return address;
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
