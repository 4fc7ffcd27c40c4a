#include "Recording.h"

#include "Chart.h"
#include "Controls.h"

#include "Format.h"

#include <cmath>

namespace {

// The day counts of 1 January 1 and 31 December 9999.
constexpr double FirstDay = -693593;
constexpr double LastDay = 2958465;

std::string SlotStamp(const TPointTable &T, int Slot)
{
    return PointStamp(T.RecordDate[Slot], T.RecordTime[Slot]);
}

} // namespace

TPointTable::TPointTable()
    : TemperatureRounded(MaxPoints + 1), Temperature(MaxPoints + 1), HumidityRounded(MaxPoints + 1),
      Humidity(MaxPoints + 1), RecordDate(MaxPoints + 1), RecordTime(MaxPoints + 1),
      RunNumber(MaxPoints + 1)
{
}

void TPointTable::Store(int Slot, const DtsRecord &R)
{
    TemperatureRounded[Slot] = R.TemperatureRounded;
    Temperature[Slot] = R.Temperature;
    HumidityRounded[Slot] = R.HumidityRounded;
    Humidity[Slot] = R.Humidity;
    RecordDate[Slot] = R.RecordDate;
    RecordTime[Slot] = R.RecordTime;
    RunNumber[Slot] = R.RunNumber;
}

std::string DateText(double RecordDate)
{
    // A file can hold anything; a day count outside the calendar shows as
    // such instead of as some wrapped date.
    if (!std::isfinite(RecordDate) || RecordDate < FirstDay || RecordDate >= LastDay + 1)
        return "??.??.20??";
    return FormatDateTime("dd.mm.20yy", std::trunc(RecordDate));
}

std::string TimeText(double RecordTime)
{
    if (!std::isfinite(RecordTime) || std::fabs(RecordTime) >= LastDay + 1)
        return "??:??:??";
    return FormatDateTime("hh:mm:ss", RecordTime - std::trunc(RecordTime));
}

std::string PointStamp(double RecordDate, double RecordTime)
{
    return DateText(RecordDate) + " [" + TimeText(RecordTime) + "]";
}

std::string PointLabel(double RecordDate, double RecordTime)
{
    return DateText(RecordDate) + "\r [" + TimeText(RecordTime) + "]";
}

std::string RunText(uint8_t RunNumber)
{
    return FormatFloat("000", RunNumber);
}

std::string CountText(int Count)
{
    return "Ukupno tacaka: " + std::to_string(Count);
}

std::vector<std::string> RunList(const std::vector<DtsRecord> &Records)
{
    std::vector<std::string> runs;
    uint8_t previous = 0;
    for (const DtsRecord &r : Records)
        if (r.RunNumber != previous) {
            previous = r.RunNumber;
            runs.push_back(RunText(previous));
        }
    return runs;
}

TLoadInfo TRecording::Load(const std::string &Path, const TReadProgress &Progress)
{
    const DtsFileContents file = ReadDtsFile(Path, MaxPoints, Progress);
    const int count = int(file.Records.size());
    for (int k = 1; k <= count; ++k)
        PointTable.Store(k, file.Records[k - 1]);
    // Slots past the new count keep nothing of an earlier, longer file, so
    // that no reader can mistake them for points.
    for (int k = count + 1; k <= PointCount; ++k)
        PointTable.Store(k, DtsRecord{});
    PointCount = count;
    DataFilePath = Path;
    const auto slash = Path.find_last_of('/');
    DataFileName = slash == std::string::npos ? Path : Path.substr(slash + 1);
    Runs = RunList(file.Records);
    return {file.RecordsInFile, file.RecordsInFile > file.Records.size()};
}

std::string TRecording::StartText(int Slot) const
{
    return "Start: " + (PointCount > 0 ? SlotStamp(PointTable, Slot) : std::string());
}

std::string TRecording::EndText(int Slot) const
{
    return "End  : " + (PointCount > 0 ? SlotStamp(PointTable, Slot) : std::string());
}

std::string TRecording::CutMessage(std::size_t RecordsInFile) const
{
    return "Fajl " + DataFileName + " ima " + std::to_string(RecordsInFile) +
           " zapisa; prikazano je prvih " + std::to_string(MaxPoints) + ".";
}

void PlotAll(const TRecording &Data, TLineSeries &Temperature, TLineSeries &Humidity)
{
    const TPointTable &t = Data.PointTable;
    Temperature.Clear();
    Humidity.Clear();
    Temperature.Reserve(Data.PointCount);
    Humidity.Reserve(Data.PointCount);
    for (int k = 1; k <= Data.PointCount; ++k) {
        const std::string label = PointLabel(t.RecordDate[k], t.RecordTime[k]);
        Temperature.Add(t.Temperature[k], label, Temperature.SeriesColor());
        Humidity.Add(t.Humidity[k], label, Humidity.SeriesColor());
    }
}

TRunSelection PlotRun(const TRecording &Data, const std::string &Text, TLineSeries &Temperature,
                      TLineSeries &Humidity, const std::function<void(int)> &Progress)
{
    const TPointTable &t = Data.PointTable;
    Temperature.Clear();
    Humidity.Clear();
    TRunSelection sel;
    for (int k = 1; k <= Data.PointCount; ++k) {
        if (Progress)
            Progress(k);
        if (RunText(t.RunNumber[k]) != Text)
            continue;
        if (sel.Count == 0)
            sel.FirstSlot = k;
        sel.LastSlot = k;
        ++sel.Count;
        const std::string label = SlotStamp(t, k);
        Temperature.Add(t.Temperature[k], label, Temperature.SeriesColor());
        Humidity.Add(t.Humidity[k], label, Humidity.SeriesColor());
    }
    return sel;
}

std::string HandOverFile(const std::vector<std::string> &Arguments,
                         const std::string &ProgramFolder)
{
    if (Arguments.size() < 2 || Arguments[1] != "/av")
        return {};
    return ProgramFolder + "/temp.dts";
}

int KeypadPointsPerPage(int Current, int Key)
{
    if (Key == VK_ADD)
        return Current + 10;
    if (Key == VK_SUBTRACT && Current >= 10)
        return Current - 10;
    return Current;
}
