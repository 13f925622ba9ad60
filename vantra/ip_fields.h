// Dotted-address entry: four small edits, one per octet, that behave as one
// address control. A field takes digits only, checks its octet as it will
// stand after each key or paste, moves on when the octet is complete or on
// ".", steps back on backspace in an empty field, and pads its octet to
// three characters when it is left. A field that typing moves into has its
// text selected, so that an address typed over another replaces it.
// Whatever else changes its text, a text that is not an octet never stands.
// The panel holds the four fields and draws the dots between them.
#pragma once
#include "ip_address.h"
#include "toolkit/stdctrls.h"

#include <array>
#include <cstdint>

// How a field takes a digit that makes its text three or more characters.
enum class OctetRule {
    Checked,           // range-checked; a pass completes the octet and moves on
    CheckedNoLoopback, // as Checked, and 127 is refused as the loopback network
    CheckedLast,       // last octet of a checked address: three digits are checked, more refused
    Capped,            // above 255 refused without a word; otherwise completes and moves on
    CappedLast,        // last octet of a capped address
};

// How the focus came into a field. A "." typed right after the octet before
// completed itself is the user's own dot for that move and goes no further.
enum class FieldArrival {
    Other,
    AfterCompletion, // the octet before completed itself, and nothing was typed here since
};

class TOctetField : public TEdit {
public:
    CLASS_NAME(TOctetField)
    TOctetField(TComponent* AOwner, OctetRule ARule, int32_t AMinimum, int32_t AMaximum, bool ACheckOnExit);

    // The octet: the decimal value of the text without its blanks; blank is 0.
    int32_t Value() const;
    bool Blank() const;
    // Whether Text's value lies within the bounds. When it does not, the
    // field takes the bound that was broken, the user is told why, and the
    // focus comes back here.
    bool CheckOctetRange(int32_t Maximum, const std::string& Text, int32_t Minimum);

    const OctetRule Rule;
    const int32_t Minimum, Maximum;
    const bool CheckOnExit; // leaving with one or two digits range-checks them
    TOctetField* Next = nullptr;     // the field that a complete octet or "." moves to
    TOctetField* Previous = nullptr; // the field that backspace in an empty field moves to

private:
    std::string Standing; // the last text that was an octet
    FieldArrival Arrival = FieldArrival::Other;

protected:
    void CreateWnd() override;
    void KeyPress(char& Key) override;
    void Click() override; // selects the whole text, after OnClick
    void DblClick() override;
    void Dispatch(TMessage& Message) override;
    void Change() override;
    void Paste(const std::string& Pasted) override;

private:
    // Whether Candidate, three or more digits, may become the octet; a
    // checked field that refuses it has taken the bound and told the user.
    bool Accepts(const std::string& Candidate);
    // Puts Inserted in place of the selection, or at the caret, when the
    // text that leaves may be the octet, with the caret after it; false when not.
    bool Insert(const std::string& Inserted);
    void TakeDigit(char& Key);
    void Reset(const std::string& Text); // a text of the field's own, the caret at its end
    void Leave();
    void Complain(const std::string& Text); // a warning box, then the focus back here
    // The focus to the next field, its text selected, when the user can reach it.
    void MoveOn(FieldArrival How);
};

// What an address is for: each kind has its own rules for its four fields.
enum class AddressKind {
    Host,      // IP address or gateway: 1-223, no loopback, checked when left
    Mask,      // 0-255 each
    Dns,       // first DNS server: 1-223 first
    SecondDns, // second DNS server: no messages, octets above 255 refused
};

class TIpAddressPanel : public TPanel {
public:
    CLASS_NAME(TIpAddressPanel)
    // The fields are named FieldPrefix followed by 1 to 4, and owned by AOwner.
    TIpAddressPanel(TComponent* AOwner, AddressKind Kind, const std::string& FieldPrefix);
    std::array<TOctetField*, 4> Fields;
    bool Blank() const; // every field blank
    DottedAddress Address() const; // the four octets and their dotted text

protected:
    void PaintWindow(TCanvas* Canvas) override;
};
