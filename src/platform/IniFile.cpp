#include "IniFile.h"

#include "Files.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace {

std::string Trim(const std::string &s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.substr(b, e - b);
}

bool SameText(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = char(x - 32);
        if (y >= 'a' && y <= 'z')
            y = char(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

// A section or key name the file gives back as written: a section header
// ends at its first "]", a key at its first "=", both lose blanks at their
// ends, and a line opening with ";" or "[" is no key.
bool StorableName(const std::string &Name, bool Section)
{
    if (Name.empty() || Trim(Name) != Name || Name.find_first_of("\r\n") != std::string::npos)
        return false;
    if (Section)
        return Name.find(']') == std::string::npos;
    return Name.find('=') == std::string::npos && Name[0] != ';' && Name[0] != '[';
}

bool Quoted(const std::string &Value)
{
    return Value.size() >= 2 && (Value.front() == '"' || Value.front() == '\'') &&
           Value.back() == Value.front();
}

} // namespace

void TIniDocument::Load(const std::string &Path)
{
    FLines.clear();
    // A file that cannot be read (missing, a folder, a FIFO) reads as empty,
    // as private-profile files do; one that is there is worth a word.
    std::string bytes;
    if (!ReadRegularFile(Path, bytes)) {
        if (errno != ENOENT)
            std::fprintf(stderr, "warning: %s cannot be read (%s); its settings are not used\n",
                         Path.c_str(), std::strerror(errno));
        bytes.clear();
    }
    std::istringstream in(bytes);
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        Line line{text, {}, {}, {}};
        const std::string t = Trim(text);
        if (t.size() >= 2 && t.front() == '[') {
            if (FLiteralSections) {
                const size_t close = t.rfind(']');
                line.Section = t.substr(1, (close == std::string::npos ? t.size() : close) - 1);
            } else {
                const size_t close = t.find(']');
                line.Section =
                    Trim(t.substr(1, (close == std::string::npos ? t.size() : close) - 1));
            }
        } else if (!t.empty() && t[0] != ';') {
            const size_t eq = text.find('=');
            if (eq != std::string::npos) {
                line.Key = Trim(text.substr(0, eq));
                line.Value = text.substr(eq + 1);
            }
        }
        FLines.push_back(std::move(line));
    }
}

bool TIniDocument::Save(const std::string &Path) const
{
    std::string out;
    for (const Line &l : FLines) {
        out += l.Text;
        out += "\n";
    }
    // Written whole beside the old file and put in its place: a full disk
    // or a crash part way never leaves the settings cut short.
    return ReplaceFile(Path, out);
}

int TIniDocument::FindSection(const std::string &Section) const
{
    for (size_t i = 0; i < FLines.size(); ++i)
        if (!FLines[i].Section.empty() && SameText(FLines[i].Section, Section))
            return int(i);
    return -1;
}

bool TIniDocument::HasSection(const std::string &Section) const
{
    return FindSection(Section) >= 0;
}

bool TIniDocument::Get(const std::string &Section, const std::string &Key, std::string &Value) const
{
    const int s = FindSection(Section);
    if (s < 0)
        return false;
    for (size_t i = size_t(s) + 1; i < FLines.size() && FLines[i].Section.empty(); ++i) {
        if (!FLines[i].Key.empty() && SameText(FLines[i].Key, Key)) {
            Value = FLines[i].Value;
            return true;
        }
    }
    return false;
}

void TIniDocument::AddSection(const std::string &Section)
{
    if (Section.empty() || HasSection(Section))
        return;
    if (!FLines.empty() && !Trim(FLines.back().Text).empty())
        FLines.push_back(Line{"", {}, {}, {}});
    FLines.push_back(Line{"[" + Section + "]", Section, {}, {}});
}

void TIniDocument::Set(const std::string &Section, const std::string &Key, const std::string &Value)
{
    AddSection(Section);
    const int found = FindSection(Section);
    if (found < 0)
        return;
    const size_t s = size_t(found);
    size_t last = s; // last non-blank line of the section
    size_t i = s + 1;
    for (; i < FLines.size() && FLines[i].Section.empty(); ++i) {
        if (!FLines[i].Key.empty() && SameText(FLines[i].Key, Key)) {
            FLines[i].Value = Value;
            FLines[i].Text = FLines[i].Key + "=" + Value;
            return;
        }
        if (!Trim(FLines[i].Text).empty())
            last = i;
    }
    FLines.insert(FLines.begin() + long(last + 1), Line{Key + "=" + Value, {}, Key, Value});
}

bool TIniDocument::Remove(const std::string &Section, const std::string &Key)
{
    const int s = FindSection(Section);
    if (s < 0)
        return false;
    for (size_t i = size_t(s) + 1; i < FLines.size() && FLines[i].Section.empty(); ++i)
        if (!FLines[i].Key.empty() && SameText(FLines[i].Key, Key)) {
            FLines.erase(FLines.begin() + long(i));
            return true;
        }
    return false;
}

std::vector<std::string> TIniDocument::Keys(const std::string &Section) const
{
    std::vector<std::string> keys;
    const int s = FindSection(Section);
    if (s < 0)
        return keys;
    for (size_t i = size_t(s) + 1; i < FLines.size() && FLines[i].Section.empty(); ++i)
        if (!FLines[i].Key.empty())
            keys.push_back(FLines[i].Key);
    return keys;
}

std::vector<std::string> TIniDocument::Sections() const
{
    std::vector<std::string> names;
    for (const Line &l : FLines)
        if (!l.Section.empty())
            names.push_back(l.Section);
    return names;
}

bool StorableLineEnd(const std::string &Text)
{
    return Text.find('\n') == std::string::npos && (Text.empty() || Text.back() != '\r');
}

bool ParseIniInteger(const std::string &Text, int &Value)
{
    const char *s = Text.c_str();
    if (Text.empty())
        return false;
    errno = 0;
    char *end = nullptr;
    long long v;
    if (Text.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        if (!std::isxdigit(static_cast<unsigned char>(s[2])))
            return false;
        v = std::strtoll(s + 2, &end, 16);
        if (*end || errno || v > 0xFFFFFFFFLL)
            return false;
        Value = int(uint32_t(v));
        return true;
    }
    const char *digits = (s[0] == '-' || s[0] == '+') ? s + 1 : s;
    if (!std::isdigit(static_cast<unsigned char>(*digits)))
        return false;
    v = std::strtoll(s, &end, 10);
    if (*end || errno || v < INT32_MIN || v > INT32_MAX)
        return false;
    Value = int(v);
    return true;
}

std::string TIniFile::ReadString(const std::string &Section, const std::string &Ident,
                                 const std::string &Default) const
{
    TIniDocument doc;
    doc.Load(FFileName);
    std::string value;
    if (!doc.Get(Section, Ident, value))
        return Default;
    value = Trim(value);
    if (Quoted(value))
        value = value.substr(1, value.size() - 2);
    return value;
}

int TIniFile::ReadInteger(const std::string &Section, const std::string &Ident, int Default) const
{
    int value;
    return ParseIniInteger(ReadString(Section, Ident, ""), value) ? value : Default;
}

void TIniFile::WriteString(const std::string &Section, const std::string &Ident,
                           const std::string &Value)
{
    // Refused rather than stored as something that reads back otherwise; a
    // CR at the start is half a line break, as one at the end is.
    if (!StorableName(Section, true) || !StorableName(Ident, false) || !StorableLineEnd(Value) ||
        (!Value.empty() && Value.front() == '\r'))
        throw EIniFileException("Unable to store '" + Ident + "' in " + FFileName + " as given");
    // The reader trims blanks and takes off one pair of enclosing quotes, as
    // a private-profile reader does: a value it would change gets one more.
    const bool enclose = Trim(Value) != Value || Quoted(Value);
    TIniDocument doc;
    doc.Load(FFileName);
    doc.Set(Section, Ident, enclose ? '"' + Value + '"' : Value);
    if (!doc.Save(FFileName))
        throw EIniFileException("Unable to write to " + FFileName + ": " + std::strerror(errno));
}

void TIniFile::WriteInteger(const std::string &Section, const std::string &Ident, int Value)
{
    WriteString(Section, Ident, std::to_string(Value));
}

bool TIniFile::SectionExists(const std::string &Section) const
{
    TIniDocument doc;
    doc.Load(FFileName);
    return doc.HasSection(Section);
}
