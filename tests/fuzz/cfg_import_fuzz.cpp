// The import of a profile file: any bytes on disk, read through the
// toolkit's INI class as the utility reads a chosen file. An import either
// gives a profile whose texts and keys lie within their fields, or is
// refused with a message; it never reads or writes past a record. A profile
// that was imported, exported again, reads back with the same texts.
#include "vantra/drivers/record_text.h"
#include "vantra/profile_file.h"
#include "vantra/wep_keys.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

std::string TempPath()
{
    char name[] = "/tmp/cfg_import_fuzz.XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) std::abort();
    ::close(fd);
    return name;
}

bool Terminated(const char* Field, size_t Size) { return std::memchr(Field, 0, Size) != nullptr; }

void Check(bool Holds)
{
    if (!Holds) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const std::string path = TempPath(), exported = TempPath();
    static CfgIvSource ivs(1);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    std::fwrite(Data, 1, Size, file);
    std::fclose(file);

    TIniFile ini(path);
    ProfileSetting p;
    try {
        p = ReadProfileFile(ini);
    } catch (const Exception& e) {
        Check(!e.Message.empty()); // every refusal says why
        return 0;
    }
    Check(p.Wlan.SSID_length <= sizeof p.Wlan.SSID);
    Check(p.Wep.EncryptionLevel <= 3);
    for (const auto* text : {&p.ProfileName, &p.ProfileNameCopy, &p.SsidText}) Check(Terminated(*text, sizeof *text));
    for (const char* text : {p.Ip.cIpAdress, p.Ip.cNetMask, p.Ip.cGateway}) Check(Terminated(text, 16));
    Check(Terminated(p.Ip.cDnsServer, sizeof p.Ip.cDnsServer));
    // A key fills only the bytes of its level.
    const int size = WepKeySize(static_cast<WepLevel>(p.Wep.EncryptionLevel));
    const uint8_t* slots[] = {p.Wep.WepKey1, p.Wep.WepKey2, p.Wep.WepKey3, p.Wep.WepKey4};
    for (const uint8_t* slot : slots)
        for (int i = size; i < 16; ++i) Check(slot[i] == 0);

    std::remove(exported.c_str());
    TIniFile copy(exported);
    WriteProfileFile(copy, p, ivs);
    const ProfileSetting back = ReadProfileFile(copy);
    Check(FieldText(back.ProfileName) == FieldText(p.ProfileName));
    const std::string ssid = SsidToText(p.Wlan.SSID, p.Wlan.SSID_length);
    Check(SsidToText(back.Wlan.SSID, back.Wlan.SSID_length) == ssid);
    Check(FieldText(back.Ip.cIpAdress) == FieldText(p.Ip.cIpAdress));
    Check(FieldText(back.Ip.cDnsServer) == FieldText(p.Ip.cDnsServer));
    const uint8_t* backSlots[] = {back.Wep.WepKey1, back.Wep.WepKey2, back.Wep.WepKey3, back.Wep.WepKey4};
    for (int k = 0; k < 4; ++k) Check(std::memcmp(backSlots[k], slots[k], 16) == 0);
    return 0;
}
