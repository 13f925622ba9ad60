// The import of a profile file: any bytes on disk, read through the
// toolkit's INI class as the utility reads a chosen file. An import either
// gives a profile whose texts and keys lie within their fields, or is
// refused with a message; it never reads or writes past a record. A profile
// that was imported, exported again over the file it came from, whatever
// else that holds, reads back with the same texts, and so does one whose
// name and SSID are the input's bytes.
#include "vantra/drivers/record_text.h"
#include "vantra/profile_file.h"
#include "vantra/wep_keys.h"

#include <algorithm>
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

// A profile exported into the file at Path, whatever it held before, reads
// back with the same texts and keys; its name and SSID byte for byte,
// whatever bytes they hold.
void CheckRoundTrip(const ProfileSetting& P, const std::string& Path)
{
    static CfgIvSource ivs(1);
    TIniFile copy(Path);
    WriteProfileFile(copy, P, ivs);
    const ProfileSetting back = ReadProfileFile(copy);
    Check(FieldText(back.ProfileName) == FieldText(P.ProfileName));
    Check(back.Wlan.SSID_length == P.Wlan.SSID_length);
    Check(SsidBytes(back.Wlan.SSID, back.Wlan.SSID_length) == SsidBytes(P.Wlan.SSID, P.Wlan.SSID_length));
    Check(FieldText(back.Ip.cIpAdress) == FieldText(P.Ip.cIpAdress));
    Check(FieldText(back.Ip.cDnsServer) == FieldText(P.Ip.cDnsServer));
    const uint8_t* slots[] = {P.Wep.WepKey1, P.Wep.WepKey2, P.Wep.WepKey3, P.Wep.WepKey4};
    const uint8_t* backSlots[] = {back.Wep.WepKey1, back.Wep.WepKey2, back.Wep.WepKey3, back.Wep.WepKey4};
    for (int k = 0; k < 4; ++k) Check(std::memcmp(backSlots[k], slots[k], 16) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const std::string path = TempPath(), exported = TempPath();
    const std::string input(reinterpret_cast<const char*>(Data), Size);

    // The input's own bytes as a name and an SSID: every byte value goes
    // into a file and comes back.
    ProfileSetting raw{};
    CopyText(raw.ProfileName, input);
    raw.Wlan.SSID_length = static_cast<uint8_t>(std::min<size_t>(Size, sizeof raw.Wlan.SSID));
    std::memcpy(raw.Wlan.SSID, Data, raw.Wlan.SSID_length);
    raw.Ip.blDhcpEnabled = 1;
    std::remove(exported.c_str());
    CheckRoundTrip(raw, exported);

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
    for (const uint8_t* slot : {p.Wep.WepKey1, p.Wep.WepKey2, p.Wep.WepKey3, p.Wep.WepKey4})
        for (int i = size; i < 16; ++i) Check(slot[i] == 0);
    CheckRoundTrip(p, path);
    return 0;
}
