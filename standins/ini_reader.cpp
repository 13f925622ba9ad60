#include "ini_reader.h"

#include "toolkit/format.h"

#include <fstream>
#include <sstream>

IniReader::IniReader(const std::string& fileName)
{
    std::ifstream file(fileName, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    Section* current = nullptr; // null before the first section and within a repeated one
    for (std::string line; std::getline(text, line);) {
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            size_t end = line.find(']');
            std::string name = LowerCase(Trim(line.substr(1, end == std::string::npos ? std::string::npos : end - 1)));
            auto added = sections.emplace(name, Section());
            current = added.second ? &added.first->second : nullptr;
            continue;
        }
        size_t equals = line.find('=');
        if (!current || equals == std::string::npos) continue;
        std::string value = Trim(line.substr(equals + 1));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        current->emplace(LowerCase(Trim(line.substr(0, equals))), value);
    }
}

bool IniReader::SectionExists(const std::string& section) const
{
    return sections.count(LowerCase(section)) != 0;
}

std::string IniReader::ReadString(const std::string& section, const std::string& key,
                                  const std::string& fallback) const
{
    auto s = sections.find(LowerCase(section));
    if (s == sections.end()) return fallback;
    auto k = s->second.find(LowerCase(key));
    return k == s->second.end() ? fallback : k->second;
}

int32_t IniReader::ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const
{
    return StrToIntDef(ReadString(section, key, ""), fallback);
}

bool IniReader::ReadBool(const std::string& section, const std::string& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}
