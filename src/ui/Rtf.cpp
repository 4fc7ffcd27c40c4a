#include "Rtf.h"

#include "Graphics.h"
#include "Text.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace {

// The face a run's rich text named, beside the installed face that draws it.
constexpr int FaceNameProperty = QTextFormat::UserProperty + 1;

enum class TDestination { Text, Skip, FontTable, ColorTable };

struct TRunFormat {
    int Font = 0;
    int HalfPoints = 24;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int Color = 0;
    bool operator==(const TRunFormat &) const = default;
};

struct TGroupState {
    TRunFormat Format;
    TDestination Destination = TDestination::Text;
    int UnicodeSkip = 1;
};

// Words that open a destination whose content is not text of the document.
bool IsSkippedDestination(const std::string &Word)
{
    static const char *const Words[] = {
        "author",
        "bkmkend",
        "bkmkstart",
        "buptim",
        "colorschememapping",
        "comment",
        "company",
        "creatim",
        "datastore",
        "doccomm",
        "filetbl",
        "fldinst",
        "footer",
        "footerf",
        "footerl",
        "footerr",
        "footnote",
        "generator",
        "header",
        "headerf",
        "headerl",
        "headerr",
        "info",
        "keywords",
        "latentstyles",
        "listoverridetable",
        "listtable",
        "mmathPr",
        "nonshppict",
        "object",
        "operator",
        "pict",
        "pgdsctbl",
        "printim",
        "private",
        "revtbl",
        "revtim",
        "rsidtbl",
        "shpinst",
        "stylesheet",
        "subject",
        "tc",
        "themedata",
        "title",
        "xe",
        "xmlnstbl",
    };
    return std::find(std::begin(Words), std::end(Words), Word) != std::end(Words);
}

// The character a symbol word stands for, or 0.
char16_t SymbolWord(const std::string &Word)
{
    static const std::map<std::string, char16_t> Symbols = {
        {"line", 0x2028},      {"tab", '\t'},         {"emdash", 0x2014},
        {"endash", 0x2013},    {"lquote", 0x2018},    {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022},
    };
    const auto at = Symbols.find(Word);
    return at == Symbols.end() ? 0 : at->second;
}

// The UTF-16 unit of \uN, whose N is signed 16-bit by custom.
std::optional<QChar> Unit(int N)
{
    const int unit = N < 0 ? N + 65536 : N;
    return unit >= 0 && unit <= 0xFFFF ? std::optional<QChar>(char16_t(unit)) : std::nullopt;
}

// A font name as the font table can hold it, the same when read and written.
QString CleanFontName(QString Name)
{
    Name.removeIf([](QChar c) {
        return c < QChar(0x20) || c == QChar::LineSeparator || c == QChar::ParagraphSeparator ||
               c == ';' || c == '{' || c == '}' || c == '\\';
    });
    return Name.trimmed();
}

class TRtfReader {
public:
    TRtfReader(const std::string &Rtf, QTextDocument &Doc) : FIn(Rtf), FCursor(&Doc) {}

    void Run()
    {
        FCursor.beginEditBlock();
        while (FPos < FIn.size() && !FDone) {
            const char c = FIn[FPos++];
            switch (c) {
            case '{': OpenGroup(); break;
            case '}': CloseGroup(); break;
            case '\\': ControlSequence(); break;
            case '\r':
            case '\n': break;
            default: Byte(static_cast<unsigned char>(c)); break;
            }
        }
        FlushRun();
        // The last \par ends the last line instead of opening another.
        for (int i = 1; i < FPendingBreaks; ++i)
            FCursor.insertBlock();
        FCursor.endEditBlock();
    }

private:
    TGroupState &State() { return FStack.back(); }

    void OpenGroup()
    {
        FSkip = 0;
        if (FStack.size() >= std::size_t(MaxRtfDepth)) {
            ++FOverflow;
            return;
        }
        FStack.push_back(FStack.empty() ? TGroupState{} : State());
        if (FIn.compare(FPos, 2, "\\*") == 0) {
            State().Destination = TDestination::Skip;
            FPos += 2;
        }
    }

    void CloseGroup()
    {
        FSkip = 0;
        if (FOverflow > 0) {
            --FOverflow;
            return;
        }
        if (FStack.empty())
            return;
        if (State().Destination == TDestination::FontTable)
            EndFontEntry();
        FStack.pop_back();
        FDone = FStack.empty();
    }

    // Text before the first group (no "{\rtf") still reads as text.
    void EnsureGroup()
    {
        if (FStack.empty())
            FStack.emplace_back();
    }

    void Byte(unsigned char Byte)
    {
        EnsureGroup();
        if (Consumed())
            return;
        switch (State().Destination) {
        case TDestination::Text: Text(FromAnsi(Byte)); break;
        case TDestination::FontTable:
            if (Byte == ';')
                EndFontEntry();
            else
                FFontName += FromAnsi(Byte);
            break;
        case TDestination::ColorTable:
            if (Byte == ';') {
                FColors.push_back(FColorSet ? std::optional<QColor>(FColor) : std::nullopt);
                FFormats.clear();
                FColor = QColor(0, 0, 0);
                FColorSet = false;
            }
            break;
        case TDestination::Skip: break;
        }
    }

    void EndFontEntry()
    {
        const QString name = CleanFontName(FFontName);
        if (!name.isEmpty())
            FFonts[FFontNumber] = name;
        FFontName.clear();
        FFormats.clear();
    }

    void ControlSequence()
    {
        if (FPos >= FIn.size())
            return;
        const char c = FIn[FPos];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++FPos;
            ControlSymbol(c);
            return;
        }
        std::string word;
        while (FPos < FIn.size() && std::isalpha(static_cast<unsigned char>(FIn[FPos]))) {
            if (word.size() < 32)
                word.push_back(FIn[FPos]);
            ++FPos;
        }
        std::optional<int> param;
        bool negative = false;
        if (FPos < FIn.size() && FIn[FPos] == '-' && FPos + 1 < FIn.size() &&
            std::isdigit(static_cast<unsigned char>(FIn[FPos + 1]))) {
            negative = true;
            ++FPos;
        }
        long long value = 0;
        bool digits = false;
        while (FPos < FIn.size() && std::isdigit(static_cast<unsigned char>(FIn[FPos]))) {
            value = std::min<long long>(value * 10 + (FIn[FPos] - '0'), 1LL << 31);
            digits = true;
            ++FPos;
        }
        if (digits)
            param = int(std::clamp<long long>(negative ? -value : value, INT32_MIN, INT32_MAX));
        if (FPos < FIn.size() && FIn[FPos] == ' ')
            ++FPos;
        EnsureGroup();
        ControlWord(word, param);
    }

    void ControlSymbol(char c)
    {
        EnsureGroup();
        switch (c) {
        case '\\':
        case '{':
        case '}': Byte(static_cast<unsigned char>(c)); break;
        case '\'': {
            int value = 0;
            for (int i = 0; i < 2; ++i) {
                const int digit = FPos < FIn.size() ? HexDigit(FIn[FPos]) : -1;
                if (digit < 0)
                    return;
                value = value * 16 + digit;
                ++FPos;
            }
            Byte(static_cast<unsigned char>(value));
            break;
        }
        case '~': Symbol(QChar(0x00A0)); break;
        case '_': Symbol(QChar(0x2011)); break;
        case '\r':
        case '\n': ControlWord("par", std::nullopt); break;
        default: Consumed(); break;
        }
    }

    static int HexDigit(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    // A control word or symbol in the text counts as one character of a
    // \uN fallback.
    bool Consumed()
    {
        if (FSkip > 0) {
            --FSkip;
            return true;
        }
        return false;
    }

    void Symbol(QChar Character)
    {
        if (State().Destination == TDestination::Text && !Consumed())
            Text(Character);
    }

    void ControlWord(const std::string &Word, std::optional<int> Param)
    {
        TGroupState &s = State();
        const int p = Param.value_or(1);
        if (Word == "bin") {
            // Binary data may hold any byte, braces too.
            FPos += std::min<std::size_t>(std::max(Param.value_or(0), 0), FIn.size() - FPos);
        } else if (Word == "fonttbl") {
            s.Destination = TDestination::FontTable;
            FFontName.clear();
        } else if (Word == "colortbl") {
            s.Destination = TDestination::ColorTable;
        } else if (IsSkippedDestination(Word)) {
            s.Destination = TDestination::Skip;
        } else if (s.Destination == TDestination::FontTable) {
            if (Word == "f") {
                FFontNumber = Param.value_or(0);
            } else if (Word == "u" && !Consumed()) {
                if (const auto unit = Unit(p))
                    FFontName += *unit;
                FSkip = s.UnicodeSkip;
            }
        } else if (s.Destination == TDestination::ColorTable) {
            const int v = std::clamp(Param.value_or(0), 0, 255);
            if (Word == "red")
                FColor.setRed(v);
            else if (Word == "green")
                FColor.setGreen(v);
            else if (Word == "blue")
                FColor.setBlue(v);
            else
                return;
            FColorSet = true;
        } else if (s.Destination == TDestination::Text) {
            TextWord(s, Word, Param, p);
        }
    }

    void TextWord(TGroupState &s, const std::string &Word, std::optional<int> Param, int p)
    {
        TRunFormat &f = s.Format;
        if (Word == "u") {
            if (Consumed())
                return;
            if (const auto unit = Unit(p))
                Text(*unit);
            FSkip = s.UnicodeSkip;
            return;
        }
        if (Consumed())
            return;
        if (Word == "par")
            ++FPendingBreaks;
        else if (const char16_t c = SymbolWord(Word))
            Text(QChar(c));
        else if (Word == "uc")
            s.UnicodeSkip = std::clamp(Param.value_or(1), 0, 16);
        else if (Word == "plain")
            f = TRunFormat{FDefaultFont};
        else if (Word == "deff")
            FDefaultFont = f.Font = Param.value_or(0);
        else if (Word == "f")
            f.Font = Param.value_or(0);
        else if (Word == "fs")
            f.HalfPoints = p > 0 ? std::min(p, 3276) : 24;
        else if (Word == "b")
            f.Bold = p != 0;
        else if (Word == "i")
            f.Italic = p != 0;
        else if (Word == "ul")
            f.Underline = p != 0;
        else if (Word == "ulnone")
            f.Underline = false;
        else if (Word == "cf")
            f.Color = Param.value_or(0);
    }

    void Text(QChar Character)
    {
        const char16_t u = Character.unicode();
        // Characters the document would take as structure, and control codes.
        if (u == 0x2029 || u == '\n' || u == '\r') {
            ++FPendingBreaks;
            return;
        }
        if ((u < 0x20 && u != '\t') || u == 0xFDD0 || u == 0xFDD1 || u == 0xFFFC)
            return;
        if (FPendingBreaks > 0 || !(State().Format == FRunFormat)) {
            FlushRun();
            for (; FPendingBreaks > 0; --FPendingBreaks)
                FCursor.insertBlock();
            FRunFormat = State().Format;
        }
        FRun.append(Character);
    }

    void FlushRun()
    {
        if (FRun.isEmpty())
            return;
        FCursor.insertText(FRun, CachedFormat(FRunFormat));
        FRun.clear();
    }

    // A report alternates a few formats over thousands of runs.
    const QTextCharFormat &CachedFormat(const TRunFormat &f)
    {
        for (const auto &[format, c] : FFormats)
            if (format == f)
                return c;
        if (FFormats.size() >= 32)
            FFormats.erase(FFormats.begin());
        FFormats.emplace_back(f, CharFormat(f));
        return FFormats.back().second;
    }

    QTextCharFormat CharFormat(const TRunFormat &f) const
    {
        QTextCharFormat c;
        if (auto font = FFonts.find(f.Font); font != FFonts.end()) {
            // Drawn in the installed face that matches the named one; the
            // name itself is kept for writing the text back.
            const int pixels = int(std::lround(f.HalfPoints * 96.0 / 144.0));
            c.setFontFamilies(
                {FontFamilyFor(font->second.toStdString(), pixels, f.Bold, f.Italic)});
            c.setProperty(FaceNameProperty, font->second);
        }
        c.setFontPointSize(f.HalfPoints / 2.0);
        c.setFontWeight(f.Bold ? QFont::Bold : QFont::Normal);
        c.setFontItalic(f.Italic);
        c.setFontUnderline(f.Underline);
        if (f.Color >= 0 && std::size_t(f.Color) < FColors.size() && FColors[f.Color])
            c.setForeground(*FColors[f.Color]);
        return c;
    }

    const std::string &FIn;
    std::size_t FPos = 0;
    QTextCursor FCursor;
    std::vector<TGroupState> FStack;
    int FOverflow = 0;
    bool FDone = false;
    int FSkip = 0;
    int FPendingBreaks = 0;
    QString FRun;
    TRunFormat FRunFormat;
    int FDefaultFont = 0;
    std::map<int, QString> FFonts;
    int FFontNumber = 0;
    QString FFontName;
    std::vector<std::optional<QColor>> FColors;
    std::vector<std::pair<TRunFormat, QTextCharFormat>> FFormats;
    QColor FColor{0, 0, 0};
    bool FColorSet = false;
};

void AppendEscaped(std::string &Out, const QString &Text)
{
    for (QChar ch : Text) {
        const char16_t u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            Out += '\\';
            Out += char(u);
        } else if (u == '\t') {
            Out += "\\tab ";
        } else if (u == 0x2028) {
            Out += "\\line ";
        } else if (u < 0x20) {
            continue;
        } else if (u < 0x80) {
            Out += char(u);
        } else if (const std::string a = ToAnsi(QString(ch)); a[0] != '?') {
            static const char Hex[] = "0123456789abcdef";
            const auto b = static_cast<unsigned char>(a[0]);
            Out += "\\'";
            Out += Hex[b >> 4];
            Out += Hex[b & 15];
        } else {
            Out += "\\u" + std::to_string(int(int16_t(u))) + "?";
        }
    }
}

QString FontName(const QTextCharFormat &Format, const QTextDocument &Doc)
{
    if (Format.hasProperty(FaceNameProperty))
        return Format.stringProperty(FaceNameProperty);
    const QStringList families = Format.fontFamilies().toStringList();
    const QString name =
        CleanFontName(families.isEmpty() ? Doc.defaultFont().family() : families.first());
    return name.isEmpty() ? QStringLiteral("Sans") : name;
}

} // namespace

QString RtfFaceName(const QTextCharFormat &Format)
{
    return Format.stringProperty(FaceNameProperty);
}

bool IsRtf(const std::string &Data)
{
    return Data.compare(0, 5, "{\\rtf") == 0;
}

void ReadRtf(const std::string &Rtf, QTextDocument &Doc)
{
    Doc.clear();
    TRtfReader(Rtf, Doc).Run();
}

void ReadPlainText(const std::string &Text, QTextDocument &Doc)
{
    std::string lines = Text;
    std::replace(lines.begin(), lines.end(), '\0', ' ');
    QString text = FromCp1252(lines);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace('\r', '\n');
    if (text.endsWith('\n'))
        text.chop(1);
    Doc.setPlainText(text);
}

std::string WriteRtf(const QTextDocument &Doc)
{
    struct TRun {
        QString Text;
        TRunFormat Format;
    };
    std::vector<QString> fonts;
    std::vector<QColor> colors;
    std::vector<std::vector<TRun>> paragraphs;
    const auto indexOf = [](auto &List, const auto &Value) {
        const auto at = std::find(List.begin(), List.end(), Value);
        if (at != List.end())
            return int(at - List.begin());
        List.push_back(Value);
        return int(List.size()) - 1;
    };
    const double defaultSize =
        Doc.defaultFont().pointSizeF() > 0 ? Doc.defaultFont().pointSizeF() : 12.0;
    for (QTextBlock block = Doc.begin(); block.isValid(); block = block.next()) {
        std::vector<TRun> runs;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            const double size = f.fontPointSize() > 0 ? f.fontPointSize() : defaultSize;
            const int color = f.hasProperty(QTextFormat::ForegroundBrush)
                                  ? indexOf(colors, f.foreground().color()) + 1
                                  : 0;
            const TRunFormat format{indexOf(fonts, FontName(f, Doc)),
                                    int(std::lround(size * 2)),
                                    f.fontWeight() > QFont::Normal,
                                    f.fontItalic(),
                                    f.fontUnderline(),
                                    color};
            // Formats that differ only in what rich text does not keep write as one run.
            if (!runs.empty() && runs.back().Format == format)
                runs.back().Text += fragment.text();
            else
                runs.push_back({fragment.text(), format});
        }
        paragraphs.push_back(std::move(runs));
    }
    if (fonts.empty())
        fonts.push_back(FontName(QTextCharFormat(), Doc));

    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        out += "{\\f" + std::to_string(i) + " ";
        AppendEscaped(out, fonts[i]);
        out += ";}";
    }
    out += "}\r\n{\\colortbl;";
    for (const QColor &c : colors)
        out += "\\red" + std::to_string(c.red()) + "\\green" + std::to_string(c.green()) +
               "\\blue" + std::to_string(c.blue()) + ";";
    out += "}\r\n";
    for (const auto &runs : paragraphs) {
        for (const TRun &run : runs) {
            const TRunFormat &r = run.Format;
            out += "\\plain\\f" + std::to_string(r.Font) + "\\fs" + std::to_string(r.HalfPoints);
            if (r.Bold)
                out += "\\b";
            if (r.Italic)
                out += "\\i";
            if (r.Underline)
                out += "\\ul";
            out += "\\cf" + std::to_string(r.Color) + " ";
            AppendEscaped(out, run.Text);
        }
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}
