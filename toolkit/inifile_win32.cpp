#include "inifile.h"
#include "format.h"

#include <windows.h>

#include <vector>

namespace {

bool IsAbsolute(const std::string& Path)
{
    return (Path.size() > 2 && Path[1] == ':' && (Path[2] == '\\' || Path[2] == '/')) ||
           Path.compare(0, 2, "\\\\") == 0;
}

// Calls a profile-API reader with a buffer that grows until the text fits;
// `slack` is how many bytes short of the size the API reports a cut text
// (1 for a value, 2 for a zero-separated list).
template <class Reader> std::string ReadGrowing(Reader read, DWORD slack)
{
    std::vector<char> buffer(2048);
    for (;;) {
        DWORD n = read(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n + slack < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

void SplitZeroList(const std::string& List, TStrings& Out)
{
    Out.BeginUpdate();
    Out.Clear();
    for (size_t start = 0; start < List.size();) {
        size_t end = List.find('\0', start);
        if (end == std::string::npos) end = List.size();
        if (end > start) Out.Add(List.substr(start, end - start));
        start = end + 1;
    }
    Out.EndUpdate();
}

} // namespace

TIniFile::TIniFile(const std::string& AFileName) : TCustomIniFile(AFileName)
{
    if (!IsAbsolute(AFileName)) throw EIniFileException(Format(Texts::IniPathError, AFileName.c_str()));
}

std::string TIniFile::ReadString(const std::string& Section, const std::string& Ident, const std::string& Default)
{
    return ReadGrowing(
        [&](char* buffer, DWORD size) {
            return ::GetPrivateProfileStringA(Section.c_str(), Ident.c_str(), Default.c_str(), buffer, size,
                                              FileName.c_str());
        },
        1);
}

void TIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value)
{
    if (!::WritePrivateProfileStringA(Section.c_str(), Ident.c_str(), Value.c_str(), FileName.c_str()))
        throw EIniFileException(Format(Texts::IniWriteError, FileName.c_str()));
}

void TIniFile::ReadSection(const std::string& Section, TStrings& Idents)
{
    SplitZeroList(ReadGrowing(
                      [&](char* buffer, DWORD size) {
                          return ::GetPrivateProfileStringA(Section.c_str(), nullptr, "", buffer, size,
                                                            FileName.c_str());
                      },
                      2),
                  Idents);
}

void TIniFile::ReadSections(TStrings& Sections)
{
    SplitZeroList(ReadGrowing(
                      [&](char* buffer, DWORD size) {
                          return ::GetPrivateProfileSectionNamesA(buffer, size, FileName.c_str());
                      },
                      2),
                  Sections);
}

void TIniFile::EraseSection(const std::string& Section)
{
    if (!::WritePrivateProfileStringA(Section.c_str(), nullptr, nullptr, FileName.c_str()))
        throw EIniFileException(Format(Texts::IniWriteError, FileName.c_str()));
}

// The profile API deletes a key's first line only: it goes once for each line.
void TIniFile::DeleteKey(const std::string& Section, const std::string& Ident)
{
    TStringList idents;
    ReadSection(Section, idents);
    for (int i = 0; i < idents.Count(); ++i)
        if (CompareText(idents[i], Ident) == 0)
            ::WritePrivateProfileStringA(Section.c_str(), Ident.c_str(), nullptr, FileName.c_str());
}

void TIniFile::UpdateFile() { ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, FileName.c_str()); }
