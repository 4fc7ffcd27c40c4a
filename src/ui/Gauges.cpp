#include "Gauges.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

namespace {

constexpr qint64 ShowInterval = 40; // ms

template <class T> bool Store(T &Field, T Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

} // namespace

TGauge::TGauge(TComponent *AOwner) : TGraphicControl(AOwner)
{
    SetControlStyle(ControlStyle() | csOpaque | csReplicatable);
    SetBounds(0, 0, 100, 100);
}

void TGauge::Changed()
{
    Invalidate();
    if (!isVisible())
        return;
    if (!FLastShown.isValid() || FLastShown.elapsed() >= ShowInterval) {
        QWidget::repaint();
        FLastShown.start();
    }
}

void TGauge::SetKind(TGaugeKind Value)
{
    if (Store(FKind, Value))
        Changed();
}

void TGauge::SetBorderStyle(TGaugeBorderStyle Value)
{
    if (Store(FBorderStyle, Value))
        Changed();
}

void TGauge::SetForeColor(TColor Value)
{
    if (Store(FForeColor, Value))
        Changed();
}

void TGauge::SetBackColor(TColor Value)
{
    if (Store(FBackColor, Value))
        Changed();
}

void TGauge::SetShowText(bool Value)
{
    if (Store(FShowText, Value))
        Changed();
}

void TGauge::SetMinValue(int Value)
{
    if (Value == FMinValue)
        return;
    if (Value > FMaxValue && !IsLoading())
        throw EInvalidOperation("Value must be between " + std::to_string(INT32_MIN + 1) + " and " +
                                std::to_string(FMaxValue));
    FMinValue = Value;
    FProgress = std::max(FProgress, Value);
    Changed();
}

void TGauge::SetMaxValue(int Value)
{
    if (Value == FMaxValue)
        return;
    if (Value < FMinValue && !IsLoading())
        throw EInvalidOperation("Value must be between " + std::to_string(FMinValue) + " and " +
                                std::to_string(INT32_MAX));
    FMaxValue = Value;
    FProgress = std::min(FProgress, Value);
    Changed();
}

void TGauge::SetProgress(int Value)
{
    const int before = PercentDone();
    Value = std::clamp(Value, FMinValue, std::max(FMinValue, FMaxValue));
    if (Store(FProgress, Value) && PercentDone() != before)
        Changed();
}

int TGauge::PercentDone() const
{
    const long long range = (long long)FMaxValue - FMinValue;
    if (range <= 0)
        return 0;
    return int(((long long)FProgress - FMinValue) * 100 / range);
}

void TGauge::Paint()
{
    TCanvas *canvas = Canvas();
    TRect r = ClientRect();
    if (FBorderStyle == gbsSingle) {
        canvas->Brush()->SetColor(clBlack);
        canvas->FrameRect(r);
        InflateRect(r, -1, -1);
    }
    canvas->Brush()->SetColor(FBackColor);
    canvas->FillRect(r);

    TRect fill{};
    if (FKind == gkHorizontalBar)
        fill = Rect(r.Left, r.Top, r.Left + r.Width() * PercentDone() / 100, r.Bottom);
    else if (FKind == gkVerticalBar)
        fill = Rect(r.Left, r.Bottom - r.Height() * PercentDone() / 100, r.Right, r.Bottom);
    if (!fill.IsEmpty()) {
        canvas->Brush()->SetColor(FForeColor);
        canvas->FillRect(fill);
    }
    if (!FShowText)
        return;

    // The text in the fore colour over the background and in the back colour
    // over the fill, so that it reads wherever the bar ends.
    const std::string text = std::to_string(PercentDone()) + "%";
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    const TSize size = canvas->TextExtent(text);
    const int x = r.Left + (r.Width() - size.cx) / 2;
    const int y = r.Top + (r.Height() - size.cy) / 2;
    const TRegion all = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
    TRegion filled = CreateRectRgn(fill.Left, fill.Top, fill.Right, fill.Bottom);
    TRegion rest;
    CombineRgn(rest, all, filled, RGN_DIFF);
    canvas->Font()->SetColor(FForeColor);
    canvas->SelectClipRgn(&rest);
    canvas->TextOut(x, y, text);
    if (!fill.IsEmpty()) {
        canvas->Font()->SetColor(FBackColor);
        canvas->SelectClipRgn(&filled);
        canvas->TextOut(x, y, text);
    }
    canvas->SelectClipRgn(nullptr);
}
