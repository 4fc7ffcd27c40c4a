// The gradient push buttons of the console and the viewer, taken from the
// two windows as they build them, each in its normal, hot, focused,
// pressed and disabled look.
#include "Gallery.h"

#include "Forms.h"
#include "MainForm.h"
#include "PlotviewForm.h"
#include "dxButton.h"

#include <QtGlobal>

#include <memory>
#include <string>
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
    case Disabled:
        break;
    case Hot:
        Button->HandleMouseEnter();
        break;
    case Focused:
        Button->SetFocus();
        break;
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
