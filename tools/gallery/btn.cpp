// The gradient push buttons of the console and the viewer, each in its
// normal, hot, focused, pressed and disabled look; and their glyphs enlarged
// four times: as drawn, on an enabled and on a disabled button.
#include "Gallery.h"

#include "ButtonGlyphs.h"
#include "ControlLooks.h"
#include "Forms.h"
#include "dxButton.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

struct TButtonLook {
    const char *Window;
    const char *Name;
    const char *Caption;
    int Width;
    int Height;
    std::optional<TButtonGlyph> Glyph;
    std::function<void(TdxButton *)> Setup;
};

using logbridge::Acquisition;
using logbridge::Pale;
using logbridge::VerdanaBold;

const std::vector<TButtonLook> &Buttons()
{
    static const std::vector<TButtonLook> buttons = {
        {"console", "dxButton1", "Osvezi komunikaciju", 113, 41, TButtonGlyph::Refresh,
         [](TdxButton *b) {
             b->SetColor(clActiveBorder);
             b->SetParentColor(false);
             VerdanaBold(b, clBlack);
             b->Colors()->SetBackgroundFrom(0xCACBCA);
             b->Colors()->SetBackgroundTo(clSilver);
             b->SetQuality(bqHigh);
         }},
        {"console", "dxButton2", "Procitaj sve parametre", 145, 41, TButtonGlyph::ReadAll,
         [](TdxButton *b) {
             Pale(b);
             b->Colors()->SetBorderEdges(clScrollBar);
             b->SetQuality(bqHigh);
         }},
        {"console", "dxButton3", "PROCITAJ (F3)", 153, 41, TButtonGlyph::Download,
         [](TdxButton *b) {
             Pale(b);
             b->Colors()->SetBorderEdges(clScrollBar);
         }},
        {"console", "dxButton4", "OBRISI", 145, 41, TButtonGlyph::Erase, Pale},
        {"console", "dxButton5", "Ucitaj BIN", 121, 41, TButtonGlyph::LoadImage, Pale},
        {"console", "dxButton6", "Snimi BIN", 121, 41, TButtonGlyph::SaveImage, Pale},
        {"console", "dxButton7", "Export DTS", 121, 41, TButtonGlyph::ExportRecording, Pale},
        {"console", "dxButton8", "    Sinhronizuj CASOVNIK PC => ORVA", 313, 41,
         TButtonGlyph::ClockSync,
         [](TdxButton *b) {
             Pale(b);
             b->Colors()->SetHighlightFrom(clNavy);
             b->Colors()->SetHighlightTo(clNavy);
         }},
        {"console", "dxButton9", "Pokreni akviziciju", 97, 41, TButtonGlyph::StartAcquisition,
         [](TdxButton *b) { Acquisition(b, clGreen); }},
        {"console", "dxButton10", "Zaustavi akviziciju", 97, 41, TButtonGlyph::StopAcquisition,
         [](TdxButton *b) { Acquisition(b, clMaroon); }},
        {"console", "dxButton11", "Export RTF", 121, 41, TButtonGlyph::ExportRtf,
         [](TdxButton *b) {
             b->Colors()->SetBackgroundFrom(0xD7D6D5);
             b->Colors()->SetBackgroundTo(0xD7D6D5);
         }},
        {"console", "dxButton12", "Prikazi Grafik", 121, 41, std::nullopt, [](TdxButton *) {}},
        {"console", "dxButton13", "     Snimi podesavanja", 137, 41, TButtonGlyph::SaveSettings,
         [](TdxButton *b) {
             Pale(b);
             b->Colors()->SetBorderEdges(clScrollBar);
         }},
        {"console", "dxButton14", "Pronadji uredjaj", 113, 41, TButtonGlyph::FindDevice,
         [](TdxButton *b) {
             VerdanaBold(b, clWindowText);
             b->Colors()->SetBackgroundFrom(clMenu);
             b->Colors()->SetBackgroundTo(0xD0D8DF);
             b->SetSpacing(6);
         }},
        {"viewer", "dxButton1", "Load DTS", 113, 41, TButtonGlyph::Load,
         [](TdxButton *b) {
             b->Colors()->SetBackgroundFrom(0xDFDFDF);
             b->SetQuality(bqHigh);
         }},
        {"viewer", "dxButton2", "Print", 113, 41, TButtonGlyph::Print,
         [](TdxButton *b) { b->Colors()->SetBackgroundFrom(0xDFDFDF); }},
        {"viewer", "dxButton3", "Zoom -", 65, 25, std::nullopt, [](TdxButton *) {}},
        {"viewer", "dxButton4", "Normal", 65, 25, std::nullopt, [](TdxButton *) {}},
        {"viewer", "dxButton5", "Zoom +", 65, 25, std::nullopt, [](TdxButton *) {}},
        {"viewer", "dxButton6", "Refresh", 65, 17, std::nullopt, [](TdxButton *) {}},
    };
    return buttons;
}

enum TLook { Normal, Hot, Focused, Pressed, Disabled };
const char *const LookNames[] = {"normal", "hot", "focused", "pressed", "disabled"};

// The button on its own form in one look, painted into Canvas at (X, Y).
void PaintLook(const TButtonLook &Look, TLook State, TCanvas *Canvas, int X, int Y)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, Look.Width + 20, Look.Height + 20);
    auto *button = new TdxButton(&form);
    button->SetParent(&form);
    button->SetCursor(crHandPoint);
    button->SetBounds(10, 10, Look.Width, Look.Height);
    button->SetCaption(Look.Caption);
    if (Look.Glyph)
        PaintButtonGlyph(button->Glyph(), *Look.Glyph);
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
            PaintLook(look, static_cast<TLook>(state), c, x, labelHeight + margin);
        }
        Save(std::string(look.Window) + "-" + look.Name, sheet.Image());
    }
    qInstallMessageHandler(PreviousHandler);
}

GALLERY_PAGE(glyphs)
{
    const std::pair<TButtonGlyph, const char *> glyphs[] = {
        {TButtonGlyph::Load, "Load"},
        {TButtonGlyph::Print, "Print"},
        {TButtonGlyph::Refresh, "Refresh"},
        {TButtonGlyph::ReadAll, "ReadAll"},
        {TButtonGlyph::Download, "Download"},
        {TButtonGlyph::Erase, "Erase"},
        {TButtonGlyph::LoadImage, "LoadImage"},
        {TButtonGlyph::SaveImage, "SaveImage"},
        {TButtonGlyph::ExportRecording, "ExportRecording"},
        {TButtonGlyph::ClockSync, "ClockSync"},
        {TButtonGlyph::StartAcquisition, "StartAcquisition"},
        {TButtonGlyph::StopAcquisition, "StopAcquisition"},
        {TButtonGlyph::ExportRtf, "ExportRtf"},
        {TButtonGlyph::SaveSettings, "SaveSettings"},
        {TButtonGlyph::FindDevice, "FindDevice"},
    };
    const int zoom = 4, margin = 8, labelHeight = 14, perSheet = 5;
    const int buttonW = 44, buttonH = 40, rowH = labelHeight + zoom * buttonH + margin;
    const int count = static_cast<int>(std::size(glyphs));
    for (int first = 0; first < count; first += perSheet) {
        TBitmap sheet;
        sheet.SetPixelFormat(pf24bit);
        sheet.SetSize(4 * margin + zoom * (32 + 2 * buttonW), margin + perSheet * rowH);
        TCanvas *c = sheet.Canvas();
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, sheet.Width(), sheet.Height()));
        c->Font()->SetHeight(-11);
        for (int i = first; i < std::min(first + perSheet, count); ++i) {
            const int y = margin + (i - first) * rowH;
            c->Brush()->SetStyle(bsClear);
            c->TextOut(margin, y, glyphs[i].second);
            TBitmap glyph;
            PaintButtonGlyph(&glyph, glyphs[i].first);
            int x = margin;
            c->StretchDraw(Bounds(x, y + labelHeight, zoom * 32, zoom * 32), &glyph);
            x += zoom * 32 + margin;
            for (TLook state : {Normal, Disabled}) {
                TBitmap button;
                button.SetPixelFormat(pf24bit);
                button.SetSize(buttonW, buttonH);
                const TButtonLook look{"", "", "", buttonW, buttonH, glyphs[i].first,
                                       [](TdxButton *) {}};
                PaintLook(look, state, button.Canvas(), 0, 0);
                c->StretchDraw(Bounds(x, y + labelHeight, zoom * buttonW, zoom * buttonH), &button);
                x += zoom * buttonW + margin;
            }
        }
        Save(std::to_string(first / perSheet + 1), sheet.Image());
    }
}
