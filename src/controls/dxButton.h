#pragma once
// The gradient push button: a rounded face painted from four cached gradient
// bitmaps (background, clicked, focused, highlight), a glyph beside, above
// or below the caption, greyed when disabled, mouse tracking, a press on
// the space key, Enter and Esc as default and cancel button.

#include "ActnList.h"
#include "dxCore.h"

#include <memory>

class TdxButton;

// The button's eleven colours ($00BBGGRR). Changing one rebuilds the
// button's bitmaps and repaints it.
class TdxColors : public TPersistent {
public:
    explicit TdxColors(TdxButton *Owner) : FOwner(Owner) {}
    const char *ClassName() const override { return "TdxColors"; }
    void Assign(const TPersistent *Source) override;

    TColor BackgroundFrom() const { return FBackgroundFrom; }
    TColor BackgroundTo() const { return FBackgroundTo; }
    TColor BorderEdges() const { return FBorderEdges; }
    TColor BorderLine() const { return FBorderLine; }
    TColor ClickedFrom() const { return FClickedFrom; }
    TColor ClickedTo() const { return FClickedTo; }
    TColor FocusedFrom() const { return FFocusedFrom; }
    TColor FocusedTo() const { return FFocusedTo; }
    TColor HighlightFrom() const { return FHighlightFrom; }
    TColor HighlightTo() const { return FHighlightTo; }
    TColor HotTrack() const { return FHotTrack; }

    virtual void SetBackgroundFrom(TColor Value) { Update(FBackgroundFrom, Value); }
    virtual void SetBackgroundTo(TColor Value) { Update(FBackgroundTo, Value); }
    virtual void SetBorderEdges(TColor Value) { Update(FBorderEdges, Value); }
    virtual void SetBorderLine(TColor Value) { Update(FBorderLine, Value); }
    virtual void SetClickedFrom(TColor Value) { Update(FClickedFrom, Value); }
    virtual void SetClickedTo(TColor Value) { Update(FClickedTo, Value); }
    virtual void SetFocusedFrom(TColor Value) { Update(FFocusedFrom, Value); }
    virtual void SetFocusedTo(TColor Value) { Update(FFocusedTo, Value); }
    virtual void SetHighlightFrom(TColor Value) { Update(FHighlightFrom, Value); }
    virtual void SetHighlightTo(TColor Value) { Update(FHighlightTo, Value); }
    virtual void SetHotTrack(TColor Value) { Update(FHotTrack, Value); }

private:
    void Update(TColor &Field, TColor Value);

    TColor FBackgroundFrom = 0xFFFFFF;
    TColor FBackgroundTo = 0xE7EBEF;
    TColor FBorderEdges = 0xC0C0C0;
    TColor FBorderLine = 0x808080;
    TColor FClickedFrom = 0xC6CFD6;
    TColor FClickedTo = 0xEBF3F7;
    TColor FFocusedFrom = 0xFFE7CE;
    TColor FFocusedTo = 0xEF846D;
    TColor FHighlightFrom = 0xCEF3FF;
    TColor FHighlightTo = 0x0096E7;
    TColor FHotTrack = 0x0000FF;
    TdxButton *FOwner;
};

// The button's action link: it carries the action's image index.
class TdxButtonActionLink : public TWinControlActionLink {
public:
    // Repaints the button.
    ~TdxButtonActionLink() override;
    const char *ClassName() const override { return "TdxButtonActionLink"; }
    // AClient must be a TdxButton (EInvalidCast otherwise).
    void AssignClient(TObject *AClient) override;
    bool IsImageIndexLinked() const override { return true; }
    void SetImageIndex(int Value) override;

private:
    TdxButton *FButton = nullptr;
};

enum TdxLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TdxQuality : uint8_t { bqLow, bqMiddle, bqHigh };

class TdxButton : public TdxCustomControl {
public:
    explicit TdxButton(TComponent *AOwner);
    ~TdxButton() override;
    const char *ClassName() const override { return "TdxButton"; }

    bool AutoGray() const { return FAutoGray; }
    virtual void SetAutoGray(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    bool Default() const { return FDefault; }
    // Lets every gradient control of the form recompute its focus flags.
    virtual void SetDefault(bool Value);
    // The button's own glyph; SetGlyph copies Value into it (null empties it).
    TBitmap *Glyph() const { return FGlyph.get(); }
    virtual void SetGlyph(TBitmap *Value);
    bool HotTrack() const { return FHotTrack; }
    virtual void SetHotTrack(bool Value);
    TdxLayout Layout() const { return FLayout; }
    virtual void SetLayout(TdxLayout Value);
    TdxColors *Colors() const { return FColors.get(); }
    void SetColors(const TdxColors *Value) { FColors->Assign(Value); }
    TdxQuality Quality() const { return FQuality; }
    // Rebuilds the bitmaps.
    virtual void SetQuality(TdxQuality Value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    virtual void SetShowAccelChar(bool Value);
    bool ShowFocusRect() const { return FShowFocusRect; }
    virtual void SetShowFocusRect(bool Value);
    bool SmoothEdges() const { return FSmoothEdges; }
    virtual void SetSmoothEdges(bool Value);
    uint8_t Spacing() const { return FSpacing; }
    virtual void SetSpacing(uint8_t Value);
    bool WordWrap() const { return FWordWrap; }
    virtual void SetWordWrap(bool Value);

    // The index of the action's image in its list's images; -1 for none.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value)
    {
        if (FImageIndex == Value)
            return;
        FImageIndex = Value;
        Invalidate();
    }

    // The cached faces, rebuilt by DoLookChanged.
    TBitmap *BackgroundBitmap() const { return FBackground.get(); }
    TBitmap *ClickedBitmap() const { return FClicked.get(); }
    TBitmap *FocusedBitmap() const { return FFocused.get(); }
    TBitmap *HighlightBitmap() const { return FHighlight.get(); }

    // Whether the face shows a ring: when pressed, exactly when the pointer
    // is off the button; else when hot or focused. Without StateOnly also
    // for a default button while no gradient control has the focus.
    bool IsHighlighted(bool StateOnly) const;

    // Enter (focused, or the default button while no gradient control has
    // the focus) and Esc without shift keys (cancel button) click.
    void CMDialogKey(TCMDialogKey &Message) override;
    // Rebuilds the four gradient bitmaps and repaints.
    void DoLookChanged() override;
    // The image list of the action changed.
    void ImageListChange(TObject *Sender);

protected:
    std::string GetVersion() const override { return "1.0.2g"; }
    TControlActionLinkClass GetActionLinkClass() const override;
    void ActionChange(TObject *Sender, bool CheckDefaults) override;
    void KeyDown(uint16_t &Key, TShiftState Shift) override;
    void KeyUp(uint16_t &Key, TShiftState Shift) override;
    void Paint() override;

private:
    // Stores Value and repaints, unless it is stored already.
    template <class T> void Update(T &Field, T Value);
    // The image list of the linked action's list, or null.
    TCustomImageList *ActionImages() const;
    // The glyph to draw now: the action's image, or a copy of Glyph.
    void TakeGlyph(TBitmap *Result) const;

    bool FAutoGray = true;
    std::unique_ptr<TBitmap> FBackground;
    bool FCancel = false;
    std::unique_ptr<TBitmap> FClicked;
    bool FDefault = false;
    std::unique_ptr<TBitmap> FFocused;
    std::unique_ptr<TBitmap> FGlyph;
    std::unique_ptr<TBitmap> FHighlight;
    bool FHotTrack = false;
    std::unique_ptr<TChangeLink> FImageChangeLink;
    int FImageIndex = -1;
    TdxLayout FLayout = blGlyphLeft;
    std::unique_ptr<TdxColors> FColors;
    TdxQuality FQuality = bqMiddle;
    bool FShowAccelChar = true;
    bool FShowFocusRect = true;
    bool FSmoothEdges = true;
    uint8_t FSpacing = 3;
    bool FWordWrap = true;
};
