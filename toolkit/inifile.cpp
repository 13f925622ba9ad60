#include "inifile.h"
#include "format.h"

int32_t TCustomIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int32_t Default)
{
    return StrToIntDef(Trim(ReadString(Section, Ident, "")), Default);
}

void TCustomIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int32_t Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

void TCustomIniFile::WriteStringWhole(const std::string& Section, const std::string& Ident, const std::string& Value)
{
    auto loose = [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '\''; };
    const bool quoted = !Value.empty() && (loose(Value.front()) || loose(Value.back()));
    WriteString(Section, Ident, quoted ? '"' + Value + '"' : Value);
}

bool TCustomIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? "1" : "0");
}

bool TCustomIniFile::SectionExists(const std::string& Section)
{
    TStringList sections;
    ReadSections(sections);
    return sections.IndexOf(Section) >= 0;
}

bool TCustomIniFile::ValueExists(const std::string& Section, const std::string& Ident)
{
    TStringList idents;
    ReadSection(Section, idents);
    return idents.IndexOf(Ident) >= 0;
}
