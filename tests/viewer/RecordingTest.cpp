#include "Recording.h"
#include "Chart.h"
#include "Controls.h"
#include "DtsWriter.h"
#include "ReadOnlyFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class RecordingTest : public ::testing::Test {
protected:
    std::string File(const std::string &Name) const
    {
        return Dir.path().toStdString() + "/" + Name;
    }
    QTemporaryDir Dir;
    TChart Chart{nullptr};
    TLineSeries *Temperature = new TLineSeries(&Chart);
    TLineSeries *Humidity = new TLineSeries(&Chart);
};

TEST(RecordingTexts, DatesReadAsTheDeviceWroteThem)
{
    EXPECT_EQ(DateText(double(DayCount(7, 12, 8))), "08.12.2007");
    EXPECT_EQ(DateText(double(DayCount(99, 1, 31))), "31.01.2099");
    EXPECT_EQ(DateText(0), "30.12.2099");
    EXPECT_EQ(TimeText((14 * 3600 + 5 * 60 + 30) / 86400.0), "14:05:30");
    EXPECT_EQ(TimeText(86399 / 86400.0), "23:59:59");
    EXPECT_EQ(PointLabel(double(DayCount(7, 12, 8)), 0.5), "08.12.2007\r [12:00:00]");
    EXPECT_EQ(PointStamp(double(DayCount(7, 12, 8)), 0.5), "08.12.2007 [12:00:00]");
    // Garbage in a file must not turn into a plausible date.
    EXPECT_EQ(DateText(1e300), "??.??.20??");
    EXPECT_EQ(DateText(std::nan("")), "??.??.20??");
    EXPECT_EQ(RunText(0), "000");
    EXPECT_EQ(RunText(7), "007");
    EXPECT_EQ(RunText(255), "255");
}

TEST_F(RecordingTest, EveryWholeRecordBecomesAPointInOrder)
{
    auto samples = DaySeries(500, 60);
    samples[0].Temperature = -3.25;
    samples[499].Humidity = 99.5;
    WriteDts(File("a.dts"), samples, 55); // a partial record at the end
    TRecording data;
    const TLoadInfo info = data.Load(File("a.dts"));
    EXPECT_EQ(info.RecordsInFile, 500u);
    EXPECT_FALSE(info.Cut);
    ASSERT_EQ(data.PointCount, 500);
    EXPECT_EQ(data.DataFileName, "a.dts");
    EXPECT_EQ(data.DataFilePath, File("a.dts"));
    EXPECT_DOUBLE_EQ(data.PointTable.Temperature[1], -3.25);
    EXPECT_EQ(data.PointTable.TemperatureRounded[1], -3);
    EXPECT_DOUBLE_EQ(data.PointTable.Humidity[500], 99.5);
    EXPECT_EQ(data.PointTable.HumidityRounded[500], 100);
    EXPECT_EQ(data.PointTable.RecordDate[0], 0); // slot 0 is never a point
    EXPECT_EQ(data.StartText(1), "Start: 01.12.2007 [00:00:00]");
    EXPECT_EQ(data.EndText(data.PointCount), "End  : 01.12.2007 [08:19:00]");

    PlotAll(data, *Temperature, *Humidity);
    ASSERT_EQ(Temperature->Count(), 500);
    ASSERT_EQ(Humidity->Count(), 500);
    EXPECT_DOUBLE_EQ(Temperature->YValue(0), -3.25);
    EXPECT_DOUBLE_EQ(Humidity->YValue(499), 99.5);
    EXPECT_DOUBLE_EQ(Temperature->XValue(499), 499);
    EXPECT_EQ(Temperature->Label(61), "01.12.2007\r [01:01:00]");
    EXPECT_EQ(Humidity->Label(61), Temperature->Label(61));
}

TEST_F(RecordingTest, RunListMarksEachChangeOfRun)
{
    TRecording data;
    WriteDts(File("runs.dts"), RunSamples({0, 1, 1, 2, 1}));
    data.Load(File("runs.dts"));
    EXPECT_EQ(data.Runs, (std::vector<std::string>{"001", "002", "001"}));
    WriteDts(File("zero.dts"), RunSamples({0, 0, 0}));
    data.Load(File("zero.dts"));
    EXPECT_TRUE(data.Runs.empty());
    WriteDts(File("start.dts"), RunSamples({3, 3, 0}));
    data.Load(File("start.dts"));
    EXPECT_EQ(data.Runs, (std::vector<std::string>{"003", "000"}));
}

TEST_F(RecordingTest, RunFilterShowsOneRunWithOneLineLabels)
{
    TRecording data;
    WriteDts(File("runs.dts"), RunSamples({0, 1, 1, 2, 1}));
    data.Load(File("runs.dts"));

    int examined = 0;
    TRunSelection sel = PlotRun(data, "001", *Temperature, *Humidity, [&](int k) { examined = k; });
    EXPECT_EQ(examined, 5);
    EXPECT_EQ(sel.Count, 3); // a run that recurs is shown whole
    EXPECT_EQ(sel.FirstSlot, 2);
    EXPECT_EQ(sel.LastSlot, 5);
    ASSERT_EQ(Temperature->Count(), 3);
    EXPECT_DOUBLE_EQ(Temperature->YValue(2), 21);
    EXPECT_EQ(Temperature->Label(0), "08.12.2007 [14:01:30]");
    EXPECT_DOUBLE_EQ(Temperature->XValue(2), 2);

    sel = PlotRun(data, "000", *Temperature, *Humidity);
    EXPECT_EQ(sel.Count, 1); // the unused slots past the points never match
    EXPECT_EQ(sel.FirstSlot, 1);

    for (const char *text : {"Prikazi sve zapise", "1", "01", "0001", ""}) {
        sel = PlotRun(data, text, *Temperature, *Humidity);
        EXPECT_EQ(sel.Count, 0) << text;
        EXPECT_EQ(Temperature->Count(), 0) << text;
        EXPECT_EQ(Humidity->Count(), 0) << text;
    }
}

TEST_F(RecordingTest, SecondLoadReplacesEverything)
{
    TRecording data;
    WriteDts(File("long.dts"), RunSamples({0, 4, 4, 4, 4, 4}));
    WriteDts(File("short.dts"), RunSamples({2, 2}));
    data.Load(File("long.dts"));
    data.Load(File("short.dts"));
    EXPECT_EQ(data.PointCount, 2);
    EXPECT_EQ(data.Runs, std::vector<std::string>{"002"});
    // Nothing of the longer file lingers behind the new points.
    EXPECT_EQ(PlotRun(data, "004", *Temperature, *Humidity).Count, 0);
    EXPECT_EQ(data.PointTable.RunNumber[3], 0);
    EXPECT_EQ(data.PointTable.Temperature[6], 0);
}

TEST_F(RecordingTest, EmptyFileGivesNoPoints)
{
    TRecording data;
    WriteDts(File("a.dts"), RunSamples({1, 2}));
    data.Load(File("a.dts"));
    WriteDts(File("empty.dts"), {}, 30);
    data.Load(File("empty.dts"));
    EXPECT_EQ(data.PointCount, 0);
    EXPECT_EQ(CountText(data.PointCount), "Ukupno tacaka: 0");
    EXPECT_EQ(data.StartText(1), "Start: ");
    EXPECT_EQ(data.EndText(0), "End  : ");
    PlotAll(data, *Temperature, *Humidity);
    EXPECT_EQ(Temperature->Count(), 0);
}

TEST_F(RecordingTest, ReadOnlyRecordingLoads)
{
    WriteDts(File("ro.dts"), RunSamples({0, 1}));
    const TReadOnlyFile readOnly(File("ro.dts"));
    if (!readOnly.Ok())
        GTEST_SKIP() << "this user can write every file here (root on a filesystem "
                        "without immutable files)";
    TRecording data;
    EXPECT_NO_THROW(data.Load(File("ro.dts")));
    EXPECT_EQ(data.PointCount, 2);
}

TEST_F(RecordingTest, FailedLoadLeavesThePreviousRecording)
{
    TRecording data;
    WriteDts(File("good.dts"), RunSamples({0, 1, 1}));
    data.Load(File("good.dts"));
    for (const std::string &bad : {File("missing.dts"), Dir.path().toStdString(), std::string()}) {
        try {
            data.Load(bad);
            ADD_FAILURE() << "loaded " << bad;
        } catch (const EInOutError &e) {
            EXPECT_NE(std::string(e.what()).find("Fajl ne moze da se otvori: " + bad),
                      std::string::npos)
                << e.what();
            EXPECT_NE(e.ErrorCode, 0);
        }
        EXPECT_EQ(data.PointCount, 3);
        EXPECT_EQ(data.DataFileName, "good.dts");
        EXPECT_EQ(data.DataFilePath, File("good.dts"));
        EXPECT_DOUBLE_EQ(data.PointTable.Temperature[2], 21);
        EXPECT_EQ(data.Runs, std::vector<std::string>{"001"});
    }
}

TEST_F(RecordingTest, ReloadFindsTheFileFromAnyWorkingFolder)
{
    WriteDts(File("far.dts"), RunSamples({0, 1}));
    TRecording data;
    data.Load(File("far.dts"));
    WriteDts(File("far.dts"), RunSamples({0, 1, 2}));
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_NO_THROW(data.Load(data.DataFilePath));
    ASSERT_EQ(chdir(old), 0);
    EXPECT_EQ(data.PointCount, 3);
    EXPECT_EQ(data.DataFileName, "far.dts");
}

TEST_F(RecordingTest, OversizedFileIsCutToTheTable)
{
    auto samples = DaySeries(MaxPoints + 7, 2);
    samples[MaxPoints - 1].Temperature = 31.5;
    WriteDts(File("big.dts"), samples);
    TRecording data;
    int progress = -1, total = -1, calls = 0;
    const TLoadInfo info = data.Load(File("big.dts"), [&](int Done, int Total) {
        EXPECT_EQ(Done, progress + 1); // once per record, after one call for the start
        progress = Done;
        total = Total;
        ++calls;
    });
    EXPECT_TRUE(info.Cut);
    EXPECT_EQ(info.RecordsInFile, std::size_t(MaxPoints + 7));
    EXPECT_EQ(progress, MaxPoints);
    EXPECT_EQ(total, MaxPoints);
    EXPECT_EQ(calls, MaxPoints + 1);
    EXPECT_EQ(data.PointCount, MaxPoints);
    EXPECT_DOUBLE_EQ(data.PointTable.Temperature[MaxPoints], 31.5);
    EXPECT_EQ(data.CutMessage(info.RecordsInFile),
              "Fajl big.dts ima 65542 zapisa; prikazano je prvih 65535.");
}

TEST(StartUp, OnlyAnExactFirstAvLoadsTheHandOverFile)
{
    EXPECT_EQ(HandOverFile({"/opt/orva/Plotview", "/av"}, "/opt/orva"), "/opt/orva/temp.dts");
    EXPECT_EQ(HandOverFile({"Plotview", "/av", "x"}, "/p"), "/p/temp.dts");
    EXPECT_EQ(HandOverFile({"Plotview", "/AV"}, "/p"), "");
    EXPECT_EQ(HandOverFile({"Plotview", "x", "/av"}, "/p"), "");
    EXPECT_EQ(HandOverFile({"Plotview", " /av"}, "/p"), "");
    EXPECT_EQ(HandOverFile({"Plotview"}, "/p"), "");
    EXPECT_EQ(HandOverFile({}, "/p"), "");
}

TEST(Keypad, PointsPerPageStepByTen)
{
    EXPECT_EQ(KeypadPointsPerPage(0, VK_ADD), 10);
    EXPECT_EQ(KeypadPointsPerPage(25, VK_ADD), 35);
    EXPECT_EQ(KeypadPointsPerPage(5, VK_SUBTRACT), 5);
    EXPECT_EQ(KeypadPointsPerPage(10, VK_SUBTRACT), 0);
    EXPECT_EQ(KeypadPointsPerPage(25, VK_SUBTRACT), 15);
    EXPECT_EQ(KeypadPointsPerPage(25, 'A'), 25);
}

} // namespace
