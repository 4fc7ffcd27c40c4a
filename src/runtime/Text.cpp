#include "Text.h"

namespace {
// Windows-1252 differs from Latin-1 only in $80..$9F.
const char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
} // namespace

QChar FromAnsi(unsigned char Byte)
{
    return Byte >= 0x80 && Byte < 0xA0 ? QChar(Cp1252High[Byte - 0x80]) : QChar(Byte);
}

QString FromAnsi(const std::string &Text)
{
    QString out;
    out.reserve(int(Text.size()));
    for (unsigned char c : Text)
        out.append(FromAnsi(c));
    return out;
}

std::string ToAnsi(const QString &Text)
{
    std::string out;
    out.reserve(Text.size());
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
