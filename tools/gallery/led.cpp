// The shaped LED: the console's two lamps, every outline with rings, the
// substances and the halo.
#include "Gallery.h"

#include "Forms.h"
#include "IAgaloLED.h"

#include <memory>

namespace {

constexpr int Zoom = 4;

struct TSheet {
    std::unique_ptr<TForm> Form;

    TSheet(int Width, int Height, TColor Color = clBtnFace) : Form(std::make_unique<TForm>(nullptr))
    {
        Form->SetBounds(0, 0, Width, Height);
        Form->SetColor(Color);
    }

    // A lamp placed as a window resource places it: position and size first,
    // then the lamp's own properties in their declared order.
    TIAgaloLED *Lamp(int Left, int Top)
    {
        auto *led = new TIAgaloLED(Form.get());
        led->SetParent(Form.get());
        led->SetLeft(Left);
        led->SetTop(Top);
        return led;
    }

    QImage Picture()
    {
        TBitmap shot;
        shot.SetPixelFormat(pf24bit);
        shot.SetSize(Form->Width(), Form->Height());
        // The first paint lays out the glows over the parent; the second shows them.
        Form->PaintTo(shot.Canvas(), 0, 0);
        Form->PaintTo(shot.Canvas(), 0, 0);
        return shot.Image().copy();
    }

    void Save(const TGallerySave &Save, const std::string &Name)
    {
        QImage picture = Picture();
        Save(Name, picture);
        Save(Name + "-x4", picture.scaled(picture.size() * Zoom));
    }
};

// IAgaloLED1: the link lamp, a 20 x 10 lamp in the 24 x 14 window it is built with.
TIAgaloLED *LinkLamp(TSheet &Sheet, int Left, int Top, TColor Color, bool On)
{
    TIAgaloLED *led = Sheet.Lamp(Left, Top);
    led->BeginLoading();
    led->SetLedPlasticColor(Color);
    led->SetLedOn(On);
    led->SetLedWidth(20);
    led->SetLedHeight(10);
    led->EndLoading();
    return led;
}

// IAgaloLED2: the poll lamp, window 41 x 9 with a 37 x 5 lamp.
TIAgaloLED *PollLamp(TSheet &Sheet, int Left, int Top, TColor Color, bool On)
{
    TIAgaloLED *led = Sheet.Lamp(Left, Top);
    led->BeginLoading();
    led->SetWidth(41);
    led->SetHeight(9);
    led->SetLedPlasticColor(Color);
    led->SetLedOn(On);
    led->SetLedWidth(37);
    led->SetLedHeight(5);
    led->EndLoading();
    return led;
}

std::unique_ptr<TBitmap> Checks(int Size, TColor A, TColor B)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(Size, Size);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x)
            b->Canvas()->SetPixels(x, y, ((x * 2 / Size) + (y * 2 / Size)) % 2 ? A : B);
    return b;
}

} // namespace

GALLERY_PAGE(led)
{
    {
        // Columns: IAgaloLED1 unlit, lit; IAgaloLED2 unlit, lit. Rows: lime, red, aqua.
        TSheet sheet(160, 78);
        int top = 6;
        for (TColor color : {clLime, clRed, clAqua}) {
            LinkLamp(sheet, 6, top, color, false);
            LinkLamp(sheet, 36, top, color, true);
            PollLamp(sheet, 66, top + 2, color, false);
            PollLamp(sheet, 113, top + 2, color, true);
            top += 24;
        }
        sheet.Save(Save, "console");
    }
    {
        // Each outline with a gap, a raised inner and a sunken outer ring, at 0 and 45 degrees.
        TSheet sheet(6 * 62 + 8, 2 * 62 + 8);
        const TColor colors[] = {clRed, clLime, clAqua, clYellow, clFuchsia, 0x0080FF};
        for (int angle : {0, 450})
            for (int cls = ialcRect; cls <= ialcTrapezium; ++cls) {
                TIAgaloLED *led = sheet.Lamp(8 + cls * 62, angle ? 70 : 8);
                led->SetLedClass(TIALedClass(cls));
                led->SetGap(2);
                led->SetGapColor(clBlack);
                led->SetInnerBorderStyle(iablsUp);
                led->SetInnerBorderDepth(2);
                led->SetAngle(angle);
                led->SetLedPlasticColor(colors[cls]);
                led->SetLedOn(cls % 2 == 0);
                led->SetLedWidth(30);
                led->SetLedHeight(24);
            }
        sheet.Save(Save, "outlines");
    }
    {
        // Substances: a tiled and a stretched plastic, rings tiled and stretched.
        TSheet sheet(4 * 60 + 8, 60);
        auto plastic = Checks(6, clWhite, clSilver);
        auto border = Checks(16, 0x2060A0, 0x4090D0);
        for (int i = 0; i < 4; ++i) {
            TIAgaloLED *led = sheet.Lamp(8 + i * 60, 8);
            led->SetLedPlasticSubsMode(i % 2 ? iasmStretch : iasmTile);
            led->SetBorderSubsMode(i / 2 ? iasmStretch : iasmTile);
            led->SetLedPlasticSubstance(plastic.get());
            led->SetBorderSubstance(border.get());
            led->SetLedClass(i < 2 ? ialcRound : ialcRomb);
            led->SetGap(3);
            led->SetInnerBorderStyle(iablsUp);
            led->SetInnerBorderDepth(3);
            led->SetOuterBorderDepth(3);
            led->SetLedOn(true);
            led->SetLedWidth(30);
            led->SetLedHeight(30);
        }
        sheet.Save(Save, "substances");
    }
    for (TColor background : {clBlack, clBtnFace}) {
        // The halo at intensity 5 and 10, and on an unlit lamp (no glow).
        TSheet sheet(3 * 70 + 10, 70, background);
        for (int i = 0; i < 3; ++i) {
            TIAgaloLED *led = sheet.Lamp(25 + i * 70, 25);
            led->SetLedClass(ialcRound);
            led->SetLedPlasticColor(i == 1 ? clAqua : clRed);
            led->SetGaloIntensity(i == 1 ? 10 : 5);
            led->SetGaloSize(15);
            led->SetGaloON(true);
            led->SetLedOn(i < 2);
            led->SetLedWidth(16);
            led->SetLedHeight(16);
        }
        sheet.Save(Save, background == clBlack ? "halo-dark" : "halo-light");
    }
}
