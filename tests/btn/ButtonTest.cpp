#include "Dialogs.h"
#include "Forms.h"
#include "Pixels.h"
#include "SolidFaces.h"
#include "dxButton.h"

#include <QCursor>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// A focusable control that is not a gradient control.
class TPlain : public TCustomControl {
public:
    explicit TPlain(TComponent *Owner) : TCustomControl(Owner) { SetTabStop(true); }
};

using namespace solidfaces;

class ButtonTest : public ::testing::Test {
protected:
    TForm Form{nullptr};
    TPlain *Plain = nullptr;
    int Clicks = 0;

    void SetUp() override
    {
        Form.SetBounds(50, 50, 400, 200);
        Plain = new TPlain(&Form);
        Plain->SetParent(&Form);
        Plain->SetBounds(300, 100, 20, 20);
        Form.ShowForm();
    }

    TdxButton *NewButton(int Left = 0, int Width = 73, int Height = 25)
    {
        auto *b = new TdxButton(&Form);
        b->SetParent(&Form);
        b->SetBounds(Left, 0, Width, Height);
        b->OnClick = [this](TObject *) { ++Clicks; };
        return b;
    }

    static void Solid(TdxButton *B) { MakeSolid(B); }

    static TColor Pixel(TdxButton *B, int X, int Y)
    {
        B->Repaint();
        return B->Canvas()->Pixels(X, Y);
    }

    static void PointerAt(TControl *C, int X, int Y)
    {
        QCursor::setPos(C->mapToGlobal(QPoint(X, Y)));
    }
};

struct TFaceCase {
    const char *Name;
    TColor Ring;  // at (2, 12): 1 .. 2 from the edge
    TColor Inner; // at (3, 12) and in the middle
};

} // namespace

TEST_F(ButtonTest, BitmapsAreRebuiltAtTheSizeOfTheButton)
{
    TdxButton *b = NewButton();
    EXPECT_EQ(b->Width(), 73);
    EXPECT_EQ(b->Height(), 25);
    for (TBitmap *bitmap :
         {b->BackgroundBitmap(), b->ClickedBitmap(), b->FocusedBitmap(), b->HighlightBitmap()})
        EXPECT_EQ(TSize(bitmap->Width(), bitmap->Height()), TSize(71, 23));

    // Rebuilt while highlighted, the background leaves room for the ring.
    b->HandleMouseEnter();
    b->SetQuality(bqHigh);
    EXPECT_EQ(TSize(b->BackgroundBitmap()->Width(), b->BackgroundBitmap()->Height()),
              TSize(67, 19));
    for (TBitmap *bitmap : {b->ClickedBitmap(), b->FocusedBitmap(), b->HighlightBitmap()})
        EXPECT_EQ(TSize(bitmap->Width(), bitmap->Height()), TSize(71, 23));

    // Quality sets the number of bands: count the greys down a column.
    b->HandleMouseLeave();
    b->Colors()->SetBackgroundFrom(clBlack);
    b->Colors()->SetBackgroundTo(clWhite);
    auto greys = [&] {
        std::set<TColor> seen;
        for (int y = 0; y < b->BackgroundBitmap()->Height(); ++y)
            seen.insert(b->BackgroundBitmap()->Canvas()->Pixels(40, y));
        return seen.size();
    };
    b->SetQuality(bqLow);
    EXPECT_EQ(greys(), 8u);
    b->SetQuality(bqMiddle);
    EXPECT_EQ(greys(), 16u);
}

TEST_F(ButtonTest, EachStateShowsItsFace)
{
    TdxButton *b = NewButton();
    Solid(b);
    auto expectFace = [&](const TFaceCase &Case) {
        SCOPED_TRACE(Case.Name);
        EXPECT_EQ(Pixel(b, 2, 12), Case.Ring);
        EXPECT_EQ(Pixel(b, 3, 12), Case.Inner);
        EXPECT_EQ(Pixel(b, 36, 12), Case.Inner);
        EXPECT_EQ(Pixel(b, 69, 21), Case.Inner);
        EXPECT_EQ(Pixel(b, 36, 0), Line);
        EXPECT_EQ(Pixel(b, 0, 0), Face);
    };
    expectFace({"none", Background, Background});
    b->HandleMouseEnter();
    expectFace({"hot", Highlight, Background});
    b->HandleMouseDown(mbLeft, ssLeft, 5, 5);
    EXPECT_EQ(b->State(), unsigned(dxHot | dxFocused | dxPressed));
    expectFace({"hot and pressed", Clicked, Clicked});
    b->HandleMouseLeave();
    expectFace({"pressed, pointer off", FocusedFace, Background});
    PointerAt(b, 200, 100);
    b->HandleMouseUp(mbLeft, 0, 200, 100);
    EXPECT_EQ(Clicks, 0);
    expectFace({"focused", FocusedFace, Background});

    // The default look, while no gradient control has the focus.
    Plain->SetFocus();
    expectFace({"none", Background, Background});
    b->SetDefault(true);
    expectFace({"default", FocusedFace, Background});
    TdxButton *other = NewButton(100);
    other->SetFocus();
    expectFace({"default, other gradient control focused", Background, Background});
}

TEST_F(ButtonTest, RingShowsTheTopLeftOfABackgroundBuiltUnhighlighted)
{
    TdxButton *b = NewButton();
    Solid(b);
    b->HandleMouseEnter();
    EXPECT_EQ(b->BackgroundBitmap()->Width(), 71);
    EXPECT_EQ(Pixel(b, 69, 12), Background);
    EXPECT_EQ(Pixel(b, 70, 12), Highlight);
    EXPECT_EQ(Pixel(b, 36, 21), Background);
    EXPECT_EQ(Pixel(b, 36, 22), Highlight);
}

TEST_F(ButtonTest, CornerLinesTakeTheBorderEdgesColour)
{
    TdxButton *b = NewButton();
    Solid(b);
    b->Colors()->SetBorderEdges(clScrollBar);
    const TColor edge = ColorToRGB(clScrollBar);
    for (TPoint p : {Point(0, 1), Point(72, 1), Point(1, 24), Point(71, 24), Point(72, 23)})
        EXPECT_EQ(Pixel(b, p.X, p.Y), edge) << p.X << "," << p.Y;
    EXPECT_NE(Pixel(b, 2, 0), edge);
}

TEST_F(ButtonTest, FocusRectangleMarksTheFocusedButton)
{
    TdxButton *b = NewButton();
    Solid(b);
    b->SetShowFocusRect(true);
    b->SetFocus();
    b->Repaint();
    int marked = 0;
    for (int x = 3; x < 70; ++x)
        marked += b->Canvas()->Pixels(x, 3) != Background;
    EXPECT_GT(marked, 20);
    b->SetShowFocusRect(false);
    EXPECT_EQ(Pixel(b, 4, 3), Background);
    EXPECT_EQ(Pixel(b, 5, 3), Background);
}

TEST_F(ButtonTest, DisabledGlyphTurnsGreyUnlessAutoGrayIsOff)
{
    TdxButton *b = NewButton(0, 121, 41);
    Solid(b);
    TBitmap glyph;
    glyph.SetSize(32, 32);
    TCanvas *g = glyph.Canvas();
    g->Brush()->SetColor(clFuchsia);
    g->FillRect(Rect(0, 0, 32, 32));
    const TColor inks[] = {clRed, clWhite, clBlack, RGB(10, 200, 90)};
    for (int i = 0; i < 4; ++i) {
        g->Brush()->SetColor(inks[i]);
        g->FillRect(Rect(4 + 6 * i, 4, 10 + 6 * i, 28));
    }
    b->SetGlyph(&glyph);
    EXPECT_EQ(b->Glyph()->Width(), 32);

    auto glyphColours = [&] {
        b->Repaint();
        std::set<TColor> seen;
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 121; ++x) {
                TColor c = b->Canvas()->Pixels(x, y);
                if (c != Background && c != Face && c != Line && c != Edges)
                    seen.insert(c);
            }
        return seen;
    };
    EXPECT_EQ(glyphColours(), (std::set<TColor>{clRed, clWhite, clBlack, RGB(10, 200, 90)}));
    b->SetEnabled(false);
    // ((r + g + b) div 3) div 2 + 96.
    EXPECT_EQ(glyphColours(), (std::set<TColor>{RGB(138, 138, 138), RGB(223, 223, 223),
                                                RGB(96, 96, 96), RGB(146, 146, 146)}));
    b->SetAutoGray(false);
    EXPECT_EQ(glyphColours(), (std::set<TColor>{clRed, clWhite, clBlack, RGB(10, 200, 90)}));
}

TEST_F(ButtonTest, SpacePressesAndAnyKeyReleaseClicks)
{
    TdxButton *b = NewButton();
    PointerAt(b, 10, 10);
    b->HandleKeyDown(VK_SPACE, ssShift);
    EXPECT_EQ(b->State(), 0u);
    b->HandleKeyDown(VK_SPACE, 0);
    EXPECT_EQ(b->State(), unsigned(dxHot | dxFocused | dxPressed));
    EXPECT_EQ(Form.ActiveControl(), b);
    b->HandleKeyUp(VK_SPACE, 0);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(b->State(), unsigned(dxHot | dxFocused));

    // Released with the pointer elsewhere, and by another key.
    b->HandleKeyDown(VK_SPACE, 0);
    PointerAt(b, 100, 60);
    b->HandleKeyUp('A', 0);
    EXPECT_EQ(Clicks, 2);
    EXPECT_EQ(b->State(), unsigned(dxFocused));
    b->HandleKeyUp(VK_SPACE, 0);
    EXPECT_EQ(Clicks, 2);
}

TEST_F(ButtonTest, EnterClicksTheFocusedOrDefaultButtonEscTheCancelButton)
{
    TdxButton *ok = NewButton(0);
    TdxButton *cancel = NewButton(100);
    std::vector<std::string> log;
    ok->OnClick = [&](TObject *) { log.push_back("ok"); };
    cancel->OnClick = [&](TObject *) { log.push_back("cancel"); };
    ok->SetDefault(true);
    cancel->SetCancel(true);

    Plain->SetFocus();
    Plain->HandleKeyDown(VK_RETURN, 0);
    Plain->HandleKeyDown(VK_ESCAPE, 0);
    Plain->HandleKeyDown(VK_ESCAPE, ssShift);
    Plain->HandleKeyDown(VK_ESCAPE, ssCtrl);
    EXPECT_EQ(log, (std::vector<std::string>{"ok", "cancel"}));
    log.clear();

    // With a gradient button focused, Enter is that button's, Shift or not.
    cancel->SetFocus();
    cancel->HandleKeyDown(VK_RETURN, 0);
    cancel->HandleKeyDown(VK_RETURN, ssShift);
    EXPECT_EQ(log, (std::vector<std::string>{"cancel", "cancel"}));
    log.clear();

    // Without Default, Enter from elsewhere clicks nothing; disabled buttons take nothing.
    ok->SetDefault(false);
    Plain->SetFocus();
    Plain->HandleKeyDown(VK_RETURN, 0);
    cancel->SetEnabled(false);
    Plain->HandleKeyDown(VK_ESCAPE, 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(ButtonTest, ClickHandsModalResultToTheForm)
{
    TdxButton *yes = NewButton(0);
    TdxButton *none = NewButton(100);
    yes->SetModalResult(mrYes);
    yes->HandleMouseDown(mbLeft, ssLeft, 5, 5);
    yes->HandleMouseUp(mbLeft, 0, 5, 5);
    EXPECT_EQ(Form.ModalResult(), mrYes);
    EXPECT_EQ(Clicks, 1);
    none->HandleMouseDown(mbLeft, ssLeft, 5, 5);
    none->HandleMouseUp(mbLeft, 0, 5, 5);
    EXPECT_EQ(Form.ModalResult(), mrNone);
    EXPECT_EQ(Clicks, 2);

    // A quick second press is one more click, not a double click.
    int doubles = 0;
    none->OnDblClick = [&](TObject *) { ++doubles; };
    none->HandleMouseDown(mbLeft, ssLeft, 5, 5, true);
    none->HandleMouseUp(mbLeft, 0, 5, 5);
    EXPECT_EQ(Clicks, 3);
    EXPECT_EQ(doubles, 0);
    // A right button neither presses nor clicks.
    none->HandleMouseDown(mbRight, ssRight, 5, 5);
    EXPECT_FALSE(none->State() & dxPressed);
    none->HandleMouseUp(mbRight, 0, 5, 5);
    EXPECT_EQ(Clicks, 3);
}

TEST_F(ButtonTest, ReleaseOverAnotherGradientControlMakesItHot)
{
    TdxButton *a = NewButton(0);
    TdxButton *b = NewButton(100);
    int entered = 0;
    b->OnMouseEnter = [&](TObject *Sender) { entered += Sender == b; };
    a->HandleMouseEnter();
    a->HandleMouseDown(mbLeft, ssLeft, 5, 5);
    a->HandleMouseLeave();
    PointerAt(b, 10, 10);
    EXPECT_FALSE(b->State() & dxHot);
    a->HandleMouseUp(mbLeft, 0, 110, 10);
    EXPECT_TRUE(b->State() & dxHot);
    EXPECT_EQ(entered, 1);
    EXPECT_FALSE(a->State() & dxPressed);
    EXPECT_EQ(Clicks, 0);
}

TEST_F(ButtonTest, AcceleratorClicksAFocusedButtonOrAnyWithAlt)
{
    TdxButton *b = NewButton();
    b->SetCaption("&Odustani");
    Plain->SetFocus();
    Plain->HandleKeyPress('o');
    EXPECT_EQ(Clicks, 0);
    Plain->HandleKeyPress('o', ssAlt);
    EXPECT_EQ(Clicks, 1);
    b->SetFocus();
    b->HandleKeyPress('O');
    EXPECT_EQ(Clicks, 2);
    b->HandleKeyPress('d');
    EXPECT_EQ(Clicks, 2);
}

namespace {
struct TRecordedDialogs : TDialogs {
    std::vector<std::string> Boxes;
    int MessageBox(const std::string &Text, const std::string &Caption, int Flags) override
    {
        Boxes.push_back(Caption + "|" + Text + "|" + std::to_string(Flags));
        return IDOK;
    }
};
} // namespace

TEST_F(ButtonTest, StyleManagerShowsItsNoticeAndLetsGoOfItsControls)
{
    TRecordedDialogs dialogs;
    TDialogs *previous = SetDialogs(&dialogs);
    const std::string title = Application->Title;
    Application->Title = "REZO3";
    auto *manager = new TdxStyleManager(nullptr);
    SetDialogs(previous);
    Application->Title = title;
    ASSERT_EQ(dialogs.Boxes.size(), 1u);
    EXPECT_EQ(dialogs.Boxes[0], "REZO3|The \"TdxStyleManager\" component is currently in beta "
                                "state and has no functionality yet!|" +
                                    std::to_string(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(manager->Version(), "1.0.0");

    TdxButton *a = NewButton(0);
    TdxButton *b = NewButton(100);
    a->SetStyleManager(manager);
    b->SetStyleManager(manager);
    a->SetStyleManager(manager);
    EXPECT_EQ(manager->Controls(), (std::vector<TdxCustomControl *>{a, b}));
    manager->SetTheme(OfficeXP);
    EXPECT_EQ(a->ControlTheme(), OfficeXP);
    delete b;
    EXPECT_EQ(manager->Controls(), (std::vector<TdxCustomControl *>{a}));
    delete manager;
    EXPECT_EQ(a->StyleManager(), nullptr);
    EXPECT_EQ(a->ControlTheme(), WindowsXP);
}

TEST_F(ButtonTest, ActionImageReplacesTheGlyphWhileTheIndexIsInItsList)
{
    TdxButton *b = NewButton(0, 121, 41);
    Solid(b);
    auto solidGlyph = [](TColor Colour) {
        auto glyph = std::make_unique<TBitmap>();
        glyph->SetSize(16, 16);
        glyph->Canvas()->Brush()->SetColor(Colour);
        glyph->Canvas()->FillRect(Rect(0, 0, 16, 16));
        glyph->Canvas()->SetPixels(0, 15, clFuchsia); // the transparent colour
        return glyph;
    };
    b->SetGlyph(solidGlyph(clRed).get());
    auto *images = new TImageList(&Form);
    images->Add(solidGlyph(clLime).get());
    auto *list = new TActionList(&Form);
    list->SetImages(images);
    auto *action = new TAction(&Form);
    action->SetActionList(list);
    action->SetCaption("Load");
    action->SetImageIndex(0);
    int executed = 0;
    action->OnExecute = [&](TObject *) { ++executed; };
    auto shows = [&](TColor Colour) {
        b->Repaint();
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x)
                if (b->Canvas()->Pixels(x, y) == Colour)
                    return true;
        return false;
    };

    b->OnClick = nullptr;
    b->SetAction(action);
    EXPECT_STREQ(b->ActionLink()->ClassName(), "TdxButtonActionLink");
    EXPECT_EQ(b->Caption(), "Load");
    EXPECT_EQ(b->ImageIndex(), 0);
    EXPECT_TRUE(shows(clLime));
    EXPECT_FALSE(shows(clRed));
    b->Click();
    EXPECT_EQ(executed, 1);

    // An index beyond the list falls back to the button's own glyph.
    action->SetImageIndex(3);
    EXPECT_EQ(b->ImageIndex(), 3);
    EXPECT_TRUE(shows(clRed));
    images->Clear();
    EXPECT_EQ(b->ImageIndex(), -1);
    EXPECT_TRUE(shows(clRed));

    action->SetEnabled(false);
    EXPECT_FALSE(b->Enabled());
    delete action;
    EXPECT_EQ(b->Action(), nullptr);
    EXPECT_EQ(b->ActionLink(), nullptr);
    delete images;
    EXPECT_EQ(list->Images(), nullptr);
}

TEST(ButtonLink, TakesOnlyGradientButtons)
{
    TdxButtonActionLink link;
    TPlain plain(nullptr);
    EXPECT_THROW(link.AssignClient(&plain), EInvalidCast);
}

TEST_F(ButtonTest, LayoutPutsTheGlyphBesideAboveOrBelowTheCaption)
{
    TdxButton *b = NewButton(0, 145, 81);
    Solid(b);
    b->SetCaption("Snimi");
    b->Font()->SetColor(clBlack);
    TBitmap glyph;
    glyph.SetSize(16, 16);
    glyph.Canvas()->Brush()->SetColor(clLime);
    glyph.Canvas()->FillRect(Rect(0, 0, 16, 16));
    glyph.Canvas()->SetPixels(0, 15, clFuchsia);
    b->SetGlyph(&glyph);
    auto bounds = [&](TColor Colour) {
        b->Repaint();
        TRect r{b->Width(), b->Height(), 0, 0};
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x)
                if (b->Canvas()->Pixels(x, y) == Colour) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r;
    };
    TRect g = bounds(clLime), t = bounds(clBlack);
    EXPECT_LE(g.Right + 3, t.Left);
    EXPECT_NEAR(g.Left, b->Width() - t.Right, 3); // the group is centred
    b->SetLayout(blGlyphRight);
    g = bounds(clLime), t = bounds(clBlack);
    EXPECT_LE(t.Right + 3, g.Left);
    EXPECT_NEAR(t.Left, b->Width() - g.Right, 3);
    b->SetLayout(blGlyphTop);
    g = bounds(clLime), t = bounds(clBlack);
    EXPECT_LE(g.Bottom + 3, t.Top);
    EXPECT_EQ(g.Left, (145 - 16) / 2);
    b->SetLayout(blGlyphBottom);
    g = bounds(clLime), t = bounds(clBlack);
    EXPECT_LE(t.Bottom + 3, g.Top);

    // An empty caption still centres the glyph, beside a blank.
    b->SetLayout(blGlyphLeft);
    b->SetCaption("");
    g = bounds(clLime);
    EXPECT_EQ(g.Top, (81 - 16) / 2);
    EXPECT_NEAR(b->Width() - g.Right - g.Left, b->Spacing() + b->Canvas()->TextWidth(" "), 1);
}
