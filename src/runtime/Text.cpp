#include "Text.h"

#include <QFile>

namespace {
// Windows-1252 differs from Latin-1 only in $80..$9F.
const char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool Continuation(unsigned char Byte)
{
    return (Byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence of two to four bytes at P
// (Left bytes there), its code point in CodePoint; 0 when there is none.
std::size_t Utf8Sequence(const unsigned char *P, std::size_t Left, char32_t &CodePoint)
{
    const unsigned char lead = P[0];
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        CodePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        CodePoint = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        else if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        CodePoint = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (Left < length || P[1] < low || P[1] > high)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if (!Continuation(P[i]))
            return 0;
        CodePoint = (CodePoint << 6) | (P[i] & 0x3F);
    }
    return length;
}
} // namespace

QChar FromAnsi(unsigned char Byte)
{
    return Byte >= 0x80 && Byte < 0xA0 ? QChar(Cp1252High[Byte - 0x80]) : QChar(Byte);
}

QString FromCp1252(const std::string &Text)
{
    QString out;
    out.reserve(qsizetype(Text.size()));
    for (unsigned char c : Text)
        out.append(FromAnsi(c));
    return out;
}

namespace {
// The character that starts at P (Left bytes there), as FromAnsi reads it:
// a UTF-8 letter beyond ASCII, or one byte of Windows-1252. Its code point
// goes to CodePoint; the result is its length in bytes.
std::size_t CharacterAt(const unsigned char *P, std::size_t Left, char32_t &CodePoint)
{
    if (const std::size_t length = P[0] >= 0xC2 ? Utf8Sequence(P, Left, CodePoint) : 0)
        return length;
    CodePoint = FromAnsi(P[0]).unicode();
    return 1;
}
} // namespace

QString FromAnsi(const std::string &Text)
{
    QString out;
    out.reserve(qsizetype(Text.size()));
    const auto *p = reinterpret_cast<const unsigned char *>(Text.data());
    const std::size_t size = Text.size();
    for (std::size_t i = 0; i < size;) {
        char32_t code;
        i += CharacterAt(p + i, size - i, code);
        if (QChar::requiresSurrogates(code)) {
            out.append(QChar(QChar::highSurrogate(code)));
            out.append(QChar(QChar::lowSurrogate(code)));
        } else {
            out.append(QChar(char16_t(code)));
        }
    }
    return out;
}

std::size_t LastCharacterSize(const std::string &Text)
{
    // Read from the start: a lead byte may belong to an earlier letter.
    const auto *p = reinterpret_cast<const unsigned char *>(Text.data());
    const std::size_t size = Text.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i < size; i += last) {
        char32_t code;
        last = CharacterAt(p + i, size - i, code);
    }
    return last;
}

std::string ToAnsi(const QString &Text)
{
    std::string out;
    out.reserve(std::size_t(Text.size()));
    for (QChar ch : Text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            out.push_back(char(u));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (Cp1252High[i] == u)
                mapped = char(0x80 + i);
        out.push_back(mapped);
    }
    return out;
}

QString FromFileName(const std::string &Path)
{
    return QFile::decodeName(QByteArray::fromStdString(Path));
}

std::string ToFileName(const QString &Path)
{
    return QFile::encodeName(Path).toStdString();
}
