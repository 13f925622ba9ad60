// TIniFile for the native tree: the file is read whole for each call and
// written back whole after each change, as the profile API does for a file
// it has not cached.
#include "format.h"
#include "inifile.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines Load(const std::string& FileName)
{
    std::ifstream file(FileName, std::ios::binary);
    Lines lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void Save(const std::string& FileName, const Lines& Text)
{
    std::ofstream file(FileName, std::ios::binary | std::ios::trunc);
    for (const std::string& line : Text) file << line << "\r\n";
    if (!file.flush()) throw EIniFileException(Format(Texts::IniWriteError, FileName.c_str()));
}

// The trimmed name of a section header line; false for any other line.
bool SectionName(const std::string& Line, std::string& Name)
{
    const std::string t = Trim(Line);
    if (t.empty() || t[0] != '[') return false;
    const size_t end = t.find(']');
    Name = Trim(t.substr(1, end == std::string::npos ? std::string::npos : end - 1));
    return true;
}

// The trimmed key and value of a key line; false for comments and lines
// without "=".
bool KeyLine(const std::string& Line, std::string& Key, std::string& Value)
{
    const std::string t = Trim(Line);
    const size_t equals = t.find('=');
    if (t.empty() || t[0] == ';' || equals == std::string::npos) return false;
    Key = Trim(t.substr(0, equals));
    Value = Trim(t.substr(equals + 1));
    if (Value.size() >= 2 && (Value[0] == '"' || Value[0] == '\'') && Value.back() == Value[0])
        Value = Value.substr(1, Value.size() - 2);
    return true;
}

// The lines [First, End) of the first section named Section (First is its
// header); false when there is none.
bool FindSection(const Lines& Text, const std::string& Section, size_t& First, size_t& End)
{
    std::string name;
    for (size_t i = 0; i < Text.size(); ++i) {
        if (!SectionName(Text[i], name) || CompareText(name, Section) != 0) continue;
        First = i;
        for (End = i + 1; End < Text.size() && !SectionName(Text[End], name);) ++End;
        return true;
    }
    return false;
}

// The line of the first Ident in the section; Text.size() when it has none.
size_t FindKey(const Lines& Text, size_t First, size_t End, const std::string& Ident, std::string* Value = nullptr)
{
    std::string key, value;
    for (size_t i = First + 1; i < End; ++i) {
        if (!KeyLine(Text[i], key, value) || CompareText(key, Ident) != 0) continue;
        if (Value) *Value = value;
        return i;
    }
    return Text.size();
}

} // namespace

TIniFile::TIniFile(const std::string& AFileName) : TCustomIniFile(AFileName)
{
    if (AFileName.empty() || AFileName[0] != '/') throw EIniFileException(Format(Texts::IniPathError, AFileName.c_str()));
}

std::string TIniFile::ReadString(const std::string& Section, const std::string& Ident, const std::string& Default)
{
    const Lines text = Load(FileName);
    size_t first, end;
    std::string value;
    if (FindSection(text, Section, first, end) && FindKey(text, first, end, Ident, &value) < text.size()) return value;
    return Default;
}

void TIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value)
{
    Lines text = Load(FileName);
    const std::string line = Ident + "=" + Value;
    size_t first, end;
    if (!FindSection(text, Section, first, end)) {
        text.push_back("[" + Section + "]");
        text.push_back(line);
    } else if (size_t at = FindKey(text, first, end, Ident); at < text.size()) {
        text[at] = line;
    } else {
        while (end > first + 1 && Trim(text[end - 1]).empty()) --end; // after the section's last line
        text.insert(text.begin() + static_cast<std::ptrdiff_t>(end), line);
    }
    Save(FileName, text);
}

void TIniFile::ReadSection(const std::string& Section, TStrings& Idents)
{
    const Lines text = Load(FileName);
    Idents.BeginUpdate();
    Idents.Clear();
    size_t first, end;
    std::string key, value;
    if (FindSection(text, Section, first, end))
        for (size_t i = first + 1; i < end; ++i)
            if (KeyLine(text[i], key, value)) Idents.Add(key);
    Idents.EndUpdate();
}

void TIniFile::ReadSections(TStrings& Sections)
{
    Sections.BeginUpdate();
    Sections.Clear();
    std::string name;
    for (const std::string& line : Load(FileName))
        if (SectionName(line, name)) Sections.Add(name);
    Sections.EndUpdate();
}

void TIniFile::EraseSection(const std::string& Section)
{
    Lines text = Load(FileName);
    size_t first, end;
    if (!FindSection(text, Section, first, end)) return;
    text.erase(text.begin() + static_cast<std::ptrdiff_t>(first), text.begin() + static_cast<std::ptrdiff_t>(end));
    Save(FileName, text);
}

void TIniFile::DeleteKey(const std::string& Section, const std::string& Ident)
{
    Lines text = Load(FileName);
    size_t first, end;
    if (!FindSection(text, Section, first, end)) return;
    const size_t lines = text.size();
    for (size_t at; (at = FindKey(text, first, end, Ident)) < text.size(); --end)
        text.erase(text.begin() + static_cast<std::ptrdiff_t>(at));
    if (text.size() < lines) Save(FileName, text);
}
