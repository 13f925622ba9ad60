// A settings file read whole at once, for files too large for the profile
// API, which searches the file again for every value asked for. It reads as
// the profile API does: section and key names without regard to letter case,
// blanks around names and values dropped, one pair of enclosing quotes
// removed from a value, lines beginning with ';' ignored, and of two equal
// sections or keys the first counts.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>

class IniReader {
public:
    // A file that cannot be read has no sections.
    explicit IniReader(const std::string& fileName);

    bool SectionExists(const std::string& section) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // The whole value must be a decimal integer; anything else reads as fallback.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const;
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

private:
    using Section = std::unordered_map<std::string, std::string>; // lower-case key: value
    std::unordered_map<std::string, Section> sections;            // by lower-case name
};
