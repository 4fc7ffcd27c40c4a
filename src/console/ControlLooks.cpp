#include "ControlLooks.h"

#include "ProgressCyl.h"
#include "dxButton.h"

namespace logbridge {

void VerdanaBold(TControl *Control, TColor Color)
{
    Control->Font()->SetName("Verdana");
    Control->Font()->SetHeight(-9);
    Control->Font()->SetStyle(fsBold);
    Control->Font()->SetColor(Color);
    Control->Font()->SetCharset(ANSI_CHARSET);
}

void Pale(TdxButton *Button)
{
    Button->Colors()->SetBackgroundFrom(0xDFE1E3);
    Button->Colors()->SetBackgroundTo(0xE1E1E1);
}

void Acquisition(TdxButton *Button, TColor Accent)
{
    VerdanaBold(Button, clWindowText);
    Button->Colors()->SetBackgroundFrom(0xE1E1E1);
    Button->Colors()->SetBackgroundTo(0xE1E1E1);
    Button->Colors()->SetFocusedTo(Accent);
    Button->Colors()->SetHighlightFrom(Accent);
    Button->Colors()->SetHighlightTo(Accent);
}

void MemoryUseBar(TProgressCyl *Bar)
{
    Bar->Font()->SetName("Verdana");
    Bar->SetProEffect(demoMetal);
    Bar->SetShowText(true);
    Bar->SetTextDone("100%");
}

} // namespace logbridge
