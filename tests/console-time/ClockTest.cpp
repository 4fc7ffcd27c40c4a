// The console's clock on a clock of the test's own: the bytes that set the
// logger's clock at the edges of seconds, minutes, days, years and the
// year bounds, and the times the window writes (status bar, lost link,
// download report). Expected values are written out by hand.

#include "../console-form/ConsoleFormFixture.h"

#include "DateTime.h"
#include "DownloadReport.h"

#include <fstream>
#include <iterator>

using namespace logbridge;
using namespace consoletest;

namespace {

class ConsoleClock : public ConsoleForm {
protected:
    void TearDown() override
    {
        SetNowSource(nullptr);
        ConsoleForm::TearDown();
    }
    // From now on the PC's clock reads Start, then runs on in real time.
    void ClockAt(int Year, int Month, int Day, int Hour, int Minute, int Second, int MSec = 0)
    {
        const TDateTime start =
            EncodeDate(Year, Month, Day) + EncodeTime(Hour, Minute, Second, MSec);
        const auto began = std::chrono::steady_clock::now();
        SetNowSource([start, began] {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - began)
                                .count();
            return start + double(ms) / MSecsPerDay;
        });
    }
};

struct TClockCase {
    const char *Name;
    int Year, Month, Day, Hour, Minute, Second; // the PC's clock at the press
    // What reaches the logger two seconds on: hour, minute, second + 1, day,
    // month, year - 2000; empty when the year is refused.
    std::vector<uint8_t> Sent;
    const char *Shown; // Label17
};

// clang-format off: a case a row reads better than a value a line
const TClockCase ClockCases[] = {
    {"an ordinary time",
     2007,
     12,
     8,
     14,
     5,
     28,
     {14, 5, 31, 8, 12, 7},
     "Poslati datum i vreme: 08-12-07   [14:05:30]"},
    {"second 59 is sent as 60",
     2007,
     12,
     8,
     14,
     5,
     57,
     {14, 5, 60, 8, 12, 7},
     "Poslati datum i vreme: 08-12-07   [14:05:59]"},
    {"minute 59, second 59",
     2007,
     12,
     8,
     14,
     59,
     57,
     {14, 59, 60, 8, 12, 7},
     "Poslati datum i vreme: 08-12-07   [14:59:59]"},
    {"over the hour",
     2007,
     12,
     8,
     14,
     59,
     59,
     {15, 0, 2, 8, 12, 7},
     "Poslati datum i vreme: 08-12-07   [15:00:01]"},
    {"over midnight",
     2007,
     12,
     8,
     23,
     59,
     59,
     {0, 0, 2, 9, 12, 7},
     "Poslati datum i vreme: 09-12-07   [00:00:01]"},
    {"over the year's end",
     2007,
     12,
     31,
     23,
     59,
     59,
     {0, 0, 2, 1, 1, 8},
     "Poslati datum i vreme: 01-01-08   [00:00:01]"},
    {"onto a leap day",
     2008,
     2,
     28,
     23,
     59,
     59,
     {0, 0, 2, 29, 2, 8},
     "Poslati datum i vreme: 29-02-08   [00:00:01]"},
    {"past a common February",
     2007,
     2,
     28,
     23,
     59,
     59,
     {0, 0, 2, 1, 3, 7},
     "Poslati datum i vreme: 01-03-07   [00:00:01]"},
    {"the first year allowed",
     2006,
     1,
     1,
     0,
     0,
     0,
     {0, 0, 3, 1, 1, 6},
     "Poslati datum i vreme: 01-01-06   [00:00:02]"},
    {"year byte 99",
     2099,
     6,
     1,
     12,
     0,
     0,
     {12, 0, 3, 1, 6, 99},
     "Poslati datum i vreme: 01-06-99   [12:00:02]"},
    // Checked at the press (2099), taken again after the pause (2100): the
    // year is not checked twice, and its byte is 100.
    {"into 2100 during the pause",
     2099,
     12,
     31,
     23,
     59,
     58,
     {0, 0, 1, 1, 1, 100},
     "Poslati datum i vreme: 01-01-100   [00:00:00]"},
    {"year byte 0 is refused", 2000, 1, 1, 12, 0, 0, {}, nullptr},
    {"the year before the bounds", 2005, 12, 31, 23, 59, 59, {}, nullptr},
    {"year byte 100 is refused", 2100, 1, 1, 0, 0, 0, {}, nullptr},
    {"year byte 255 is refused", 2255, 6, 1, 0, 0, 0, {}, nullptr},
};
// clang-format on

TEST_F(ConsoleClock, TheLoggersClockIsSetFromThePcsClockAtItsEdges)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    for (const TClockCase &c : ClockCases) {
        SCOPED_TRACE(c.Name);
        Boxes.Shown.clear();
        f.Label17->SetCaption("Status");
        const size_t before = sim.Received().size();
        ClockAt(c.Year, c.Month, c.Day, c.Hour, c.Minute, c.Second);
        f.dxButton8Click(f.dxButton8);
        const std::string got = ReceivedWhen(sim, before + (c.Sent.empty() ? 1 : 8));
        const std::string sent = got.substr(before);
        if (c.Sent.empty()) {
            ASSERT_EQ(Boxes.Shown.size(), 2u) << "the question, then the refusal";
            EXPECT_EQ(Boxes.Shown[1].Text,
                      "Godina nije u granicama 2006.-2099. Obustavljam sinhronizaciju.");
            EXPECT_EQ(sent, "E") << "nothing after the presence check";
            EXPECT_EQ(f.Label17->Caption(), "Status");
            continue;
        }
        ASSERT_EQ(sent.size(), 8u) << sent;
        EXPECT_EQ(sent.substr(0, 2), "EY");
        EXPECT_EQ(std::vector<uint8_t>(sent.begin() + 2, sent.end()), c.Sent);
        EXPECT_EQ(f.Label17->Caption(), c.Shown);
        EXPECT_TRUE(f.Timer1->Enabled());
    }
}

TEST_F(ConsoleClock, TheWindowsTimesReadTheSameClock)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);

    // The status bar's clock, once a second, over a leap day's midnight.
    ClockAt(2008, 2, 28, 23, 59, 59, 500);
    ASSERT_TRUE(
        ServeUntil([&] { return f.StatusBar1->PanelText(1) == "Time: 29.02.2008 [00:00:00]"; },
                   std::chrono::seconds(3)))
        << f.StatusBar1->PanelText(1);

    // A download report says when it was written.
    ClockAt(2007, 12, 31, 23, 59, 59, 900);
    Boxes.Files = {""};
    f.dxButton3Click(f.dxButton3);
    ASSERT_TRUE(ServeUntil([&] { return !f.DownloadActive; }, std::chrono::seconds(10)));
    std::ifstream in(Folder() + "/last_bin.rtf", std::ios::binary);
    const std::string report{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(report.find("Darazev izvrsena: 01.01.2008 [00:00:0"), std::string::npos)
        << "written after the year's end, about a second in";

    // The lost link is dated by it too.
    ClockAt(2099, 12, 31, 23, 59, 58);
    sim.SetFaults(Silent());
    ASSERT_TRUE(ServeUntil([&] { return f.Label33->Caption() != "Last Event: Normal Work"; },
                           std::chrono::seconds(4)));
    EXPECT_TRUE(
        Shaped(f.Label33->Caption(), "Last Event: Communication lost @##.##.2099 [23:59:5#]") ||
        Shaped(f.Label33->Caption(), "Last Event: Communication lost @01.01.2100 [00:00:0#]"))
        << f.Label33->Caption();
}

} // namespace
