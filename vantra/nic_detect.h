// Finding the adapter's network card among the NIC library's active cards,
// and asking whether Windows' own wireless configuration service runs.
#pragma once

// Whether an active card's description begins with Prefix. Leaves the
// NIC device manager closed.
bool FindNicByDescription(const char* Prefix);
// Whether the card of the open adapter (matched by name) is active. Leaves
// the device manager open.
bool DetectAdapterNic();
// Chooses NicDevice, once per opening of the device manager.
bool FindAdapterNic();
// On code 2: whether the service "WZCSVC" is running.
bool ControlWzcService(int Action);
// Windows XP's own wireless configuration runs and keeps the adapter to itself.
bool WzcServiceBlocks();
// Closes the NIC library's device manager and clears NicDeviceMgrOpen.
void CloseDeviceManager();
