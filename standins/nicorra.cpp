// Nicorra.dll and, built with NIC_WINDOWS_9X, Nicorra9x.dll: the NIC
// configuration library of the simulated computer.
#include "call.h"
#include "card_state.h"
#include "nic_cards.h"
#include "text_fields.h"

#include "vantra/drivers/nic_api.h"

#include <windows.h>
#include <dbt.h>

#include <cstring>
#include <type_traits>

namespace {

std::recursive_mutex lock;
int32_t lastError = 0;
std::string specifiedCard; // reported name of the card the 9x DNS call works on

uint8_t Finish(Call& call, int32_t error)
{
    lastError = error;
    return call.Done<uint8_t>(error == 0);
}

// Runs `work` (which returns 0 or an error code) on the card that the entry
// names, and keeps what it changed when `save` is set.
template <class Work> uint8_t WithCard(Call& call, const NicEntry* entry, bool save, Work work)
{
    if (call.Forced()) return Finish(call, call.world.NicErrorCode);
    NicCards cards(call.world);
    NicCard* card = cards.Find(entry);
    if (!card) return Finish(call, ERROR_NOT_FOUND);
    int32_t error = work(*card, cards);
    if (error == 0 && save && !cards.Save(*card)) error = ERROR_WRITE_FAULT;
    return Finish(call, error);
}

int32_t SetStatic(NicCard& card, const std::string& ip, const std::string& mask, const std::string& gateway)
{
    if (!IsHostAddress(ip) || !IsMask(mask) || (!gateway.empty() && !IsAddress(gateway)))
        return ERROR_INVALID_PARAMETER;
    card.Ip.Dhcp = false;
    card.Ip.Ip = ip;
    card.Ip.Mask = mask;
    card.Ip.Gateway = gateway;
    return 0;
}

int32_t SetDhcp(NicCard& card)
{
    card.Ip.Dhcp = true;
    card.Released = false;
    return 0;
}

int32_t SetDns(NicCard& card, const std::string& list)
{
    if (!IsAddressList(list)) return ERROR_INVALID_PARAMETER;
    card.Ip.Dns = list;
    return 0;
}

// The simulated computer needs no device or configuration manager sessions;
// their calls only succeed or fail.
uint8_t ManagerSession(const char* name)
{
    Call call(lock, name);
    return Finish(call, call.Forced() ? call.world.NicErrorCode : 0);
}

// Gives back or takes again the DHCP lease of a card that uses DHCP.
uint8_t SetLeaseReleased(const char* name, NicEntry* entry, bool released)
{
    Call call(lock, name);
    call.Record("card", entry, sizeof *entry);
    return WithCard(call, entry, true, [&](NicCard& card, NicCards&) {
        if (!card.Ip.Dhcp) return static_cast<int32_t>(ERROR_INVALID_FUNCTION);
        card.Released = released;
        return 0;
    });
}

std::string Text(const char* text, size_t size = 260)
{
    return text ? FieldText(text, size) : std::string();
}

// The card is back: tell every top-level window, as Windows does when a
// device comes or goes. The thread keeps this library loaded until then.
DWORD WINAPI AnnounceRestart(void* delay)
{
    Sleep(static_cast<DWORD>(reinterpret_cast<uintptr_t>(delay)));
    PostMessageA(HWND_BROADCAST, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&AnnounceRestart), &self);
    FreeLibraryAndExitThread(self, 0);
}

bool StartAnnouncer(uint32_t delay)
{
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&AnnounceRestart),
                            &self))
        return false;
    HANDLE thread = CreateThread(nullptr, 0, AnnounceRestart, reinterpret_cast<void*>(uintptr_t{delay}), 0, nullptr);
    if (!thread) {
        FreeLibrary(self);
        return false;
    }
    CloseHandle(thread);
    return true;
}

} // namespace

extern "C" {

uint8_t __stdcall NIC_OpenDeviceMgr()
{
    return ManagerSession("NIC_OpenDeviceMgr");
}

uint8_t __stdcall NIC_CloseDeviceMgr()
{
    return ManagerSession("NIC_CloseDeviceMgr");
}

uint8_t __stdcall NIC_OpenConfigMgr()
{
    return ManagerSession("NIC_OpenConfigMgr");
}

uint8_t __stdcall NIC_CloseConfigMgr()
{
    return ManagerSession("NIC_CloseConfigMgr");
}

uint8_t __stdcall NIC_GetActiveNICs(NicEntry* list, int32_t capacity, int32_t* count)
{
    Call call(lock, "NIC_GetActiveNICs");
    call.Int("capacity", capacity).Int("count", count ? *count : -1);
    if (!list || !count) return Finish(call, ERROR_INVALID_PARAMETER);
    *count = 0;
    if (call.Forced()) return Finish(call, call.world.NicErrorCode);
    NicCards cards(call.world);
    bool adapterDown = ReadCardState(call.world).Down;
    for (const NicCard& card : cards.All()) {
        if (*count >= capacity) break;
        if (card.Adapter && adapterDown) continue;
        list[(*count)++] = cards.Entry(card);
    }
    return Finish(call, 0);
}

uint8_t __stdcall NIC_AdapterIsDisable(NicEntry* entry)
{
    Call call(lock, "NIC_AdapterIsDisable");
    call.Record("card", entry, sizeof *entry);
    NicCards cards(call.world);
    NicCard* card = cards.Find(entry);
    lastError = card ? 0 : ERROR_NOT_FOUND;
    return call.Done<uint8_t>(card && !card->Active);
}

uint8_t __stdcall NIC_ChangeNicStatus(NicEntry* entry, int32_t enable)
{
    Call call(lock, "NIC_ChangeNicStatus");
    call.Record("card", entry, sizeof *entry).Int("enable", enable);
    return WithCard(call, entry, true, [&](NicCard& card, NicCards&) {
        card.Active = enable != 0;
        return 0;
    });
}

uint8_t __stdcall NIC_GetMACAddress(NicEntry* entry, uint8_t* mac)
{
    Call call(lock, "NIC_GetMACAddress");
    call.Record("card", entry, sizeof *entry).Record("mac", mac, 6);
    if (!mac) return Finish(call, ERROR_INVALID_PARAMETER);
    return WithCard(call, entry, false, [&](NicCard& card, NicCards&) {
        std::memcpy(mac, card.Mac, 6);
        return 0;
    });
}

uint8_t __stdcall NIC_PropertyChange(NicEntry* entry)
{
    Call call(lock, "NIC_PropertyChange");
    call.Record("card", entry, sizeof *entry);
    return WithCard(call, entry, false, [&](NicCard& card, NicCards&) {
        if (card.Adapter) BeginCardRestart(call.world);
        return StartAnnouncer(card.Adapter ? call.world.RestartMs : 0) ? 0 : static_cast<int32_t>(GetLastError());
    });
}

uint8_t __stdcall NIC_SpecifyNicAdapter(NicEntry* entry)
{
    Call call(lock, "NIC_SpecifyNicAdapter");
    call.Record("card", entry, sizeof *entry);
    return WithCard(call, entry, false, [&](NicCard& card, NicCards&) {
        specifiedCard = NicCards::ReportedName(card);
        return 0;
    });
}

uint8_t __stdcall NIC_SetIpInfo(NicEntry* entry, NicIpInfo* info)
{
    uint32_t settle = 0;
    const uint8_t result = [&] {
        Call call(lock, "NIC_SetIpInfo");
        settle = call.world.ApplyMs;
        call.Record("card", entry, sizeof *entry).Record("info", info, sizeof *info);
        if (!info) return Finish(call, ERROR_INVALID_PARAMETER);
        return WithCard(call, entry, true, [&](NicCard& card, NicCards&) {
            std::string dns = Text(info->cDnsServer);
            if (!IsAddressList(dns)) return static_cast<int32_t>(ERROR_INVALID_PARAMETER);
            int32_t error = info->blDhcpEnabled ? SetDhcp(card)
                                                : SetStatic(card, Text(info->cIpAdress, 16),
                                                            Text(info->cNetMask, 16), Text(info->cGateway, 16));
            return error ? error : SetDns(card, dns);
        });
    }();
    // The card takes its time over new settings; the library's other calls
    // go on meanwhile.
    Sleep(settle);
    return result;
}

uint8_t __stdcall NIC_EnableDHCP(NicEntry* entry)
{
    Call call(lock, "NIC_EnableDHCP");
    call.Record("card", entry, sizeof *entry);
    return WithCard(call, entry, true, [&](NicCard& card, NicCards&) { return SetDhcp(card); });
}

uint8_t __stdcall NIC_EnableDHCP9x(NicEntry* entry)
{
    Call call(lock, "NIC_EnableDHCP9x");
    call.Record("card", entry, sizeof *entry);
    // The card is named before the switch, so the DNS call that follows
    // works on it even when the switch reports an error.
    NicCards cards(call.world);
    if (NicCard* card = cards.Find(entry)) specifiedCard = NicCards::ReportedName(*card);
    return WithCard(call, entry, true, [&](NicCard& card, NicCards&) { return SetDhcp(card); });
}

uint8_t __stdcall NIC_EnableStaticIP(NicEntry* entry, const char* ip, const char* mask)
{
    Call call(lock, "NIC_EnableStaticIP");
    call.Record("card", entry, sizeof *entry).Text("ip", ip, 16).Text("mask", mask, 16);
    return WithCard(call, entry, true, [&](NicCard& card, NicCards&) {
        return SetStatic(card, Text(ip, 16), Text(mask, 16), card.Ip.Gateway);
    });
}

uint8_t __stdcall NIC_EnableStaticIP9x(NicEntry* entry, const char* ip, const char* mask, const char* gateway)
{
    Call call(lock, "NIC_EnableStaticIP9x");
    call.Record("card", entry, sizeof *entry).Text("ip", ip, 16).Text("mask", mask, 16).Text("gateway", gateway, 16);
    return WithCard(call, entry, true, [&](NicCard& card, NicCards&) {
        specifiedCard = NicCards::ReportedName(card);
        return SetStatic(card, Text(ip, 16), Text(mask, 16), Text(gateway, 16));
    });
}

uint8_t __stdcall NIC_SetGateways(NicEntry* entry, const char* gateway)
{
    Call call(lock, "NIC_SetGateways");
    call.Record("card", entry, sizeof *entry).Text("gateway", gateway, 16);
    return WithCard(call, entry, true, [&](NicCard& card, NicCards&) {
        if (card.Ip.Dhcp) return static_cast<int32_t>(ERROR_INVALID_FUNCTION);
        return SetStatic(card, card.Ip.Ip, card.Ip.Mask, Text(gateway, 16));
    });
}

uint8_t __stdcall NIC_EnableDNS(NicEntry* entry, const char* list)
{
    Call call(lock, "NIC_EnableDNS");
    call.Record("card", entry, sizeof *entry).Text("list", list);
    return WithCard(call, entry, true, [&](NicCard& card, NicCards&) { return SetDns(card, Text(list)); });
}

uint8_t __stdcall NIC_SetAutoConfigDNS(NicEntry* entry)
{
    Call call(lock, "NIC_SetAutoConfigDNS");
    call.Record("card", entry, sizeof *entry);
    return WithCard(call, entry, true, [&](NicCard& card, NicCards&) { return SetDns(card, ""); });
}

uint8_t __stdcall NIC_GetConfigDNS(NicEntry* entry, char* list, int32_t size)
{
    Call call(lock, "NIC_GetConfigDNS");
    call.Record("card", entry, sizeof *entry).Int("size", size);
    if (!list || size <= 0) return Finish(call, ERROR_INVALID_PARAMETER);
    return WithCard(call, entry, false, [&](NicCard& card, NicCards& cards) {
        CopyText(list, static_cast<size_t>(size), Text(cards.Detail(card).cDnsServer));
        return 0;
    });
}

uint8_t __stdcall NIC_EnableDnsServer9x(const char* list, int32_t* length, int32_t enable)
{
    Call call(lock, "NIC_EnableDnsServer9x");
    call.Text("list", list).Int("length", length ? *length : -1).Int("enable", enable);
    if (enable && (!list || !length || *length < 0)) return Finish(call, ERROR_INVALID_PARAMETER);
    if (call.Forced()) return Finish(call, call.world.NicErrorCode);
    NicCards cards(call.world);
    NicCard* card = cards.FindByName(specifiedCard);
    if (!card) return Finish(call, ERROR_NOT_FOUND);
    std::string dns = enable ? Text(list, static_cast<size_t>(*length) < 260 ? static_cast<size_t>(*length) : 260) : "";
    int32_t error = SetDns(*card, dns);
    if (error == 0 && !cards.Save(*card)) error = ERROR_WRITE_FAULT;
    return Finish(call, error);
}

uint8_t __stdcall NIC_GetDHCPStatusfor9x(const char* name, int32_t* dhcp)
{
    Call call(lock, "NIC_GetDHCPStatusfor9x");
    call.Text("name", name);
    if (!name || !dhcp) return Finish(call, ERROR_INVALID_PARAMETER);
    if (call.Forced()) return Finish(call, call.world.NicErrorCode);
    NicCards cards(call.world);
    NicCard* card = cards.FindByName(Text(name));
    if (!card) return Finish(call, ERROR_NOT_FOUND);
    *dhcp = card->Ip.Dhcp;
    return Finish(call, 0);
}

uint8_t __stdcall NIC_GetNicIPAddressDetail(const uint8_t* mac, NicIpInfo* info)
{
    Call call(lock, "NIC_GetNicIPAddressDetail");
    call.Record("mac", mac, 6).Record("info", info, sizeof *info);
    if (!mac || !info) return Finish(call, ERROR_INVALID_PARAMETER);
    if (call.Forced()) return Finish(call, call.world.NicErrorCode);
    NicCards cards(call.world);
    NicCard* card = cards.FindByMac(mac);
    if (!card) return Finish(call, ERROR_NOT_FOUND);
    *info = cards.Detail(*card);
    return Finish(call, 0);
}

uint8_t __stdcall NIC_GetNicIPAddressInfo(NicEntry* entry, NicIpInfo* info)
{
    Call call(lock, "NIC_GetNicIPAddressInfo");
    call.Record("card", entry, sizeof *entry).Record("info", info, sizeof *info);
    if (!info) return Finish(call, ERROR_INVALID_PARAMETER);
    return WithCard(call, entry, false, [&](NicCard& card, NicCards& cards) {
        *info = cards.Detail(card);
        return 0;
    });
}

uint8_t __stdcall NIC_GetNicIPAddress(NicEntry* entry, char* ip)
{
    Call call(lock, "NIC_GetNicIPAddress");
    call.Record("card", entry, sizeof *entry).Record("ip", ip, 16);
    if (!ip) return Finish(call, ERROR_INVALID_PARAMETER);
    return WithCard(call, entry, false, [&](NicCard& card, NicCards& cards) {
        std::memcpy(ip, cards.Detail(card).cIpAdress, 16);
        return 0;
    });
}

uint8_t __stdcall NIC_NicIpReleaseAddress(NicEntry* entry)
{
    return SetLeaseReleased("NIC_NicIpReleaseAddress", entry, true);
}

uint8_t __stdcall NIC_NicIpRenewAddress(NicEntry* entry)
{
    return SetLeaseReleased("NIC_NicIpRenewAddress", entry, false);
}

int32_t __stdcall NIC_GetNicErrorCode()
{
    Call call(lock, "NIC_GetNicErrorCode");
    return call.Done(lastError);
}

uint8_t __stdcall NIC_GetErrorMessage(int32_t code, char* text, int32_t size)
{
    Call call(lock, "NIC_GetErrorMessage");
    call.Int("code", code).Int("size", size);
    if (!text || size <= 0) return call.Done<uint8_t>(0);
    char message[512] = {};
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                        static_cast<DWORD>(code), 0, message, sizeof message, nullptr))
        std::snprintf(message, sizeof message, "Error %d", static_cast<int>(code));
    std::string trimmed = message;
    while (!trimmed.empty() && static_cast<unsigned char>(trimmed.back()) <= ' ') trimmed.pop_back();
    CopyText(text, static_cast<size_t>(size), trimmed);
    return call.Done<uint8_t>(1);
}

int32_t __stdcall NIC_GetWindowsVersion()
{
    Call call(lock, "NIC_GetWindowsVersion");
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return call.Done<int32_t>(0);
    return call.Done(static_cast<int32_t>(version.dwMajorVersion << 8 | version.dwMinorVersion));
}

} // extern "C"

#define MATCHES_BINDING(name) static_assert(std::is_same<decltype(&name), name##_t>::value, #name)
MATCHES_BINDING(NIC_OpenDeviceMgr);
MATCHES_BINDING(NIC_CloseDeviceMgr);
MATCHES_BINDING(NIC_OpenConfigMgr);
MATCHES_BINDING(NIC_CloseConfigMgr);
MATCHES_BINDING(NIC_GetActiveNICs);
MATCHES_BINDING(NIC_AdapterIsDisable);
MATCHES_BINDING(NIC_ChangeNicStatus);
MATCHES_BINDING(NIC_GetMACAddress);
MATCHES_BINDING(NIC_PropertyChange);
MATCHES_BINDING(NIC_SpecifyNicAdapter);
MATCHES_BINDING(NIC_SetIpInfo);
MATCHES_BINDING(NIC_EnableDHCP);
MATCHES_BINDING(NIC_EnableDHCP9x);
MATCHES_BINDING(NIC_EnableStaticIP);
MATCHES_BINDING(NIC_EnableStaticIP9x);
MATCHES_BINDING(NIC_SetGateways);
MATCHES_BINDING(NIC_EnableDNS);
MATCHES_BINDING(NIC_SetAutoConfigDNS);
MATCHES_BINDING(NIC_GetConfigDNS);
MATCHES_BINDING(NIC_EnableDnsServer9x);
MATCHES_BINDING(NIC_GetDHCPStatusfor9x);
MATCHES_BINDING(NIC_GetNicIPAddressDetail);
MATCHES_BINDING(NIC_GetNicIPAddressInfo);
MATCHES_BINDING(NIC_GetNicIPAddress);
MATCHES_BINDING(NIC_NicIpReleaseAddress);
MATCHES_BINDING(NIC_NicIpRenewAddress);
MATCHES_BINDING(NIC_GetNicErrorCode);
MATCHES_BINDING(NIC_GetErrorMessage);
MATCHES_BINDING(NIC_GetWindowsVersion);
