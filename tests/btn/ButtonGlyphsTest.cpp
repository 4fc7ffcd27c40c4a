#include "ButtonGlyphs.h"
#include "Forms.h"
#include "SolidFaces.h"
#include "dxButton.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct TGlyphCase {
    TButtonGlyph Glyph;
    const char *Name;
    bool Console;
};

const std::vector<TGlyphCase> &Glyphs()
{
    static const std::vector<TGlyphCase> glyphs = {
        {TButtonGlyph::Load, "Load", false},
        {TButtonGlyph::Print, "Print", false},
        {TButtonGlyph::Refresh, "Refresh", true},
        {TButtonGlyph::ReadAll, "ReadAll", true},
        {TButtonGlyph::Download, "Download", true},
        {TButtonGlyph::Erase, "Erase", true},
        {TButtonGlyph::LoadImage, "LoadImage", true},
        {TButtonGlyph::SaveImage, "SaveImage", true},
        {TButtonGlyph::ExportRecording, "ExportRecording", true},
        {TButtonGlyph::ClockSync, "ClockSync", true},
        {TButtonGlyph::StartAcquisition, "StartAcquisition", true},
        {TButtonGlyph::StopAcquisition, "StopAcquisition", true},
        {TButtonGlyph::ExportRtf, "ExportRtf", true},
        {TButtonGlyph::SaveSettings, "SaveSettings", true},
        {TButtonGlyph::FindDevice, "FindDevice", true},
    };
    return glyphs;
}

// The pixels of a glyph that are not its ground (its bottom-left colour).
int PictureSize(TBitmap &Glyph)
{
    const TColor ground = Glyph.Canvas()->Pixels(0, Glyph.Height() - 1);
    int n = 0;
    for (int y = 0; y < Glyph.Height(); ++y)
        for (int x = 0; x < Glyph.Width(); ++x)
            n += Glyph.Canvas()->Pixels(x, y) != ground;
    return n;
}

} // namespace

TEST(ButtonGlyphs, EachIsA32By32PictureOnAGroundThatSurroundsIt)
{
    for (const TGlyphCase &g : Glyphs()) {
        TBitmap glyph;
        PaintButtonGlyph(&glyph, g.Glyph);
        ASSERT_EQ(glyph.Width(), 32) << g.Name;
        ASSERT_EQ(glyph.Height(), 32) << g.Name;
        EXPECT_EQ(glyph.PixelFormat(), pf24bit) << g.Name;
        // The button takes the bottom-left pixel as transparent: it must be
        // the ground, which fills every corner.
        const TColor ground = glyph.Canvas()->Pixels(0, 31);
        EXPECT_EQ(glyph.Canvas()->Pixels(0, 0), ground) << g.Name;
        EXPECT_EQ(glyph.Canvas()->Pixels(31, 0), ground) << g.Name;
        EXPECT_EQ(glyph.Canvas()->Pixels(31, 31), ground) << g.Name;
        EXPECT_GE(PictureSize(glyph), 32 * 32 / 5) << g.Name << " is nearly blank";
    }
}

TEST(ButtonGlyphs, TheConsoleGlyphsDifferFromEachOther)
{
    std::vector<std::pair<const TGlyphCase *, std::unique_ptr<TBitmap>>> console;
    for (const TGlyphCase &g : Glyphs())
        if (g.Console) {
            console.emplace_back(&g, std::make_unique<TBitmap>());
            PaintButtonGlyph(console.back().second.get(), g.Glyph);
        }
    ASSERT_EQ(console.size(), 13u);
    for (size_t i = 0; i < console.size(); ++i)
        for (size_t j = i + 1; j < console.size(); ++j) {
            int differ = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    differ += console[i].second->Canvas()->Pixels(x, y) !=
                              console[j].second->Canvas()->Pixels(x, y);
            EXPECT_GE(differ, 32 * 32 / 10)
                << console[i].first->Name << " and " << console[j].first->Name;
        }
}

// Greying a disabled button's glyph may turn an ink into the ground's grey,
// which then goes transparent with it: the button must show the whole
// picture, greyed, and none of its ground.
TEST(ButtonGlyphs, ADisabledButtonShowsTheWholePictureAndNoGround)
{
    TForm form(nullptr);
    form.SetBounds(50, 50, 200, 100);
    form.ShowForm();
    auto *button = new TdxButton(&form);
    button->SetParent(&form);
    button->SetBounds(0, 0, 121, 41);
    solidfaces::MakeSolid(button);

    auto paint = [&](TBitmap *Glyph, bool Enabled) {
        button->SetGlyph(Glyph);
        button->SetEnabled(Enabled);
        button->Repaint();
        std::vector<TColor> pixels;
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 121; ++x)
                pixels.push_back(button->Canvas()->Pixels(x, y));
        return pixels;
    };
    auto changed = [](const std::vector<TColor> &A, const std::vector<TColor> &B) {
        int n = 0;
        for (size_t i = 0; i < A.size(); ++i)
            n += A[i] != B[i];
        return n;
    };

    TBitmap blank;
    blank.SetSize(32, 32);
    blank.Canvas()->Brush()->SetColor(clFuchsia);
    blank.Canvas()->FillRect(Rect(0, 0, 32, 32));
    const std::vector<TColor> bare = paint(&blank, true), bareDisabled = paint(&blank, false);

    for (const TGlyphCase &g : Glyphs()) {
        TBitmap glyph;
        PaintButtonGlyph(&glyph, g.Glyph);
        const int picture = PictureSize(glyph);
        EXPECT_EQ(changed(paint(&glyph, true), bare), picture) << g.Name;
        EXPECT_EQ(changed(paint(&glyph, false), bareDisabled), picture) << g.Name;
    }
}
