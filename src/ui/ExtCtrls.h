#pragma once
// The class library's panel, picture and bevel drawing.

#include "Controls.h"
#include "StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// Draws Width rings of a bevel inside R, each one pixel inside the one
// before: top and left edges in TopColor, bottom and right edges in
// BottomColor. R shrinks by the rings drawn, so that it holds what is left
// inside them.
void Frame3D(TCanvas *Canvas, TRect &R, TColor TopColor, TColor BottomColor, int Width);

// A raised (or lowered, or flat) panel with a caption, holding other controls.
class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent *AOwner);
    const char *ClassName() const override { return "TPanel"; }

    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    void Paint() override;

private:
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    TAlignment FAlignment = taCenter;
};

// A picture: drawn at the top left, centred or stretched; where a
// transparent picture or no picture is, the parent shows through.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent *AOwner);
    const char *ClassName() const override { return "TImage"; }

    // The picture; drawing into it or loading it repaints the image.
    TBitmap *Picture() { return &FPicture; }
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Transparent() const { return FPicture.Transparent(); }
    void SetTransparent(bool Value) { FPicture.SetTransparent(Value); }

protected:
    void Paint() override;

private:
    TBitmap FPicture;
    bool FCenter = false;
    bool FStretch = false;
};
