#pragma once
// The class library's common controls that the console uses, thin: tab
// pages, the track bar, the status bar with panels and the progress bar.

#include "Controls.h"
#include "WidgetControl.h"

#include <string>
#include <vector>

class QSlider;
class TPageControl;

// One page of a TPageControl; its controls show only while it is the
// active page.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent *AOwner);
    const char *ClassName() const override { return "TTabSheet"; }

    TPageControl *PageControl() const { return FPageControl; }
    // Adds the sheet as the last page of Value (removing it from another).
    void SetPageControl(TPageControl *Value);
    int PageIndex() const;

    // The caption is the text of the sheet's tab.
    void CMTextChanged() override;

protected:
    void Paint() override;

private:
    friend class TPageControl;
    void ShowSheet(bool Value);
    TPageControl *FPageControl = nullptr;
};

// Tabs along the top edge, one per sheet, and the active sheet below them.
// A click on a tab makes its sheet the active one and raises OnChange; so
// do Ctrl+Tab and Ctrl+Shift+Tab with the focus on the control or inside
// it, and Left and Right with the focus on the control, wrapping round.
class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent *AOwner);
    const char *ClassName() const override { return "TPageControl"; }

    int PageCount() const { return int(FPages.size()); }
    TTabSheet *Pages(int Index) const { return FPages.at(Index); }
    TTabSheet *ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet *Page);
    int ActivePageIndex() const;
    // An index out of range shows no page.
    void SetActivePageIndex(int Index);
    // Where the tabs end and the pages begin.
    static constexpr int TabHeight = 20;
    // The tab of page Index, in the control's coordinates.
    TRect TabRect(int Index);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Shows the next (or previous) page, wrapping, and raises OnChange.
    void SelectNextPage(bool Forward);

    TNotifyEvent OnChange;

    void CMDialogKey(TCMDialogKey &Message) override;
    void CMFocusChanged(TWinControl *Focused) override;

protected:
    void Paint() override;
    bool FocusOnPress() const override { return true; }
    bool WantsKey(uint16_t Key) const override { return Key == VK_LEFT || Key == VK_RIGHT; }
    void KeyDown(uint16_t &Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet *Page);
    void RemovePage(TTabSheet *Page);
    void PlacePage(TTabSheet *Page);

    std::vector<TTabSheet *> FPages;
    TTabSheet *FActivePage = nullptr;
    bool FFocusDrawn = false;
};

enum TTrackBarOrientation { trHorizontal, trVertical };

// A slider from Min to Max; OnChange runs whenever Position changes, by the
// user or by program.
class TTrackBar : public TWidgetControl {
public:
    explicit TTrackBar(TComponent *AOwner);
    const char *ClassName() const override { return "TTrackBar"; }

    int Min() const;
    void SetMin(int Value);
    int Max() const;
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value);
    void SetOrientation(TTrackBarOrientation Value);

    TNotifyEvent OnChange;

    void CMFocusChanged(TWinControl *Focused) override;

    QSlider *Slider() const { return FSlider; }

private:
    QSlider *FSlider;
    bool FFocusShown = false;
};

// One panel of a status bar: its text and width (the last one takes the rest).
struct TStatusPanel {
    std::string Text;
    int Width = 50;
};

// A bar along the bottom of a window, in panels separated by sunken frames.
class TStatusBar : public TGraphicControl {
public:
    explicit TStatusBar(TComponent *AOwner);
    const char *ClassName() const override { return "TStatusBar"; }

    int PanelCount() const { return int(FPanels.size()); }
    TStatusPanel &Panel(int Index) { return FPanels.at(Index); }
    const std::string &PanelText(int Index) const { return FPanels.at(Index).Text; }
    void SetPanelText(int Index, const std::string &Text);
    void AddPanel(const std::string &Text, int Width);

protected:
    void Paint() override;

private:
    std::vector<TStatusPanel> FPanels;
};

// A plain progress bar of blocks from Min to Max.
class TProgressBar : public TGraphicControl {
public:
    explicit TProgressBar(TComponent *AOwner);
    const char *ClassName() const override { return "TProgressBar"; }

    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    // Clamped to Min .. Max.
    int Position() const { return FPosition; }
    void SetPosition(int Value);

protected:
    void Paint() override;

private:
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
};
