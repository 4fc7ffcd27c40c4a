#pragma once
// Graphic-control bases of the skin controls: one Changed operation through
// which every property setter repaints, and an off-screen buffer with an
// optional transparent mode that draws over a copy of the parent's pixels.

#include "Controls.h"
#include "Graphics.h"

class TDSGraphicControl : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    const char *ClassName() const override { return "TDSGraphicControl"; }

    // Repaints at once, except while the control is loaded from a window
    // resource (Loaded paints it afterwards).
    virtual void Changed();
};

class TDSGraphicImageControl : public TDSGraphicControl {
public:
    explicit TDSGraphicImageControl(TComponent *AOwner);
    ~TDSGraphicImageControl() override;
    const char *ClassName() const override { return "TDSGraphicImageControl"; }

    // Keeps the buffer at the control's size.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // A repaint for a property change reuses the last capture of the parent's
    // pixels (and paints only this control); a paint the window system asks
    // for captures them again.
    void Changed() override;

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);

    TCanvas *BufferCanvas() { return FBuffer->Canvas(); }

protected:
    // Puts the parent's pixels (transparent) or the solid Color into the
    // buffer; descendants draw over it.
    virtual void PrepareBuffer();
    // Shows the buffer; descendants draw into it first and call this last.
    void Paint() override;

    TBitmap *FBackground;
    TBitmap *FBuffer;
    bool FNeedCapture = true;

private:
    // Copies what lies beneath the control on its parent: the parent's own
    // pixels and those of the graphic controls below this one, which the
    // platform would have drawn onto the parent's surface.
    void CaptureBackground();

    bool FTransparent = false;
};
