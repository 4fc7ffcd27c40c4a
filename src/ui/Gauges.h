#pragma once
// The class library's progress gauge: a bar (or only the text) showing how
// far Progress has come from MinValue to MaxValue, with the percentage.

#include "Controls.h"

#include <QElapsedTimer>

enum TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar };
enum TGaugeBorderStyle { gbsNone, gbsSingle };

class TGauge : public TGraphicControl {
public:
    explicit TGauge(TComponent *AOwner);
    const char *ClassName() const override { return "TGauge"; }

    TGaugeKind Kind() const { return FKind; }
    void SetKind(TGaugeKind Value);
    TGaugeBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TGaugeBorderStyle Value);
    TColor ForeColor() const { return FForeColor; }
    void SetForeColor(TColor Value);
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor Value);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool Value);

    // MinValue above MaxValue (or MaxValue below MinValue) raises
    // EInvalidOperation, except while loading; Progress moves into the new range.
    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value);
    // Clamped to MinValue .. MaxValue. The gauge is redrawn only when its
    // percentage changes, and shown at once (at most every 40 ms), so that
    // it moves during a long operation that keeps the event loop waiting.
    int Progress() const { return FProgress; }
    void SetProgress(int Value);
    void AddProgress(int Value) { SetProgress(FProgress + Value); }
    // Whole percent of the way from MinValue to MaxValue; 0 for an empty range.
    int PercentDone() const;

protected:
    void Paint() override;

private:
    void Changed();

    TGaugeKind FKind = gkHorizontalBar;
    TGaugeBorderStyle FBorderStyle = gbsSingle;
    TColor FForeColor = clBlack;
    TColor FBackColor = clWhite;
    bool FShowText = true;
    int FMinValue = 0;
    int FMaxValue = 100;
    int FProgress = 0;
    QElapsedTimer FLastShown;
};
