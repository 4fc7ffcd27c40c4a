// The gradient push buttons of the console and the viewer, taken from the
// two windows as they build them, each in its normal, hot, focused,
// pressed and disabled look; and every button glyph enlarged, as drawn
// and on a button, enabled and disabled.
#include "Gallery.h"

#include "ButtonGlyphs.h"
#include "Forms.h"
#include "MainForm.h"
#include "PlotviewForm.h"
#include "dxButton.h"

#include <QtGlobal>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

enum TLook { Normal, Hot, Focused, Pressed, Disabled };
const char *const LookNames[] = {"normal", "hot", "focused", "pressed", "disabled"};

// The button in one look, painted into Canvas at (X, Y); the button is
// left as it was.
void PaintLook(TdxButton *Button, TLook State, TCanvas *Canvas, int X, int Y)
{
    const bool enabled = Button->Enabled();
    Button->SetEnabled(State != Disabled);
    switch (State) {
    case Normal:
    case Disabled: break;
    case Hot: Button->HandleMouseEnter(); break;
    case Focused: Button->SetFocus(); break;
    case Pressed:
        Button->HandleMouseEnter();
        Button->HandleMouseDown(mbLeft, ssLeft, Button->Width() / 2, Button->Height() / 2);
        break;
    }
    Button->PaintTo(Canvas, X, Y);
    if (State == Pressed) // released away from the button: no click
        Button->HandleMouseUp(mbLeft, 0, -100, -100);
    Button->HandleMouseLeave();
    if (TCustomForm *form = GetParentForm(Button))
        form->SetActiveControl(nullptr);
    Button->SetEnabled(enabled);
}

void SaveButtons(const TGallerySave &Save, const std::string &Window, TCustomForm &Form)
{
    const int margin = 8, labelHeight = 14;
    for (TComponent *component : Form.Components()) {
        auto *button = dynamic_cast<TdxButton *>(component);
        if (!button)
            continue;
        TBitmap sheet;
        sheet.SetPixelFormat(pf24bit);
        const int cell = button->Width() + margin;
        sheet.SetSize(margin + 5 * cell, labelHeight + button->Height() + 2 * margin);
        TCanvas *c = sheet.Canvas();
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, sheet.Width(), sheet.Height()));
        c->Font()->SetHeight(-9);
        for (int state = Normal; state <= Disabled; ++state) {
            const int x = margin + state * cell;
            c->TextOut(x, 2, LookNames[state]);
            PaintLook(button, static_cast<TLook>(state), c, x, labelHeight + margin);
        }
        Save(Window + "-" + button->Name(), sheet.Image());
    }
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
    {
        logbridge::TForm1 console(nullptr);
        console.SetVisible(true);
        SaveButtons(Save, "console", console);
    }
    {
        plotview::TForm1 viewer(nullptr);
        viewer.SetVisible(true);
        SaveButtons(Save, "viewer", viewer);
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
    TForm form(nullptr);
    form.SetBounds(0, 0, buttonW + 20, buttonH + 20);
    auto *button = new TdxButton(&form);
    button->SetParent(&form);
    button->SetBounds(10, 10, buttonW, buttonH);
    form.SetVisible(true);
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
            button->SetGlyph(&glyph);
            int x = margin;
            c->StretchDraw(Bounds(x, y + labelHeight, zoom * 32, zoom * 32), &glyph);
            x += zoom * 32 + margin;
            for (TLook state : {Normal, Disabled}) {
                TBitmap face;
                face.SetPixelFormat(pf24bit);
                face.SetSize(buttonW, buttonH);
                PaintLook(button, state, face.Canvas(), 0, 0);
                c->StretchDraw(Bounds(x, y + labelHeight, zoom * buttonW, zoom * buttonH), &face);
                x += zoom * buttonW + margin;
            }
        }
        Save(std::to_string(first / perSheet + 1), sheet.Image());
    }
}
