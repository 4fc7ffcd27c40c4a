#pragma once
// A two-state lamp with an optional one-line caption, drawn from a two-frame
// bitmap (left half off, right half on). The built-in bitmaps are recoloured
// into the palette's colours: maroon becomes Low, red becomes High.

#include "DSClasses.h"
#include "DSControls.h"
#include "DSTools.h"

enum TDSSimpleLedType { tltRounded, tltRectangle, tltLargeRect };
enum TDSSimpleLedDrawStyle { tdsDesign, tdsCustom };

class TDSIndicators : public TDSGraphicImageControl {
public:
    explicit TDSIndicators(TComponent *AOwner);
    ~TDSIndicators() override;
    const char *ClassName() const override { return "TDSIndicators"; }

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TDSSimpleLedType LedType() const { return FLedType; }
    void SetLedType(TDSSimpleLedType Value);
    TDSSimpleLedDrawStyle DrawStyle() const { return FDrawStyle; }
    void SetDrawStyle(TDSSimpleLedDrawStyle Value);
    TDSImageTextLayout Layout() const { return FLayout; }
    void SetLayout(TDSImageTextLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    // The owned palette; setting one copies its colours.
    TDSGraphPal *GraphPal() const { return FGraphPal; }
    void SetGraphPal(const TDSGraphPal *Value);
    // The user's two-frame bitmap for tdsCustom; setting one copies it.
    TBitmap *Glyphs() const { return FGlyphs; }
    void SetGlyphs(const TBitmap *Value);

    // Raised when Active changes.
    TNotifyEvent OnChange;

    // The two-frame bitmap in use, and where the last paint put the lamp
    // and the caption.
    const TBitmap *Image() const { return FImage; }
    const TRect &GlyphRect() const { return FGlyphRect; }
    const TRect &TextRect() const { return FTextRect; }

    void CMTextChanged() override;

protected:
    void Paint() override;
    // Takes Glyphs as it is (tdsCustom) or the built-in bitmap of LedType
    // recoloured by the palette (tdsDesign).
    virtual void LoadGlyphs();
    virtual void DoChange();

private:
    TDSSimpleLedType FLedType = tltRounded;
    TDSGraphPal *FGraphPal;
    bool FActive = false;
    int FSpacing = 5;
    int FMargin = -1;
    TDSImageTextLayout FLayout = tImageLeft;
    TBitmap *FGlyphs;
    TDSSimpleLedDrawStyle FDrawStyle = tdsDesign;
    TBitmap *FImage;
    TRect FGlyphRect;
    TRect FTextRect;
};

class TDSSimpleLed : public TDSIndicators, public TDSAbout {
public:
    using TDSIndicators::TDSIndicators;
    const char *ClassName() const override { return "TDSSimpleLed"; }
};

// The built-in two-frame bitmap for a lamp type ("LI_RND", "LI_RECT",
// "LI_BIG"), before recolouring; an unknown name empties Bitmap.
void LoadLedBitmap(TBitmap *Bitmap, const std::string &Name);
