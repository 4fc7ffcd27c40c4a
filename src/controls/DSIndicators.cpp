#include "DSIndicators.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// The built-in bitmaps, one letter a pixel, row 0 at the top.
struct TLedPicture {
    const char *Name;
    std::vector<const char *> Rows;
};

const TLedPicture LedPictures[] = {
    {"LI_RND",
     {"KKKKKKKKKKKKKKKKKK", "KKKKKKKKKKKKKKKKKK", "KKKSSMKKKKKKSSRKKK", "KKSMMMMKKKKSRRRRKK",
      "KKMMMMMKKKKRRRRRKK", "KKMMMMMKKKKRRRRRKK", "KKKMMMKKKKKKRRRKKK", "KKKKKKKKKKKKKKKKKK",
      "KKKKKKKKKKKKKKKKKK"}},
    {"LI_RECT",
     {"KKKKKKKKKKKKKKKKKKKK", "KGGGGGGGGKKSSSSSSSSK", "KGMMMMMMMKKSRRRRRRRK",
      "KMMMMMMMMKKRRRRRRRRK", "KKKKKKKKKKKKKKKKKKKK"}},
    {"LI_BIG",
     {"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", "WKKKKKKKKKKKKKKKWWKKKKKKKKKKKKKKKW",
      "WKMMMMMMMMMMMMMKWWKRRRRRRRRRRRRRKW", "WKMMMMMMMMMMMMMKWWKRRRRRRRRRRRRRKW",
      "WKMMMMMMMMMMMMMKWWKRRRRRRRRRRRRRKW", "WKKKKKKKKKKKKKKKWWKKKKKKKKKKKKKKKW",
      "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"}},
};

TColor LetterColor(char Letter)
{
    switch (Letter) {
    case 'M': return clMaroon;
    case 'R': return clRed;
    case 'S': return clSilver;
    case 'G': return clGray;
    case 'W': return clWhite;
    default: return clBlack;
    }
}

const char *const LedTypeNames[] = {"RND", "RECT", "BIG"};

} // namespace

void LoadLedBitmap(TBitmap *Bitmap, const std::string &Name)
{
    Bitmap->SetPixelFormat(pf4bit);
    for (const TLedPicture &picture : LedPictures) {
        if (Name != picture.Name)
            continue;
        const int w = static_cast<int>(std::strlen(picture.Rows[0]));
        const int h = static_cast<int>(picture.Rows.size());
        Bitmap->SetSize(w, h);
        for (int y = 0; y < h; ++y) {
            uint8_t *row = Bitmap->ScanLine(y);
            for (int x = 0; x < w; ++x) {
                TColor c = LetterColor(picture.Rows[y][x]);
                row[3 * x] = GetBValue(c);
                row[3 * x + 1] = GetGValue(c);
                row[3 * x + 2] = GetRValue(c);
            }
        }
        Bitmap->Changed();
        return;
    }
    Bitmap->Assign(nullptr);
}

TDSIndicators::TDSIndicators(TComponent *AOwner)
    : TDSGraphicImageControl(AOwner), FGraphPal(new TDSGraphPal), FGlyphs(new TBitmap),
      FImage(new TBitmap)
{
    SetControlStyle((ControlStyle() | csClickEvents | csOpaque | csReplicatable) &
                    ~(csSetCaption | csDoubleClicks));
    SetBounds(Left(), Top(), 25, 25);
    SetParentColor(false);
    SetColor(clBlack);
    Font()->SetColor(clWhite);
    FGraphPal->SetLow(clMaroon);
    FGraphPal->SetHigh(clRed);
    auto reload = [this](TObject *) {
        LoadGlyphs();
        Changed();
    };
    FGraphPal->OnChange = reload;
    FGlyphs->OnChange = reload;
    LoadGlyphs();
}

TDSIndicators::~TDSIndicators()
{
    delete FGraphPal;
    delete FGlyphs;
    delete FImage;
}

void TDSIndicators::SetActive(bool Value)
{
    if (!StoreIfChanged(FActive, Value))
        return;
    Changed();
    DoChange();
}

void TDSIndicators::SetLedType(TDSSimpleLedType Value)
{
    if (!StoreIfChanged(FLedType, Value))
        return;
    LoadGlyphs();
    Changed();
}

void TDSIndicators::SetDrawStyle(TDSSimpleLedDrawStyle Value)
{
    if (!StoreIfChanged(FDrawStyle, Value))
        return;
    LoadGlyphs();
    Changed();
}

void TDSIndicators::SetLayout(TDSImageTextLayout Value)
{
    if (StoreIfChanged(FLayout, Value))
        Changed();
}

void TDSIndicators::SetMargin(int Value)
{
    if (StoreIfChanged(FMargin, Value))
        Changed();
}

void TDSIndicators::SetSpacing(int Value)
{
    if (StoreIfChanged(FSpacing, Value))
        Changed();
}

void TDSIndicators::SetGraphPal(const TDSGraphPal *Value)
{
    FGraphPal->Assign(Value);
}

void TDSIndicators::SetGlyphs(const TBitmap *Value)
{
    FGlyphs->Assign(Value);
}

void TDSIndicators::CMTextChanged()
{
    TDSGraphicImageControl::CMTextChanged();
    Changed();
}

void TDSIndicators::DoChange()
{
    if (OnChange)
        OnChange(this);
}

void TDSIndicators::LoadGlyphs()
{
    if (FDrawStyle == tdsCustom) {
        FImage->Assign(FGlyphs);
        return;
    }
    LoadLedBitmap(FImage, std::string("LI_") + LedTypeNames[FLedType]);
    FGraphPal->Recolor(FImage, clMaroon, clRed);
}

void TDSIndicators::Paint()
{
    PrepareBuffer();

    Canvas()->Font()->Assign(Font());
    const TPoint glyphSize{FImage->Width() / 2, FImage->Height()};
    TPoint glyphPos;
    CalcGlyphLayout(Canvas(), ClientRect(), Caption(), FLayout, FMargin, FSpacing, glyphSize,
                    glyphPos, FTextRect);
    FGlyphRect = Bounds(glyphPos.X, glyphPos.Y, glyphSize.X, glyphSize.Y);

    const int half = FImage->Width() / 2;
    const TRect frame = Bounds(half * (FActive ? 1 : 0), 0, half, FImage->Height());
    const TColor transparent = FDrawStyle == tdsDesign ? clBlack : Color();
    BufferCanvas()->BrushCopy(FGlyphRect, FImage, frame, transparent);

    BufferCanvas()->Font()->Assign(Font());
    BufferCanvas()->Brush()->SetStyle(bsClear);
    TRect textRect = FTextRect;
    BufferCanvas()->DrawText(Caption(), textRect, DT_SINGLELINE | DT_VCENTER);

    TDSGraphicImageControl::Paint();
}
