#pragma once
// Ini files with private-profile semantics: every call reads or writes the
// file itself; sections and keys compare without regard to letter case; a
// missing file or key reads as the default; a write creates what is missing.

#include <string>
#include <vector>

#include "SysUtils.h"

class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

// The lines of an ini-format file, kept in order so that a rewrite changes
// only what was set.
class TIniDocument {
public:
    // A document of literal sections takes a header's name from its "[" to
    // the last "]" of the line, blanks and all, so that any name without a
    // line break reads back as written (the registry's key names).
    explicit TIniDocument(bool LiteralSections = false) : FLiteralSections(LiteralSections) {}
    // Loads Path; a missing or unreadable file gives an empty document.
    void Load(const std::string &Path);
    // Writes the document; false with errno on failure.
    bool Save(const std::string &Path) const;

    bool HasSection(const std::string &Section) const;
    // Raw value text after the equals sign, or false when absent.
    bool Get(const std::string &Section, const std::string &Key, std::string &Value) const;
    // A section without a name has no header that reads back as one, so
    // neither call adds it.
    void Set(const std::string &Section, const std::string &Key, const std::string &Value);
    void AddSection(const std::string &Section);
    // Removes Key from Section; false when it was not there.
    bool Remove(const std::string &Section, const std::string &Key);
    std::vector<std::string> Keys(const std::string &Section) const;
    std::vector<std::string> Sections() const;

private:
    struct Line {
        std::string Text;    // the whole line as read or built
        std::string Section; // section header name, when this line is one
        std::string Key;     // key, when this line is an assignment
        std::string Value;
    };
    int FindSection(const std::string &Section) const;
    bool FLiteralSections;
    std::vector<Line> FLines;
};

class TIniFile {
public:
    explicit TIniFile(std::string FileName) : FFileName(std::move(FileName)) {}
    const std::string &FileName() const { return FFileName; }

    // Value with surrounding blanks and one pair of enclosing quotes removed.
    std::string ReadString(const std::string &Section, const std::string &Ident,
                           const std::string &Default) const;
    // Decimal, or hexadecimal after 0x / 0X when the text is longer than two
    // characters; anything else gives Default.
    int ReadInteger(const std::string &Section, const std::string &Ident, int Default) const;
    // Raises EIniFileException when the file cannot be written, or when
    // Section, Ident or Value would not read back as given: empty names, a
    // line break, blanks at either end of a name, a "]" in a section or a
    // "=" in a key. A value with blanks at its ends or in quotes is written
    // in one more pair of double quotes.
    void WriteString(const std::string &Section, const std::string &Ident,
                     const std::string &Value);
    void WriteInteger(const std::string &Section, const std::string &Ident, int Value);
    bool SectionExists(const std::string &Section) const;

private:
    std::string FFileName;
};

// Integer text as the ini layer reads it; false when it is no number.
bool ParseIniInteger(const std::string &Text, int &Value);
// Whether Text, written as the rest of a line, loads back whole: a line feed
// would end the line, and a carriage return at its end is taken for half of
// a line break.
bool StorableLineEnd(const std::string &Text);
