// The system's 8-bit text and the file system's names in one text.
#include "Text.h"

#include <gtest/gtest.h>

namespace {
const std::string Cacak = "\xC4\x8C"
                          "a\xC4\x8D"
                          "ak_m\xC3\xA9renje.dts"; // as Linux spells it
const QString CacakShown = QString::fromUtf8("Čačak_mérenje.dts");
} // namespace

TEST(AnsiText, NamesReadAsSpelledAndTheSystemsBytesAsWindows1252)
{
    const struct {
        std::string Bytes;
        QString Shown;
    } table[] = {
        {Cacak, CacakShown},
        {"Fajl snimljen: " + Cacak, "Fajl snimljen: " + CacakShown},
        // The system's own texts, one with a name inside.
        {"\xB0"
         "C",
         QString::fromUtf8("°C")},
        {"Temperatura (\xB0"
         "C) " +
             Cacak,
         QString::fromUtf8("Temperatura (°C) ") + CacakShown},
        {"\x80 \x9F \xFF", QString::fromUtf8("€ Ÿ ÿ")},
        // What is no UTF-8 is read byte by byte: overlong forms, surrogates,
        // a letter cut short, a lead byte beyond the range, a lone tail.
        {"\xC0\x80", QString::fromUtf8("À€")},
        {"\xE0\x80\x80", QString::fromUtf8("à€€")},
        {"\xED\xA0\x80", QString::fromUtf8("í\u00A0€")},
        {"a\xC4", QString::fromUtf8("aÄ")},
        {"\xE2\x82", QString::fromUtf8("â‚")},
        {"\xF5\x80\x80\x80", QString::fromUtf8("õ€€€")},
        {"\xF4\x90\x80\x80", QString::fromUtf8("ô\u0090€€")},
        {"\xA9", QString::fromUtf8("©")},
        // Beyond the basic plane.
        {"\xF0\x9F\x8C\xA1", QString::fromUtf8("🌡")},
    };
    for (const auto &t : table)
        EXPECT_EQ(FromAnsi(t.Bytes), t.Shown) << t.Bytes;
    // A file's contents stay byte for byte.
    EXPECT_EQ(FromCp1252("\xC3\xA9"), QString::fromUtf8("Ã©"));
    // Back: Windows-1252 where it has the letter.
    EXPECT_EQ(ToAnsi(QString::fromUtf8("°C €")), "\xB0"
                                                 "C \x80");
    EXPECT_EQ(ToAnsi(QString::fromUtf8("Č")), "?");
}

TEST(AnsiText, TheLastCharacterIsCutWhole)
{
    EXPECT_EQ(LastCharacterSize(""), 0u);
    EXPECT_EQ(LastCharacterSize("ab"), 1u);
    EXPECT_EQ(LastCharacterSize("a\xC4\x8C"), 2u);
    EXPECT_EQ(LastCharacterSize("a\xE2\x82\xAC"), 3u);
    EXPECT_EQ(LastCharacterSize("\xF0\x9F\x8C\xA1"), 4u);
    EXPECT_EQ(LastCharacterSize("\xB0"), 1u);
    EXPECT_EQ(LastCharacterSize("C\xB0"), 1u);
    // A tail that only looks like the end of a letter read from elsewhere:
    // $C4 $8C $8C is Č and a lone $8C.
    EXPECT_EQ(LastCharacterSize("\xC4\x8C\x8C"), 1u);
}

TEST(AnsiText, AFieldGivesBackTheNameItWasGivenUntilTheUserChangesIt)
{
    TSpelledText text;
    const QString shown = text.Set("/tmp/" + Cacak);
    EXPECT_EQ(shown, "/tmp/" + CacakShown);
    EXPECT_EQ(text.Read(shown), "/tmp/" + Cacak);
    EXPECT_EQ(text.Read(shown + "x"), "/tmp/?a?ak_m\xE9renje.dtsx");
}

TEST(AnsiText, PathsRoundTrip)
{
    EXPECT_EQ(FromFileName("/tmp/" + Cacak), "/tmp/" + CacakShown);
    EXPECT_EQ(ToFileName("/tmp/" + CacakShown), "/tmp/" + Cacak);
}
