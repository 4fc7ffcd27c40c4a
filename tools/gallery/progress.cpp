// The cylinder progress bars as the console sets them up, and every preset.
#include "Gallery.h"
#include "ControlLooks.h"
#include "ProgressCyl.h"

#include <cmath>

namespace {

QImage Picture(TProgressCyl &Bar)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(Bar.Width(), Bar.Height());
    Bar.PaintTo(bitmap.Canvas(), 0, 0);
    return bitmap.Image().copy();
}

// Max before Position, as the console writes them.
void ShowPercent(TProgressCyl &Bar, int Max, double Percent)
{
    Bar.SetMax(Max);
    Bar.SetPosition(static_cast<int>(std::lround(Max * Percent / 100)));
}

struct TStage {
    const char *Name;
    double Percent;
};
const TStage Stages[] = {{"0", 0}, {"37", 37}, {"99.9", 99.9}, {"100", 100}};

} // namespace

GALLERY_PAGE(progress)
{
    // The report progress: stored bevel and border settings, then the preset.
    for (const TStage &stage : Stages) {
        TProgressCyl ProgressCyl1(nullptr);
        ProgressCyl1.SetBounds(0, 0, 217, 17);
        ProgressCyl1.SetBevelOuter(bvNone);
        ProgressCyl1.SetBorderWidth(0);
        ProgressCyl1.SetFontShadowColor(clBlack);
        ProgressCyl1.SetProEffect(peGlassBlue);
        ShowPercent(ProgressCyl1, 1000, stage.Percent);
        Save(std::string("ProgressCyl1-") + stage.Name, Picture(ProgressCyl1));
    }
    // The memory use: the preset switches the text off, the stored ShowText
    // after it switches it on again.
    for (const TStage &stage : Stages) {
        TProgressCyl ProgressCyl2(nullptr);
        ProgressCyl2.SetBounds(0, 0, 217, 22);
        logbridge::MemoryUseBar(&ProgressCyl2);
        ShowPercent(ProgressCyl2, 65535, stage.Percent);
        Save(std::string("ProgressCyl2-") + stage.Name, Picture(ProgressCyl2));
    }
    for (int effect = 0; effect < ProEffectCount; ++effect) {
        if (effect == peCustom)
            continue;
        TProgressCyl bar(nullptr);
        bar.SetBounds(0, 0, 217, 22);
        bar.SetProEffect(static_cast<TProEffect>(effect));
        bar.SetPosition(60);
        Save(ProEffectName(static_cast<TProEffect>(effect)), Picture(bar));
    }
    // The rotated texts and the upward fill.
    for (TFontOrientation orientation : {foBottomToTop, foTopToBottom}) {
        TProgressCyl bar(nullptr);
        bar.SetBounds(0, 0, 28, 120);
        bar.SetOrientation(pbVertical);
        bar.SetFontOrientation(orientation);
        bar.SetProEffect(peMetalBlue);
        bar.SetPosition(45);
        Save(orientation == foBottomToTop ? "vertical-up" : "vertical-down", Picture(bar));
    }
}
