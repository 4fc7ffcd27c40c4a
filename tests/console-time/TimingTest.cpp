// The pauses the console keeps on the line, as the logger sees them: the
// simulator's timed record of every byte it receives.

#include "../console-form/ConsoleFormFixture.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <cstdio>

using namespace logbridge;
using namespace consoletest;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point T)
{
    return std::chrono::duration<double, std::milli>(T.time_since_epoch()).count();
}

// The commands in the simulator's record: time and byte.
std::vector<std::pair<double, int>> Commands(const std::string &Log)
{
    std::vector<std::pair<double, int>> out;
    FILE *f = std::fopen(Log.c_str(), "r");
    if (!f)
        return out;
    char line[128];
    while (std::fgets(line, sizeof line, f)) {
        double at = 0;
        unsigned byte = 0;
        if (std::sscanf(line, "%lf rx %x", &at, &byte) == 2)
            out.push_back({at, int(byte)});
    }
    std::fclose(f);
    return out;
}

// The first command Byte after From (ms), or a negative time.
double FirstAfter(const std::vector<std::pair<double, int>> &Log, int Byte, double From)
{
    for (const auto &[at, b] : Log)
        if (b == Byte && at >= From)
            return at;
    return -1;
}

class LineTiming : public ConsoleForm {
protected:
    void SetUp() override
    {
        ConsoleForm::SetUp();
        // Pauses of tens of milliseconds can only be judged on a machine
        // whose own sleeps keep time.
        double worst = 0;
        for (int i = 0; i < 10; ++i) {
            const auto t = Clock::now();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            worst = std::max(worst, Ms(Clock::now()) - Ms(t) - 20);
        }
        if (worst > 15)
            GTEST_SKIP() << "the machine is too loaded to time: a 20 ms sleep took " << 20 + worst
                         << " ms";
    }
    std::string Log() const { return Folder() + "/line.log"; }
    orvasim::TSimOptions Logged()
    {
        orvasim::TSimOptions o = SimOptions();
        o.LogPath = Log();
        return o;
    }
};

TEST_F(LineTiming, TheDownloadWaitsBeforeItsFirstCommandAndBetweenPrepareAndSend)
{
    orvasim::TSimulator sim(Logged());
    TForm1 &f = Linked(sim);
    f.Timer1->SetEnabled(false);
    f.ShowForm();
    f.PageControl1->SetActivePage(f.TabSheet2);
    f.dxButton3->SetFocus();
    Serve(300);
    // F3 as the keyboard sends it, to the focused control.
    QWidget *focused = f.ActiveControl();
    ASSERT_EQ(focused, f.dxButton3);
    const double pressed = Ms(Clock::now());
    QKeyEvent down(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(focused, &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(focused, &up);
    ASSERT_TRUE(f.DownloadActive);
    Serve(300);

    const auto log = Commands(Log());
    const double e = FirstAfter(log, 'E', pressed);
    ASSERT_GT(e, 0) << "no presence command after F3";
    EXPECT_GE(e - pressed, 100) << "the download's first command came too soon";
    EXPECT_LE(e - pressed, 150);
    const double s = FirstAfter(log, 'S', e), r = FirstAfter(log, 'R', e);
    ASSERT_GT(s, 0);
    ASSERT_GT(r, 0);
    EXPECT_GE(r - s, 500) << "the stream was asked for too soon after the prepare command";
    EXPECT_LE(r - s, 550);
}

TEST_F(LineTiming, LiveReadingsComeAtTheirInterval)
{
    orvasim::TSimulator sim(Logged());
    TForm1 &f = Linked(sim);
    ASSERT_TRUE(f.Timer1->Enabled());
    ASSERT_EQ(f.Timer1->Interval(), 1000u);
    const double from = Ms(Clock::now());
    Serve(4600);
    std::vector<double> ticks;
    for (const auto &[at, b] : Commands(Log()))
        if (b == 'E' && at >= from)
            ticks.push_back(at);
    ASSERT_GE(ticks.size(), 4u);
    for (size_t i = 1; i < ticks.size(); ++i)
        EXPECT_NEAR(ticks[i] - ticks[i - 1], 1000, 50)
            << "between readings " << i - 1 << " and " << i;

    // Five seconds with the track bar at 5.
    f.TrackBar1->SetPosition(5);
    ASSERT_EQ(f.Timer1->Interval(), 5000u);
}

} // namespace
