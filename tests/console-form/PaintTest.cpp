// What the console's window paints on the screen while the user only looks
// at it: nothing at rest, and with live reading only what changed.

#include "ConsoleFormFixture.h"
#include "PaintCounter.h"

#include <set>

using namespace logbridge;
using namespace consoletest;

namespace {

class ConsolePaints : public ConsoleForm {
protected:
    TForm1 &Shown(orvasim::TSimulator &Sim)
    {
        TForm1 &f = Linked(Sim);
        f.ShowForm();
        return f;
    }
    // The painted widgets, named for a failure message.
    std::string Painted() const
    {
        std::string names;
        for (const auto &[widget, count] : Paints.Counts()) {
            auto control = dynamic_cast<const TControl *>(widget);
            names += (control ? control->Name() : std::string(typeid(*widget).name())) + " x" +
                     std::to_string(count) + " ";
        }
        return names;
    }
    void StopTimers(TForm1 &f)
    {
        f.Timer1->SetEnabled(false);
        f.Timer2->SetEnabled(false);
        f.Timer3->SetEnabled(false);
    }
    TPaintCounter Paints;
};

TEST_F(ConsolePaints, EveryPageAtRestIsNotPainted)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Shown(sim);
    StopTimers(f);
    for (int page = 0; page < 4; ++page) {
        f.PageControl1->SetActivePageIndex(page);
        ASSERT_TRUE(Paints.Settle()) << "page " << page << " keeps painting: " << Painted();
        Paints.Reset();
        TPaintCounter::Serve(2000);
        EXPECT_EQ(Paints.Total(), 0) << "page " << page << ": " << Painted();
    }
}

TEST_F(ConsolePaints, LiveReadingRepaintsOnlyTheClockAndChangedValues)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Shown(sim);
    ASSERT_TRUE(f.Timer1->Enabled());
    ASSERT_TRUE(Paints.Settle(300, 5000)) << Painted();
    Paints.Reset();
    TPaintCounter::Serve(2000);
    // Two seconds: two clock updates, at most three live readings, each
    // turning the reading lamp and perhaps changing the values.
    const std::set<const QWidget *> mayChange = {f.StatusBar1, f.LCDLabel1, f.LCDLabel2,
                                                 f.LCDLabel3,  f.LCDLabel4, f.LCDLabel5,
                                                 f.IAgaloLED2};
    for (const auto &[widget, count] : Paints.Counts()) {
        EXPECT_TRUE(mayChange.count(widget)) << Painted();
        EXPECT_LE(count, 3) << Painted();
    }
    EXPECT_GE(Paints.Of(f.StatusBar1), 1) << "the clock shows the time";
}

TEST_F(ConsolePaints, ANewValueRepaintsItsDisplayAlone)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Shown(sim);
    StopTimers(f);
    ASSERT_TRUE(Paints.Settle()) << Painted();
    Paints.Reset();
    f.LCDLabel2->SetCaption(f.LCDLabel2->Caption() == "12.34" ? "43.21" : "12.34");
    ASSERT_TRUE(Paints.Settle()) << Painted();
    EXPECT_EQ(Paints.Of(f.LCDLabel2), 1) << Painted();
    EXPECT_EQ(Paints.Total(), 1) << Painted();

    // The window's caption (the download's progress writes it at every
    // step) is the window system's to draw: nothing of the window repaints.
    Paints.Reset();
    f.SetCaption("Preuzeto: 1201 Bytes | 1 kB | 50%");
    ASSERT_TRUE(Paints.Settle()) << Painted();
    EXPECT_EQ(Paints.Total(), 0) << Painted();
    EXPECT_EQ(f.windowTitle().toStdString(), "Preuzeto: 1201 Bytes | 1 kB | 50%");

    // The link lamp goes out: it repaints alone, and the screen shows it dark.
    ASSERT_TRUE(f.IAgaloLED1->LedOn());
    const QPoint lamp = f.IAgaloLED1->mapTo(&f, f.IAgaloLED1->rect().center());
    const QRgb lit = ScreenPicture(f).pixel(lamp);
    Paints.Reset();
    f.IAgaloLED1->SetLedOn(false);
    ASSERT_TRUE(Paints.Settle()) << Painted();
    EXPECT_GE(Paints.Of(f.IAgaloLED1), 1) << Painted();
    EXPECT_EQ(Paints.Total(), Paints.Of(f.IAgaloLED1)) << Painted();
    const QRgb dark = ScreenPicture(f).pixel(lamp);
    EXPECT_LT(qGreen(dark), qGreen(lit)) << "the lamp still shines on the screen";
}

} // namespace
