#include "DownloadReport.h"
#include "Records.h"

#include <gtest/gtest.h>

#include <vector>

using namespace logbridge;

namespace {

// The report of the two records below as the download writes it, one line
// per line, "~" for the degree sign. Lines marked "!" are the extremes,
// which the load report leaves out; "@" stands for the word of the header.
const char *const TwoRecordReport =
    R"({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fswiss MS Sans Serif;}{\f1\froman\fcharset2 Symbol;}{\f2\fswiss\fcharset1 MS Sans Serif;}{\f3\fswiss\fcharset1 MS Sans Serif;}}
{\colortbl\red0\green0\blue0;\red0\green0\blue255;\red255\green0\blue0;\red0\green128\blue0;\red128\green128\blue128;\red128\green0\blue0;}
\deflang1033\plain\f3\fs20\cf0\b
\cf5
================================================
\par
@08.12.2007 [14:20:00]
\par
Podaci o zapisu: 
\par     POCETAK: 
08.12.2007.  [14:05:30]    
\par     KRAJ:      
   08.12.2007.  [14:10:30]    
!\par Ekstremne vrednosti:
!\par
!    Minimum: -05.30~C  -04.00 %RH
!\par
!    Maximum:22.50~C  50.00 %RH
!\par
================================================
\par
\par
\plain\f3\fs20\cf0\b
08.12.2007.  
\plain\f3\fs20\cf1\b[
14:05:30]    
\cf2
22.50~C   
\cf3
50.00 %RH  
\cf4
000
\par
\plain\f3\fs20\cf0\b
08.12.2007.  
\plain\f3\fs20\cf1\b[
14:10:30]    
\cf2
-5.30~C   
\cf3
-4.00 %RH  
\cf4
-001
\par
\par }
)";

std::string Report(const std::string &Done, bool Extremes)
{
    std::string out;
    std::string line;
    for (const char *c = TwoRecordReport; *c; ++c) {
        if (*c != '\n') {
            line += *c == '~' ? '\xB0' : *c;
            continue;
        }
        if (line[0] == '!' && !Extremes) {
            line.clear();
            continue;
        }
        if (line[0] == '!')
            line.erase(0, 1);
        if (line[0] == '@')
            line.replace(0, 1, Done);
        out += line + "\r\n";
        line.clear();
    }
    return out;
}

// Two records of 8 December 2007: 14:05:30, 22.50 °C, 50.00 %, run 0;
// 14:10:30, -5.30 °C, -4.00 %, byte 10 zero.
void PutTwoRecords(TImageBuffer &Image)
{
    PutRecord(Image, 0, TSample{});
    TSample cold;
    cold.Minute = 10;
    cold.Humidity = 0;
    cold.Temperature = 3470;
    cold.Run = 0;
    PutRecord(Image, 1, cold);
}

TDateTime WrittenAt()
{
    return EncodeDate(2007, 12, 8) + EncodeTime(14, 20, 0, 0);
}

class ReportTest : public ::testing::Test {
protected:
    std::unique_ptr<TConsoleState> State = NewState();
    QTemporaryDir Dir;
};

TEST_F(ReportTest, DownloadOfTwoRecords)
{
    PutTwoRecords(State->DownloadBuffer);
    State->ByteCount = 24;
    std::vector<int> progress;
    const std::string path = WriteDownloadReportFile(*State, Dir.path().toStdString(), WrittenAt(),
                                                     [&](int n) { progress.push_back(n); });
    EXPECT_EQ(path, TempPath(Dir, "last_bin.rtf"));
    EXPECT_EQ(FileText(path), Report("Darazev izvrsena: ", true));
    EXPECT_EQ(progress, (std::vector<int>{0, 1}));
}

TEST_F(ReportTest, LoadedSaveReadsLikeTheDownload)
{
    // The saved download: 24 bytes and the one after them.
    PutTwoRecords(State->WorkBuffer);
    State->WorkBuffer[24] = 0x33;
    State->ByteCount = 25;
    const std::string path = WriteLoadReportFile(State->WorkBuffer, State->ByteCount,
                                                 Dir.path().toStdString(), WrittenAt());
    EXPECT_EQ(path, TempPath(Dir, "last_open.rtf"));
    EXPECT_EQ(FileText(path), Report("Export izvrsen: ", false));
}

TEST_F(ReportTest, NoRecordNoHeader)
{
    const std::string full = Report("", false);
    const std::string bare = full.substr(0, full.find("\\cf5")) + "\\par }\r\n";
    for (int size : {0, 1, 12}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(ReportText(TReportKind::rkLoad, State->WorkBuffer, size, WrittenAt()), bare);
    }
    for (int size : {0, 11}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(ReportText(TReportKind::rkDownload, State->DownloadBuffer, size, WrittenAt()),
                  bare);
    }
}

TEST(ReportRange, RecordsAndEnd)
{
    // A file of exactly 12m bytes lists m - 1 records.
    EXPECT_EQ(ReportRange(TReportKind::rkLoad, 36).Records, 2);
    EXPECT_EQ(ReportRange(TReportKind::rkDownload, 36).Records, 3);
    // Full memory: 5,461 records, the last one ending before the 3 spare bytes.
    EXPECT_EQ(ReportRange(TReportKind::rkDownload, 65535).Records, 5461);
    EXPECT_EQ(ReportRange(TReportKind::rkLoad, 65536).Records, 5461);
    EXPECT_EQ(ReportRange(TReportKind::rkLoad, 65536).EndOffset, 65523);
}

TEST_F(ReportTest, EndStampStraddlesTwoRecords)
{
    // 30 bytes: two records listed, KRAJ from bytes 18..29.
    TImageBuffer &image = State->DownloadBuffer;
    for (int i = 0; i < 36; ++i)
        image[i] = uint8_t(i + 1);
    const std::string text = ReportText(TReportKind::rkDownload, image, 30, WrittenAt());
    EXPECT_NE(text.find("   19.20.2021.  [22:23:24]    \r\n"), std::string::npos);
    EXPECT_EQ(text.find("25.26.2027"), std::string::npos); // record 2 is not listed
}

TEST(ReportExtremes, StartValuesBoundTheResult)
{
    TImageBuffer image{};
    TSample s;
    s.Temperature = 3000; // -10 °C
    s.Humidity = 0;       // -4 %
    PutRecord(image, 0, s);
    s.Temperature = 3500;
    PutRecord(image, 1, s);
    TExtremes e = ReportExtremes(image, 2);
    EXPECT_DOUBLE_EQ(e.MinTemperature, -10);
    EXPECT_DOUBLE_EQ(e.MaxTemperature, 0); // nothing above the start value
    EXPECT_DOUBLE_EQ(e.MaxHumidity, 0);
    EXPECT_DOUBLE_EQ(e.MinHumidity, -4);

    s.Temperature = 15000; // 110 °C
    s.Humidity = 7232;     // about 142 %
    PutRecord(image, 0, s);
    const std::string text = ReportText(TReportKind::rkDownload, image, 12, 0);
    EXPECT_NE(text.find("    Minimum: 100.00\xB0"
                        "C  100.00 %RH\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("    Maximum:110.00\xB0"
                        "C  142.45 %RH\r\n"),
              std::string::npos);
}

} // namespace
