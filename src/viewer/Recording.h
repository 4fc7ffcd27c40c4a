#pragma once
// The viewer's loaded recording and everything about it that is not window:
// the point table, its texts, the run list and the run filter, and the rules
// for the start-up hand-over and the keypad.

#include "DtsFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TLineSeries;

constexpr int MaxPoints = 65535;

// Seven parallel arrays of MaxPoints + 1 slots, in the record's field order.
// Point k of the loaded file is in slot k (1-based); slot 0 stays zero.
struct TPointTable {
    TPointTable();
    void Store(int Slot, const DtsRecord &R);

    std::vector<int32_t> TemperatureRounded;
    std::vector<double> Temperature;
    std::vector<int32_t> HumidityRounded;
    std::vector<double> Humidity;
    std::vector<double> RecordDate;
    std::vector<double> RecordTime;
    std::vector<uint8_t> RunNumber;
};

// "dd.mm.20yy" of a day count: the stored year is the device's two-digit one.
std::string DateText(double RecordDate);
// "hh:mm:ss" of a fraction of a day.
std::string TimeText(double RecordTime);
// Date, " [", time, "]" on one line.
std::string PointStamp(double RecordDate, double RecordTime);
// The axis label of a point: the date, a carriage return, then " [time]".
std::string PointLabel(double RecordDate, double RecordTime);
// Three digits with leading zeros, as the run list shows run numbers.
std::string RunText(uint8_t RunNumber);
std::string CountText(int Count);

// Runs in the order they start: an entry wherever the run number changes
// from the record before (the first record compares with run 0).
std::vector<std::string> RunList(const std::vector<DtsRecord> &Records);

struct TLoadInfo {
    std::size_t RecordsInFile = 0;
    bool Cut = false; // the file held more records than the table takes
};

class TRecording {
public:
    TPointTable PointTable;
    int PointCount = 0;
    std::string DataFileName; // bare name of the last loaded file, for the title
    std::string DataFilePath; // full path of the same file, for reloading
    std::vector<std::string> Runs;

    // Loads Path whole. On success the table, count, names and runs describe
    // the new file (at most MaxPoints points; more are cut). On failure
    // EInOutError escapes and nothing here changes.
    TLoadInfo Load(const std::string &Path, const TReadProgress &Progress = {});

    std::string StartText(int Slot) const;
    std::string EndText(int Slot) const;
    // The message for a file that was cut to MaxPoints points.
    std::string CutMessage(std::size_t RecordsInFile) const;
};

// Puts every point of the table into the two series, labelled on two lines.
void PlotAll(const TRecording &Data, TLineSeries &Temperature, TLineSeries &Humidity);

struct TRunSelection {
    int Count = 0;
    int FirstSlot = 0; // 0 when nothing matched
    int LastSlot = 0;
};

// Puts the points whose run text equals Text into the two series, labelled
// on one line. Progress gets each slot number as it is examined.
TRunSelection PlotRun(const TRecording &Data, const std::string &Text, TLineSeries &Temperature,
                      TLineSeries &Humidity, const std::function<void(int)> &Progress = {});

// The hand-over file to load at start-up, or empty: only when the first
// argument after the program is exactly "/av".
std::string HandOverFile(const std::vector<std::string> &Arguments,
                         const std::string &ProgramFolder);

// Points per page after a key: keypad + (VK_ADD) adds 10; keypad -
// (VK_SUBTRACT) takes 10 away only when at least 10 remain.
int KeypadPointsPerPage(int Current, int Key);
