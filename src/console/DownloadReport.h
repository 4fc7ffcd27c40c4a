#pragma once
// The RTF report of a memory image: "last_bin.rtf" after a download,
// "last_open.rtf" after a memory image file was loaded. 8-bit text, one
// piece per line, each line ended by CR LF.

#include "DateTime.h"
#include "MemoryImage.h"

#include <functional>
#include <string>

namespace logbridge {

enum class TReportKind {
    rkDownload, // the download image; ByteCount from the device; with extremes
    rkLoad,     // a loaded file; ByteCount is its size
};

// The records a report lists and where its end record (KRAJ) starts. A
// download lists ByteCount div 12 records and ends at ByteCount - 12; a
// loaded file of S bytes lists the (S - 1) div 12 records that end before
// its last byte and ends at S - 13, so a saved download reads back the same.
struct TReportRange {
    int Records = 0;
    int EndOffset = 0;
};
TReportRange ReportRange(TReportKind Kind, int32_t ByteCount);

// Over the listed records; a value replaces a bound only when strictly
// beyond it, from minima of 100 and maxima of 0.
struct TExtremes {
    double MinTemperature = 100.0;
    double MinHumidity = 100.0;
    double MaxTemperature = 0.0;
    double MaxHumidity = 0.0;
};
TExtremes ReportExtremes(const TImageBuffer &Image, int Records);

// The report text. Now is the time of writing; Progress, when set, gets the
// number of records written so far before each record (ProgressCyl1).
std::string ReportText(TReportKind Kind, const TImageBuffer &Image, int32_t ByteCount,
                       TDateTime Now, const std::function<void(int)> &Progress = {});

// Writes the report of the last download (DownloadBuffer) to
// ProgramFolder + "/last_bin.rtf" and returns that path.
std::string WriteDownloadReportFile(const TConsoleState &State, const std::string &ProgramFolder,
                                    TDateTime Now, const std::function<void(int)> &Progress = {});
// Writes the report of a loaded image of ByteCount bytes to
// ProgramFolder + "/last_open.rtf" and returns that path.
std::string WriteLoadReportFile(const TImageBuffer &Image, int32_t ByteCount,
                                const std::string &ProgramFolder, TDateTime Now,
                                const std::function<void(int)> &Progress = {});

} // namespace logbridge
