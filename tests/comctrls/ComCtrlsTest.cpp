// The common controls the console's window is built from: tab pages,
// status bar, progress bar, speed button, edit field.

#include "Buttons.h"
#include "ComCtrls.h"
#include "EditCtrls.h"
#include "Forms.h"

#include <gtest/gtest.h>

namespace {

struct TPages {
    TForm Form{nullptr};
    TPageControl *Control = new TPageControl(&Form);
    std::vector<TTabSheet *> Sheets;
    TPages()
    {
        Control->SetParent(&Form);
        Control->SetBounds(0, 0, 300, 200);
        for (const char *caption : {"Glavi panel", "Rad sa memorijom", "Podesavanja"}) {
            auto *sheet = new TTabSheet(&Form);
            sheet->SetCaption(caption);
            sheet->SetPageControl(Control);
            Sheets.push_back(sheet);
        }
    }
};

TEST(PageControl, OneSheetShowsAndATabClickChangesIt)
{
    TPages p;
    EXPECT_EQ(p.Control->ActivePageIndex(), -1);
    p.Control->SetActivePageIndex(0);
    EXPECT_TRUE(p.Sheets[0]->Visible());
    EXPECT_FALSE(p.Sheets[1]->Visible());
    EXPECT_EQ(p.Sheets[2]->PageIndex(), 2);
    // Sheets fill the control below the tabs.
    EXPECT_EQ(p.Sheets[1]->Width(), 296);
    EXPECT_EQ(p.Sheets[1]->Top(), TPageControl::TabHeight + 2);

    int changes = 0;
    p.Control->OnChange = [&](TObject *) { ++changes; };
    const TRect tab = p.Control->TabRect(2);
    EXPECT_GT(tab.Left, p.Control->TabRect(1).Left);
    p.Control->HandleMouseDown(mbLeft, ssLeft, tab.Left + 3, tab.Top + 3);
    EXPECT_EQ(p.Control->ActivePageIndex(), 2);
    EXPECT_TRUE(p.Sheets[2]->Visible());
    EXPECT_FALSE(p.Sheets[0]->Visible());
    EXPECT_EQ(changes, 1);
    // The active tab again, or below the tabs: no change.
    p.Control->HandleMouseDown(mbLeft, ssLeft, tab.Left + 3, tab.Top + 3);
    p.Control->HandleMouseDown(mbLeft, ssLeft, 5, 100);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(p.Control->ActivePageIndex(), 2);

    p.Control->SetActivePageIndex(7);
    EXPECT_EQ(p.Control->ActivePage(), nullptr);
    EXPECT_FALSE(p.Sheets[2]->Visible());

    // A sheet moved away leaves the control.
    p.Sheets[1]->SetPageControl(nullptr);
    EXPECT_EQ(p.Control->PageCount(), 2);
    EXPECT_EQ(p.Sheets[2]->PageIndex(), 1);
}

TEST(PageControl, ThePictureShowsOnlyTheActiveSheetsControls)
{
    TPages p;
    for (int i = 0; i < 3; ++i) {
        auto *edit = new TEdit(&p.Form);
        edit->SetParent(p.Sheets[i]);
        edit->SetBounds(10 + 30 * i, 10, 20, 20);
    }
    p.Form.SetBounds(0, 0, 300, 200);
    p.Control->SetActivePageIndex(1);
    const QImage picture = p.Form.grab().toImage();
    auto white = [&](int X) {
        return picture.pixelColor(X + 2 + 20, TPageControl::TabHeight + 2 + 20) == Qt::white;
    };
    EXPECT_FALSE(white(0));
    EXPECT_TRUE(white(30));
    EXPECT_FALSE(white(60));
}

TEST(StatusBar, PanelsKeepTheirTexts)
{
    TStatusBar bar(nullptr);
    bar.AddPanel("Vestrano 2007.", 120);
    bar.AddPanel("", 220);
    bar.AddPanel("", 50);
    bar.SetPanelText(1, "Time: 09.12.2026 [06:19:47]");
    EXPECT_EQ(bar.PanelCount(), 3);
    EXPECT_EQ(bar.PanelText(0), "Vestrano 2007.");
    EXPECT_EQ(bar.PanelText(1), "Time: 09.12.2026 [06:19:47]");
    EXPECT_EQ(bar.Panel(1).Width, 220);
    EXPECT_THROW(bar.SetPanelText(3, "x"), std::out_of_range);
}

TEST(ProgressBar, PositionStaysWithinItsRange)
{
    TProgressBar bar(nullptr);
    bar.SetMax(3000);
    bar.SetPosition(4000);
    EXPECT_EQ(bar.Position(), 3000);
    bar.SetMax(100);
    EXPECT_EQ(bar.Position(), 100);
    bar.SetPosition(-5);
    EXPECT_EQ(bar.Position(), 0);
}

TEST(SpeedButton, FlatButtonClicks)
{
    TForm form(nullptr);
    auto *button = new TSpeedButton(&form);
    button->SetParent(&form);
    button->SetFlat(true);
    int clicks = 0;
    button->OnClick = [&](TObject *) { ++clicks; };
    button->HandleMouseDown(mbLeft, ssLeft, 3, 3);
    button->HandleMouseUp(mbLeft, 0, 3, 3);
    EXPECT_EQ(clicks, 1);
    // Released outside: no click.
    button->HandleMouseDown(mbLeft, ssLeft, 3, 3);
    button->HandleMouseUp(mbLeft, 0, 60, 3);
    EXPECT_EQ(clicks, 1);
}

TEST(Edit, TextsAreEightBit)
{
    TEdit edit(nullptr);
    int changes = 0;
    edit.OnChange = [&](TObject *) { ++changes; };
    edit.SetText("25\xB0"
                 "C");
    EXPECT_EQ(edit.Text(), "25\xB0"
                           "C");
    EXPECT_EQ(changes, 1);
    edit.SetReadOnly(true);
    EXPECT_TRUE(edit.ReadOnly());
}

} // namespace
