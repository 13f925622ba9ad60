// Key-value settings files with the Windows profile-file rules:
// case-insensitive section and key names, integers as decimal text, a
// missing key yields the caller's default. TCustomIniFile holds what does not
// depend on where the text lives; TIniFile reads and writes a file on disk
// through the Windows profile API.
#pragma once
#include "persistent.h"
#include "exceptions.h"
#include "strings.h"

#include <cstdint>
#include <string>

class TCustomIniFile : public TObject {
public:
    CLASS_NAME(TCustomIniFile)
    explicit TCustomIniFile(std::string AFileName) : FileName(std::move(AFileName)) {}

    virtual std::string ReadString(const std::string& Section, const std::string& Ident,
                                   const std::string& Default) = 0;
    virtual void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) = 0;
    // Writes Value so that ReadString gives it back whole, which WriteString
    // does not for a value with blanks or a quote at either end: the reader
    // drops those blanks and one pair of enclosing quotes, so such a value
    // goes in double quotes.
    void WriteStringWhole(const std::string& Section, const std::string& Ident, const std::string& Value);
    virtual void ReadSection(const std::string& Section, TStrings& Idents) = 0;
    virtual void ReadSections(TStrings& Sections) = 0;
    virtual void EraseSection(const std::string& Section) = 0;
    // Every line of the key in the section goes: of two equal keys the first
    // counts, so deleting it alone would let the second take its place.
    virtual void DeleteKey(const std::string& Section, const std::string& Ident) = 0;

    // The whole value must be a decimal integer (after the blanks around it);
    // anything else reads as Default.
    int32_t ReadInteger(const std::string& Section, const std::string& Ident, int32_t Default);
    void WriteInteger(const std::string& Section, const std::string& Ident, int32_t Value);
    bool ReadBool(const std::string& Section, const std::string& Ident, bool Default);
    void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
    bool SectionExists(const std::string& Section);
    bool ValueExists(const std::string& Section, const std::string& Ident);

    const std::string FileName;
};

class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

// A settings file on disk. On Windows it goes through the profile API; the
// native tree reads and writes the file itself by the same rules (names
// without regard to letter case, blanks around names and values dropped,
// one pair of enclosing quotes removed, of two equal sections or keys the
// first counts), so that portable code and its tests use one class.
class TIniFile : public TCustomIniFile {
public:
    CLASS_NAME(TIniFile)
    // The profile API looks for a relative name in the Windows folder, so
    // only absolute paths are taken (EIniFileException otherwise).
    explicit TIniFile(const std::string& AFileName);

    std::string ReadString(const std::string& Section, const std::string& Ident,
                           const std::string& Default) override;
    void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) override;
    void ReadSection(const std::string& Section, TStrings& Idents) override;
    void ReadSections(TStrings& Sections) override;
    void EraseSection(const std::string& Section) override;
    void DeleteKey(const std::string& Section, const std::string& Ident) override;
#ifdef _WIN32
    void UpdateFile(); // flushes the system's cached copy
#endif
};
