#include "DtsExport.h"
#include "Records.h"

// The viewer's own reader, to check that it reads what the console writes.
#include "DtsFile.h"
#include "Recording.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace lb = logbridge;

namespace {

// Day counts of the device's dates, years taken as written (7 for 2007).
constexpr double Dec8Year7 = -691061;
constexpr double Feb28Year7 = -691344;

double DayFraction(int H, int M, int S)
{
    return (H * 3600 + M * 60 + S) / 86400.0;
}

TEST(DtsRecordLayout, ByteByByte)
{
    lb::DtsRecord r;
    r.TemperatureRounded = -2;
    r.Temperature = 22.5;
    r.HumidityRounded = 0x01020304;
    r.Humidity = -4.0;
    r.RecordDate = -691061; // 8 December 7
    r.RecordTime = 0.5;
    r.RunNumber = 255;
    const auto b = lb::EncodeDtsRecord(r);
    const std::array<uint8_t, 56> expected = {
        0xFE, 0xFF, 0xFF, 0xFF, 0,    0,    0,    0,    // -2, pad
        0,    0,    0,    0,    0,    0x80, 0x36, 0x40, // 22.5
        0x04, 0x03, 0x02, 0x01, 0,    0,    0,    0,    // int, pad
        0,    0,    0,    0,    0,    0,    0x10, 0xC0, // -4.0
        0,    0,    0,    0,    0xEA, 0x16, 0x25, 0xC1, // -691061.0
        0,    0,    0,    0,    0,    0,    0xE0, 0x3F, // 0.5
        0xFF, 0,    0,    0,    0,    0,    0,    0,    // run, pad
    };
    EXPECT_EQ(b, expected);
}

TEST(DtsRecordFill, ValuesRoundingAndRun)
{
    lb::TImageBuffer image{};
    TSample s;
    s.Temperature = 6250; // 22.50 rounds to 22
    s.Humidity = 1486;
    s.Run = 0;
    PutRecord(image, 0, s);
    lb::DtsRecord r;
    lb::FillDtsRecord(r, lb::ReadMemoryRecord(image, 0));
    EXPECT_EQ(r.TemperatureRounded, 22);
    EXPECT_DOUBLE_EQ(r.Temperature, 22.5);
    EXPECT_EQ(r.HumidityRounded, 50);
    EXPECT_EQ(r.RunNumber, 255);
    // Year 7 as the year itself: 8 December 7, at 14:05:30.
    EXPECT_EQ(r.RecordDate, Dec8Year7);
    EXPECT_DOUBLE_EQ(r.RecordTime, DayFraction(14, 5, 30));

    s.Temperature = 6350; // 23.50 rounds to 24
    PutRecord(image, 0, s);
    lb::FillDtsRecord(r, lb::ReadMemoryRecord(image, 0));
    EXPECT_EQ(r.TemperatureRounded, 24);
}

TEST(DtsRecordFill, ImpossibleDatesKeepThePreviousRecordsFields)
{
    lb::TImageBuffer image{};
    TSample s;
    s.Year = 0;
    PutRecord(image, 0, s); // year 0: no date
    s.Year = 7;
    s.Hour = 12;
    PutRecord(image, 1, s);
    s.Month = 13;
    s.Hour = 13;
    PutRecord(image, 2, s); // no such month
    s.Month = 2;
    s.Day = 29; // 2007 has no 29 February
    PutRecord(image, 3, s);
    s.Day = 28;
    s.Minute = 60;
    PutRecord(image, 4, s); // date fine, time not
    s.Year = 150;
    s.Minute = 0;
    PutRecord(image, 5, s); // no two-digit year

    lb::DtsRecord r;
    std::vector<std::pair<double, double>> got;
    for (int k = 0; k < 6; ++k) {
        lb::FillDtsRecord(r, lb::ReadMemoryRecord(image, k));
        got.emplace_back(r.RecordDate, r.RecordTime);
    }
    const double noon = DayFraction(12, 5, 30);
    EXPECT_EQ(got[0], std::make_pair(0.0, 0.0));
    EXPECT_EQ(got[1], std::make_pair(Dec8Year7, noon));
    EXPECT_EQ(got[2], got[1]);
    EXPECT_EQ(got[3], got[1]);
    EXPECT_EQ(got[4], std::make_pair(Feb28Year7, noon));
    EXPECT_EQ(got[5], got[4]);
}

class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Five records a minute apart, runs 1, 1, 2, 2, 2; 12m + 1 bytes as a
        // loaded saved download.
        for (int k = 0; k < 5; ++k) {
            TSample s;
            s.Minute = uint8_t(k);
            s.Temperature = uint16_t(6000 + 10 * k);
            s.Run = uint8_t(k < 2 ? 2 : 3);
            PutRecord(State->WorkBuffer, k, s);
        }
        State->WorkBuffer[60] = 0x08; // the extra byte
        State->ByteCount = 61;
    }
    std::string Path(const std::string &Name) const { return TempPath(Dir, Name); }
    std::unique_ptr<lb::TConsoleState> State = NewState();
    QTemporaryDir Dir;
};

TEST_F(RecordingTest, AllRecordsReadBackByTheViewer)
{
    const lb::TRecordingResult result = lb::ExportRecording(*State, Path("all.dts"), "");
    EXPECT_EQ(result.Written, 5);
    EXPECT_EQ(result.LastStamp, "08.12.2007.  [14:04:30]");

    const DtsFileContents back = ReadDtsFile(Path("all.dts"), 100);
    ASSERT_EQ(back.RecordsInFile, 5u);
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        const ::DtsRecord &r = back.Records[k];
        EXPECT_DOUBLE_EQ(r.Temperature, 20 + 0.1 * k);
        EXPECT_EQ(r.TemperatureRounded, 20);
        EXPECT_NEAR(r.Humidity, 50.0000512, 1e-9);
        EXPECT_EQ(r.HumidityRounded, 50);
        EXPECT_EQ(r.RecordDate, Dec8Year7);
        EXPECT_DOUBLE_EQ(r.RecordTime, DayFraction(14, k, 30));
        EXPECT_EQ(r.RunNumber, k < 2 ? 1 : 2);
    }
    EXPECT_EQ(FileText(Path("all.dts")).size(), 5 * lb::DtsRecordSize);
}

TEST_F(RecordingTest, StartsAtThePickedStamp)
{
    lb::TRecordingResult result;
    lb::ExportRecording(*State, Path("from.dts"), "08.12.2007.  [14:03:30]");
    EXPECT_EQ(ReadDtsFile(Path("from.dts"), 100).RecordsInFile, 2u);

    // Text holding several stamps starts at the earliest record it contains.
    result = lb::ExportRecording(*State, Path("two.dts"),
                                 "x08.12.2007.  [14:03:30]08.12.2007.  [14:01:30]");
    EXPECT_EQ(result.Written, 4);
    const DtsFileContents back = ReadDtsFile(Path("two.dts"), 100);
    EXPECT_DOUBLE_EQ(back.Records.at(0).RecordTime, DayFraction(14, 1, 30));

    // No match, a header line, or a cut stamp: the start is not found and
    // the file is left as it was, not written empty.
    std::ofstream(Path("none.dts"), std::ios::binary) << "earlier";
    for (const char *start :
         {"08.12.2007.  [14:09:30]", "Podaci o zapisu: \\par  ", "08.12.2007.  [14:03:30"}) {
        SCOPED_TRACE(start);
        result = lb::ExportRecording(*State, Path("none.dts"), start);
        EXPECT_FALSE(result.StartFound);
        EXPECT_EQ(result.Written, 0);
        EXPECT_EQ(result.Processed, 5);
        EXPECT_EQ(result.LastStamp, "08.12.2007.  [14:04:30]");
        EXPECT_EQ(FileText(Path("none.dts")), "earlier");
    }
    EXPECT_FALSE(std::filesystem::exists(Path("never.dts")));
    lb::ExportRecording(*State, Path("never.dts"), "no stamp here");
    EXPECT_FALSE(std::filesystem::exists(Path("never.dts")));
}

TEST_F(RecordingTest, HandOverFileAndViewerStart)
{
    const std::string folder = Dir.path().toStdString();
    lb::WriteHandOverRecording(*State, folder, "");
    EXPECT_EQ(lb::HandOverPath(folder), folder + "/temp.dts");
    lb::ExportRecording(*State, Path("b.dts"), "");
    EXPECT_EQ(FileText(folder + "/temp.dts"), FileText(Path("b.dts")));
    const lb::TViewerStart start = lb::ViewerStart(folder);
    EXPECT_EQ(start.Program, folder + "/Plotview");
    EXPECT_EQ(start.Parameters, " /av");
    EXPECT_EQ(start.Arguments(), std::vector<std::string>{"/av"});
    // The viewer, started so, loads the file just written.
    std::vector<std::string> command = {start.Program};
    for (const std::string &a : start.Arguments())
        command.push_back(a);
    EXPECT_EQ(HandOverFile(command, folder), lb::HandOverPath(folder));
}

TEST_F(RecordingTest, ShortImagesGiveEmptyFiles)
{
    State->ByteCount = 11;
    const lb::TRecordingResult result = lb::ExportRecording(*State, Path("short.dts"), "");
    EXPECT_EQ(result.Processed, 0);
    EXPECT_TRUE(result.LastStamp.empty());
    EXPECT_TRUE(FileText(Path("short.dts")).empty());
}

TEST_F(RecordingTest, NeverReadsPastTheImage)
{
    // Whatever ByteCount claims, the export stays within the 65,536 bytes.
    State->ByteCount = 1 << 20;
    const lb::TRecordingResult result = lb::ExportRecording(*State, Path("big.dts"), "");
    EXPECT_EQ(result.Written, 5461);
}

} // namespace
