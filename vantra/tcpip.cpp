// The TCP/IP settings of the adapter's network card, through the NIC
// library: read for the link page and the connect paths, and applied on
// TcpIpThread, ending with a restart of the card after which the device
// check opens the adapter again.
#include "drivers/bindings.h"
#include "drivers/win_version.h"
#include "mainfrm.h"

#include <cstring>

namespace {

// Sends the settings to the library; true when it took them. The NT family
// takes the whole record at once. Windows 9x switches to DHCP or to the
// static address, then sets the DNS list in both cases; there error 523
// after the DHCP switch counts as success.
bool SendIpSettings(NicEntry& Card, NicIpInfo& Info, int32_t WinVersionCode)
{
    if (IsNtFamily(WinVersionCode)) return NicCall(Nic.NIC_SetIpInfo, &Card, &Info) == 1;
    uint8_t ok;
    if (Info.blDhcpEnabled) {
        ok = NicCall(Nic.NIC_EnableDHCP9x, &Card);
        if (ok != 1 && NicCall(Nic.NIC_GetNicErrorCode) == 523) ok = 1;
    } else {
        ok = NicCall(Nic.NIC_EnableStaticIP9x, &Card, Info.cIpAdress, Info.cNetMask, Info.cGateway);
    }
    if (ok != 1) return false;
    int32_t length = static_cast<int32_t>(strnlen(Info.cDnsServer, sizeof Info.cDnsServer));
    return NicCall(Nic.NIC_EnableDnsServer9x, Info.cDnsServer, &length, 1) == 1;
}

} // namespace

void TMainFrm::ReadNicIpInfo()
{
    Link.FindAdapterNic();
    WlanAdapter& adapter = Link.TheAdapter;
    WlanCall(Chipset.WLAN_Get_Mac_Info, adapter.MacAddress);
    NicIpInfo read{};
    NicCall(Nic.NIC_GetNicIPAddressDetail, adapter.MacAddress, &read);
    if (IsWin9x(Program.WinVersionCode)) {
        int32_t dhcp = read.blDhcpEnabled;
        NicCall(Nic.NIC_GetDHCPStatusfor9x, Link.NicDevice.Name, &dhcp);
        read.blDhcpEnabled = dhcp;
    }
    Link.CurrentIpInfo = read;
}

// Calls the NIC library only, never the chipset library, and touches the
// window's state only on the main thread: an exit that gives the thread up
// may close the adapter and free the window while a slow card keeps it.
// The calls it waits for only copy state, so no message, and no exit that
// would wait for this thread, can run inside them; the tray's change lets
// other programs' messages in, so it is queued, and the exit can wait
// for the apply to end from anywhere, that change included.
void TMainFrm::ApplyTcpIpSettings(NicIpInfo& Info)
{
    TThread& self = *TThread::Current();
    // Every apply works on a fresh card list: the device manager is closed
    // and the card chosen again, here, with the window's records copied.
    bool managerOpen = false;
    WlanAdapter adapter;
    NicEntry card;
    int32_t winVersionCode = 0;
    self.Synchronize([&] {
        managerOpen = Link.NicDeviceMgrOpen;
        Link.NicDeviceMgrOpen = false;
        adapter = Link.TheAdapter;
        card = Link.NicDevice;
        winVersionCode = Program.WinVersionCode;
    });
    if (managerOpen) NicCall(Nic.NIC_CloseDeviceMgr);
    ChooseAdapterNic(adapter, card);
    self.Synchronize([&] {
        Link.NicDevice = card;
        Link.NicDeviceMgrOpen = true;
    });

    const bool applied = SendIpSettings(card, Info, winVersionCode);
    // No card restart follows a refused apply, so no device check would
    // ever clear the flag.
    self.Synchronize([&] { Link.ApplyingTcpIp = applied; });
    if (applied) {
        self.Queue([this] {
            if (Program.Quitting) return;
            if (Link.MonitoringOn) ShowIcon(TrayState::Scanning); // stopped meanwhile: the tray stays disabled
            if (Program.Quitting) return; // an exit ran inside the tray's change
            ShowTcpIpInfo(false);
        });
        NicCall(Nic.NIC_PropertyChange, &card); // the device check reopens the adapter after it
    }
    self.Synchronize([&] {
        if (Program.Quitting) return;
        MonitorState->Enabled = true;
        if (!Link.MonitoringOn) return; // the poll stays off until monitoring starts again
        UpdateTimer->SetEnabled(true);
        CheckTimer->SetEnabled(true);
    });
    self.Suspend();
}
