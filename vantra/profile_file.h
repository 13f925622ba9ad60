// Profile files (.cfg): one stored profile as an INI file with the sections
// BASIC, WLAN_Info, WLAN_Wep_Info and WLAN_Ip_Address_Info, its WEP keys
// enciphered (profile_cipher.h) under a fresh IV each and written as
// upper-case hexadecimal. The format is the contract between computers:
// a file written anywhere imports anywhere. Portable: no Windows call.
#pragma once
#include "drivers/records.h"
#include "toolkit/exceptions.h"
#include "toolkit/inifile.h"

#include <cstdint>
#include <random>
#include <string>

// The IVs of the exported keys: each byte 0 to 254. Seeded once, so that
// two exports in the same second still get fresh IVs.
class CfgIvSource {
public:
    explicit CfgIvSource(uint32_t Seed) : Engine(Seed) {}
    uint8_t Next() { return static_cast<uint8_t>(Engine() % 255); }

private:
    std::minstd_rand Engine;
};

// A file that cannot be imported without overrunning a record or deciphering
// a key from outside the fixed key; the message says why.
class EProfileFileError : public Exception {
public:
    using Exception::Exception;
};

// The name as the user chose it, with ".cfg" appended unless it holds
// ".cfg" somewhere (letter case counts).
std::string WithCfgExtension(const std::string& FileName);

// Writes Profile's keys into the file; its other sections and keys stay,
// but none that the reader would take in place of Profile's: a key of
// bytes that Profile does not need goes, every line of it.
// Texts with blanks or quotes at their ends go in quotes, so that they
// read back whole. A name or an SSID that holds zero bytes or line breaks,
// which a text of the file cannot, goes without them into its text, and
// whole, as hexadecimal pairs, into ProfileName_bytes or SSID_bytes.
void WriteProfileFile(TCustomIniFile& File, const ProfileSetting& Profile, CfgIvSource& Ivs);

// The profile a file describes, read key by key with the format's defaults
// for missing keys. A text longer than its field is cut to it; the SSID
// takes the file's SSID_length within its text (its whole text when the
// file gives no length). Texts come back whole, quoted or not, and from
// their _bytes keys where the file has them. Raises EConvertError for a
// value that should be an integer and is not, and EProfileFileError for an
// encryption level above 3, a key text shorter than its frame, a key frame
// with a key index other than 0, or a _bytes key that is not hexadecimal
// pairs, does not hold its text, or holds a zero byte in a name.
ProfileSetting ReadProfileFile(TCustomIniFile& File);
