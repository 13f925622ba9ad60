// The adapter and its link: the records the chipset and NIC libraries fill,
// whether the adapter is found, open and monitored, and the adapter's
// network card among the NIC library's active cards.
#pragma once
#include "drivers/records.h"

#include <atomic>

// The adapter's card description begins with this among the active cards.
inline constexpr const char* AdapterDescriptionPrefix = "Ferovane-Q PCI Adapter";

struct TLinkState {
    WlanAdapter TheAdapter{};
    WlanInfo CurrentLinkInfo{}; // refreshed by every status poll
    WlanInfo PreviousLinkInfo{}; // as the link page saw it at the poll before

    // Read by workers as well as the main thread.
    std::atomic<bool> AdapterOpened{false}; // the adapter is open and monitored
    std::atomic<bool> ApplyingTcpIp{false}; // a TCP/IP apply or card restart is under way

    bool AdapterPresent = false; // the device check has found and started the adapter
    bool MonitoringOn = true;    // the tray menu switches monitoring off and on
    // Stop Monitor left the adapter open: a worker was still inside the
    // chipset library. The device check closes it once the worker has parked.
    bool AdapterCloseOwed = false;

    NicEntry NicDevice{};          // the adapter's card, the card of every NIC set call
    bool NicDeviceMgrOpen = false; // NicDevice stays chosen while the device manager is open
    NicIpInfo CurrentIpInfo{};     // the card's TCP/IP settings as last read

    bool LinkUp() const { return CurrentLinkInfo.StationState == WLAN_STATION_STATE_READY; }

    // The NIC library's view of the card (link_state.cpp).
    // Whether an active card's description begins with Prefix. Leaves the
    // device manager closed.
    bool FindNicByDescription(const char* Prefix);
    // Whether the card of the open adapter (matched by name) is active.
    // Leaves the device manager open.
    bool DetectAdapterNic();
    // Opens the device manager and chooses NicDevice, once per opening.
    bool FindAdapterNic();
    void CloseDeviceManager();
};

// Opens the NIC library's device manager and copies the adapter's card among
// the active cards into Card, which keeps what it held when none matches.
// Touches no state, so that the TCP/IP thread can choose the card too.
void ChooseAdapterNic(const WlanAdapter& Adapter, NicEntry& Card);
