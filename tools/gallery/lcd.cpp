// The dot-matrix label: the console's five read-outs, every glyph set with
// its characters, the dot shapes and the borders.
#include "Gallery.h"
#include "LCD_Lab.h"

#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Paints the labels one below the other on a light page.
QImage Page(const std::vector<TLCDLabel *> &Labels)
{
    int width = 0, height = 8;
    for (TLCDLabel *label : Labels) {
        width = std::max(width, label->Width());
        height += label->Height() + 8;
    }
    TBitmap page;
    page.SetPixelFormat(pf24bit);
    page.SetSize(width + 16, height);
    page.Canvas()->Brush()->SetColor(clBtnFace);
    page.Canvas()->FillRect(Rect(0, 0, page.Width(), page.Height()));
    int y = 8;
    for (TLCDLabel *label : Labels) {
        label->PaintTo(page.Canvas(), 8, y);
        y += label->Height() + 8;
    }
    return page.Image().copy();
}

// The console's read-outs: three of six large cells, two of fourteen small.
std::unique_ptr<TLCDLabel> ConsoleLabel(bool Large, const std::string &Caption)
{
    auto label = std::make_unique<TLCDLabel>(nullptr);
    label->SetPixelSize(Large ? pix3x3 : pix1x1);
    label->SetNoOfChars(Large ? 6 : 14);
    label->SetCaption(Caption);
    return label;
}

// Every code of Matrix from its first printable one, sixteen to a line.
std::unique_ptr<TLCDLabel> CharacterChart(TDotMatrix Matrix)
{
    auto label = std::make_unique<TLCDLabel>(nullptr);
    label->SetDotMatrix(Matrix);
    label->Repaint();
    std::string text;
    // A caption ends at a NUL byte, so code 0 stands as a blank cell.
    for (int code = label->FirstChar(); code <= label->LastChar() && text.size() < 255; ++code)
        text += code == 0 ? ' ' : char(code);
    label->SetNoOfChars(16);
    label->SetTextLines(int(text.size() + 15) / 16);
    label->SetBackGround(0x40B080);
    label->SetPixelOn(0x202020);
    label->SetPixelOff(0x50C090);
    label->SetCaption(text);
    return label;
}

// A 3 x 5 glyph file with the digits, to show CustomFont.
std::string WriteDigitFont(const QTemporaryDir &Dir)
{
    const char *digits[] = {"###,#.#,#.#,#.#,###", ".#.,##.,.#.,.#.,###", "###,..#,###,#..,###",
                            "###,..#,.##,..#,###", "#.#,#.#,###,..#,..#", "###,#..,###,..#,###",
                            "###,#..,###,#.#,###", "###,..#,.#.,.#.,.#.", "###,#.#,###,#.#,###",
                            "###,#.#,###,..#,###"};
    std::vector<uint8_t> bytes;
    for (int v : {3, 5, 48, 57})
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(uint32_t(v) >> (8 * i)));
    for (const char *digit : digits)
        for (const char *p = digit; *p; ++p)
            if (*p != ',')
                bytes.push_back(*p == '#' ? 0 : 1);
    const std::string path = Dir.filePath("digits.fnt").toStdString();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

} // namespace

GALLERY_PAGE(lcd)
{
    std::vector<std::unique_ptr<TLCDLabel>> console;
    console.push_back(ConsoleLabel(true, "23.45"));
    console.push_back(ConsoleLabel(true, "45.67"));
    console.push_back(ConsoleLabel(true, "10.81"));
    console.push_back(ConsoleLabel(false, "Period: 10 sec "));
    console.push_back(ConsoleLabel(false, "Mem: 012.34%"));
    std::vector<TLCDLabel *> labels;
    for (auto &label : console)
        labels.push_back(label.get());
    Save("console", Page(labels));
    // The same five before the first reading.
    const char *reset[] = {"----------", "----------", "----------", "Period: ---", "Mem: ---"};
    for (size_t i = 0; i < console.size(); ++i)
        console[i]->SetCaption(reset[i]);
    Save("console-reset", Page(labels));

    const std::pair<TDotMatrix, const char *> sets[] = {
        {mat5x7, "mat5x7"},   {mat5x8, "mat5x8"},     {mat7x9, "mat7x9"}, {mat9x12, "mat9x12"},
        {Hitachi, "Hitachi"}, {Hitachi2, "Hitachi2"}, {dos5x7, "dos5x7"},
    };
    for (const auto &[matrix, name] : sets) {
        auto chart = CharacterChart(matrix);
        Save(name, Page({chart.get()}));
    }
    QTemporaryDir dir;
    auto custom = std::make_unique<TLCDLabel>(nullptr);
    custom->Setfilename(WriteDigitFont(dir));
    custom->SetPixelSize(pix3x3);
    custom->SetCharSpacing(6);
    custom->SetCaption("0123456789");
    Save("CustomFont", Page({custom.get()}));

    std::vector<std::unique_ptr<TLCDLabel>> looks;
    for (TPixelShape shape : {spSquare, spShaped, spRound}) {
        auto label = std::make_unique<TLCDLabel>(nullptr);
        label->SetPixelSize(pix4x4);
        label->SetNoOfChars(8);
        label->SetBackGround(0x202020);
        label->SetPixelOn(0x00E0FF);
        label->SetPixelOff(0x303838);
        label->SetPixelShape(shape);
        label->SetCaption("Ab3.-%\xB0"
                          "C");
        looks.push_back(std::move(label));
    }
    looks[2]->SetDotMatrix(Hitachi);
    for (TMyBorder border : {frRaised, frLowered, frSingle, frNone}) {
        auto label = std::make_unique<TLCDLabel>(nullptr);
        label->SetBorderStyle(border);
        label->SetBorderColor(clRed);
        label->SetCaption("Border");
        looks.push_back(std::move(label));
    }
    auto disabled = std::make_unique<TLCDLabel>(nullptr);
    disabled->SetCaption("Disabled");
    disabled->SetEnabled(false);
    looks.push_back(std::move(disabled));
    std::vector<TLCDLabel *> lookLabels;
    for (auto &label : looks)
        lookLabels.push_back(label.get());
    Save("looks", Page(lookLabels));
}
