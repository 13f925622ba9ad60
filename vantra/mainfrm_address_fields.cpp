// The five addresses of the profile wizard's TCP/IP page, each four octet
// fields on a panel of its own; the wizard shows, fills and reads them.
#include "mainfrm.h"

void TMainFrm::CreateAddressFields()
{
    struct {
        TIpAddressPanel*& Panel;
        const char* Name;
        AddressKind Kind;
        const char* FieldPrefix;
        int Left, Top;
    } const addresses[] = {
        {Profile_IPAddr1, "Profile_IPAddr1", AddressKind::Host, "Profile_IP_F", 119, 268},
        {Profile_SubNet1, "Profile_SubNet1", AddressKind::Mask, "Profile_SubNet_F", 119, 301},
        {Profile_GateWay1, "Profile_GateWay1", AddressKind::Host, "Profile_GateWay_F", 119, 335},
        {Profile_DNS1, "Profile_DNS1", AddressKind::Dns, "Profile_DNS_F", 322, 268},
        {Profile_DNS2, "Profile_DNS2", AddressKind::SecondDns, "Profile_DNS2_F", 322, 301},
    };
    for (const auto& a : addresses) {
        a.Panel = new TIpAddressPanel(this, a.Kind, a.FieldPrefix);
        a.Panel->Name = a.Name;
        a.Panel->SetBounds(a.Left, a.Top, 100, 25);
        a.Panel->Hide();
        a.Panel->SetParent(this);
    }
    // Clicking a mask field, or entering the first, offers the common mask.
    for (TOctetField* field : Profile_SubNet1->Fields) field->OnClick = [this](TObject*) { FillDefaultMask(); };
    TOctetField* first = Profile_SubNet1->Fields[0];
    first->OnEnter = [this, first](TObject*) {
        FillDefaultMask();
        first->SelectAll();
    };
}

void TMainFrm::FillDefaultMask()
{
    if (Profile_IPAddr1->Blank() || !Profile_SubNet1->Blank()) return;
    const char* const mask[] = {"255", "255", "255", "  0"};
    for (int i = 0; i < 4; ++i) Profile_SubNet1->Fields[i]->SetText(mask[i]);
}
