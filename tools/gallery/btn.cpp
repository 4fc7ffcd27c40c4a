// The gradient push buttons of the console and the viewer, each in its
// normal, hot, focused, pressed and disabled look.
#include "Gallery.h"

#include "ControlLooks.h"
#include "Forms.h"
#include "dxButton.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct TButtonLook {
    const char *Window;
    const char *Name;
    const char *Caption;
    int Width;
    int Height;
    bool Glyph;
    std::function<void(TdxButton *)> Setup;
};

// A 32 x 32 picture on a magenta ground, which its bottom-left pixel makes transparent.
void PaintGlyph(TBitmap *Glyph, TColor Ink)
{
    Glyph->SetPixelFormat(pf24bit);
    Glyph->SetSize(32, 32);
    TCanvas *c = Glyph->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, 32, 32));
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(Ink);
    c->Ellipse(3, 3, 29, 29);
    c->Brush()->SetColor(clWhite);
    c->Rectangle(11, 9, 21, 23);
}

using logbridge::Acquisition;
using logbridge::Pale;
using logbridge::VerdanaBold;

const std::vector<TButtonLook> &Buttons()
{
    static const std::vector<TButtonLook> buttons = {
        {"console", "dxButton1", "Osvezi komunikaciju", 113, 41, true,
         [](TdxButton *b) {
             b->SetColor(clActiveBorder);
             b->SetParentColor(false);
             VerdanaBold(b, clBlack);
             b->Colors()->SetBackgroundFrom(0xCACBCA);
             b->Colors()->SetBackgroundTo(clSilver);
             b->SetQuality(bqHigh);
         }},
        {"console", "dxButton2", "Procitaj sve parametre", 145, 41, true,
         [](TdxButton *b) {
             Pale(b);
             b->Colors()->SetBorderEdges(clScrollBar);
             b->SetQuality(bqHigh);
         }},
        {"console", "dxButton3", "PROCITAJ (F3)", 153, 41, true,
         [](TdxButton *b) {
             Pale(b);
             b->Colors()->SetBorderEdges(clScrollBar);
         }},
        {"console", "dxButton4", "OBRISI", 145, 41, true, Pale},
        {"console", "dxButton5", "Ucitaj BIN", 121, 41, true, Pale},
        {"console", "dxButton6", "Snimi BIN", 121, 41, true, Pale},
        {"console", "dxButton7", "Export DTS", 121, 41, true, Pale},
        {"console", "dxButton8", "    Sinhronizuj CASOVNIK PC => ORVA", 313, 41, true,
         [](TdxButton *b) {
             Pale(b);
             b->Colors()->SetHighlightFrom(clNavy);
             b->Colors()->SetHighlightTo(clNavy);
         }},
        {"console", "dxButton9", "Pokreni akviziciju", 97, 41, true,
         [](TdxButton *b) { Acquisition(b, clGreen); }},
        {"console", "dxButton10", "Zaustavi akviziciju", 97, 41, true,
         [](TdxButton *b) { Acquisition(b, clMaroon); }},
        {"console", "dxButton11", "Export RTF", 121, 41, true,
         [](TdxButton *b) {
             b->Colors()->SetBackgroundFrom(0xD7D6D5);
             b->Colors()->SetBackgroundTo(0xD7D6D5);
         }},
        {"console", "dxButton12", "Prikazi Grafik", 121, 41, false, [](TdxButton *) {}},
        {"console", "dxButton13", "     Snimi podesavanja", 137, 41, true,
         [](TdxButton *b) {
             Pale(b);
             b->Colors()->SetBorderEdges(clScrollBar);
         }},
        {"console", "dxButton14", "Pronadji uredjaj", 113, 41, true,
         [](TdxButton *b) {
             VerdanaBold(b, clWindowText);
             b->Colors()->SetBackgroundFrom(clMenu);
             b->Colors()->SetBackgroundTo(0xD0D8DF);
             b->SetSpacing(6);
         }},
        {"viewer", "dxButton1", "Load DTS", 113, 41, true,
         [](TdxButton *b) {
             b->Colors()->SetBackgroundFrom(0xDFDFDF);
             b->SetQuality(bqHigh);
         }},
        {"viewer", "dxButton2", "Print", 113, 41, true,
         [](TdxButton *b) { b->Colors()->SetBackgroundFrom(0xDFDFDF); }},
        {"viewer", "dxButton3", "Zoom -", 65, 25, false, [](TdxButton *) {}},
        {"viewer", "dxButton4", "Normal", 65, 25, false, [](TdxButton *) {}},
        {"viewer", "dxButton5", "Zoom +", 65, 25, false, [](TdxButton *) {}},
        {"viewer", "dxButton6", "Refresh", 65, 17, false, [](TdxButton *) {}},
    };
    return buttons;
}

enum TLook { Normal, Hot, Focused, Pressed, Disabled };
const char *const LookNames[] = {"normal", "hot", "focused", "pressed", "disabled"};

// The button on its own form in one look, painted into Canvas at (X, Y).
void PaintLook(const TButtonLook &Look, TLook State, int Index, TCanvas *Canvas, int X, int Y)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, Look.Width + 20, Look.Height + 20);
    auto *button = new TdxButton(&form);
    button->SetParent(&form);
    button->SetCursor(crHandPoint);
    button->SetBounds(10, 10, Look.Width, Look.Height);
    button->SetCaption(Look.Caption);
    if (Look.Glyph) {
        TBitmap glyph;
        const TColor inks[] = {0x3080E0, 0x20A040, 0xC06020, 0x2020C0};
        PaintGlyph(&glyph, inks[Index % 4]);
        button->SetGlyph(&glyph);
    }
    Look.Setup(button);
    form.SetVisible(true);
    switch (State) {
    case Normal: break;
    case Hot: button->HandleMouseEnter(); break;
    case Focused: button->SetFocus(); break;
    case Pressed:
        button->HandleMouseEnter();
        button->HandleMouseDown(mbLeft, ssLeft, Look.Width / 2, Look.Height / 2);
        break;
    case Disabled: button->SetEnabled(false); break;
    }
    button->PaintTo(Canvas, X, Y);
    button->SetMouseCapture(false);
}

QtMessageHandler PreviousHandler = nullptr;

// The offscreen platform cannot grab the mouse; pressing a button asks it to.
void QuietGrabs(QtMsgType Type, const QMessageLogContext &Context, const QString &Message)
{
    if (!Message.startsWith("This plugin does not support") && PreviousHandler)
        PreviousHandler(Type, Context, Message);
}

} // namespace

GALLERY_PAGE(btn)
{
    PreviousHandler = qInstallMessageHandler(QuietGrabs);
    const int margin = 8, labelHeight = 14;
    int index = 0;
    for (const TButtonLook &look : Buttons()) {
        TBitmap sheet;
        sheet.SetPixelFormat(pf24bit);
        const int cell = look.Width + margin;
        sheet.SetSize(margin + 5 * cell, labelHeight + look.Height + 2 * margin);
        TCanvas *c = sheet.Canvas();
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, sheet.Width(), sheet.Height()));
        c->Font()->SetHeight(-9);
        for (int state = Normal; state <= Disabled; ++state) {
            const int x = margin + state * cell;
            c->TextOut(x, 2, LookNames[state]);
            PaintLook(look, static_cast<TLook>(state), index, c, x, labelHeight + margin);
        }
        Save(std::string(look.Window) + "-" + look.Name, sheet.Image());
        ++index;
    }
    qInstallMessageHandler(PreviousHandler);
}
