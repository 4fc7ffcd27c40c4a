#pragma once
// Shared by the label's tests: scripted message boxes and reading glyphs
// back from the painted label.

#include "Dialogs.h"
#include "LCD_Lab.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Answers every message box with OK and records its text and flags.
class TScriptedDialogs : public TDialogs {
public:
    TScriptedDialogs() { Previous = SetDialogs(this); }
    ~TScriptedDialogs() override { SetDialogs(Previous); }
    int MessageBox(const std::string &Text, const std::string &, int Flags) override
    {
        Texts.push_back(Text);
        LastFlags = Flags;
        return IDOK;
    }
    std::vector<std::string> Texts;
    int LastFlags = -1;

private:
    TDialogs *Previous;
};

// A one-cell label that paints each dot as one pixel, so that the painted
// cell reads back as the glyph.
inline void MakeGlyphReader(TLCDLabel &Label)
{
    Label.SetPixelSize(pix1x1);
    Label.SetPixelSpacing(0);
    Label.SetBorderSpace(0);
    Label.SetNoOfChars(1);
    Label.SetPixelOn(clBlack);
    Label.SetPixelOff(clWhite);
}

// The painted glyph of the first cell as rows of '#' (lit) and '.' (unlit).
inline std::vector<std::string> PaintedGlyph(TLCDLabel &Label, const std::string &Text)
{
    Label.SetCaption(Text);
    Label.Repaint();
    std::vector<std::string> rows;
    for (int r = 0; r < Label.GlyphRows(); ++r) {
        std::string row;
        for (int c = 0; c < Label.GlyphCols(); ++c)
            row += Label.Canvas()->Pixels(1 + c, 1 + r) == clBlack ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

inline std::vector<std::string> Rows(const std::string &Picture)
{
    std::vector<std::string> rows;
    size_t start = 0;
    while (start < Picture.size()) {
        size_t end = Picture.find(' ', start);
        if (end == std::string::npos)
            end = Picture.size();
        rows.push_back(Picture.substr(start, end - start));
        start = end + 1;
    }
    return rows;
}
