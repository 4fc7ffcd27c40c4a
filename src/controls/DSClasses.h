#pragma once
// Change-notifying persistent objects of the skin controls, and the
// two-colour palette that recolours the key colours of a bitmap.

#include "Classes.h"
#include "Graphics.h"

#include <string>

// A persistent object that tells its owner about changes through OnChange,
// once per update bracket.
class TDSPersistent : public TPersistent {
public:
    const char *ClassName() const override { return "TDSPersistent"; }

    void BeginUpdate() { ++FUpdateCount; }
    // Closes a bracket and notifies (also when the bracket changed nothing).
    void EndUpdate();
    // Notifies unless inside an update bracket.
    void Changed();

    TNotifyEvent OnChange;

private:
    int32_t FUpdateCount = 0;
};

class TDSGraphPal : public TDSPersistent {
public:
    TDSGraphPal() = default;
    const char *ClassName() const override { return "TDSGraphPal"; }

    // From another palette: both colours in one bracket, so OnChange runs
    // exactly once. Anything else goes to TPersistent.
    void Assign(const TPersistent *Source) override;
    // Low for Value <= 0, High otherwise.
    virtual TColor GetColor(int32_t Value) const { return Value <= 0 ? FLow : FHigh; }

    TColor Low() const { return FLow; }
    void SetLow(TColor Value);
    TColor High() const { return FHigh; }
    void SetHigh(TColor Value);

    // In place: the pixels of Bitmap that were KeyLow become Low and those
    // that were KeyHigh become High. Both are judged on the pixels before
    // either change, so a pixel is recoloured at most once.
    void Recolor(TBitmap *Bitmap, TColor KeyLow, TColor KeyHigh) const;

private:
    TColor FLow = clGreen;
    TColor FHigh = clLime;
};

// The read-only AboutDS and AboutVers properties of the skin components:
// every write puts the fixed texts back.
class TDSAbout {
public:
    const std::string &AboutDS() const { return FAboutDS; }
    void SetAboutDS(const std::string &) { ResetAbout(); }
    const std::string &AboutVers() const { return FAboutVers; }
    void SetAboutVers(const std::string &) { ResetAbout(); }

private:
    void ResetAbout()
    {
        FAboutDS = "Component";
        FAboutVers = "1.0.0";
    }
    std::string FAboutDS = "Component";
    std::string FAboutVers = "1.0.0";
};
