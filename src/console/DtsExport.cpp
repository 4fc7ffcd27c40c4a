#include "DtsExport.h"

#include "ConsoleFiles.h"
#include "DateTime.h"
#include "Math.h"

#include <cctype>
#include <cstring>
#include <sstream>
#include <type_traits>

namespace logbridge {

namespace {

template <typename T> void PutLittleEndian(uint8_t *Out, T Value)
{
    uint64_t bits = 0;
    if constexpr (std::is_integral_v<T>)
        bits = std::make_unsigned_t<T>(Value);
    else
        std::memcpy(&bits, &Value, sizeof bits);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        Out[i] = uint8_t(bits >> (8 * i));
}

} // namespace

std::array<uint8_t, DtsRecordSize> EncodeDtsRecord(const DtsRecord &R)
{
    std::array<uint8_t, DtsRecordSize> out{};
    PutLittleEndian(out.data() + 0, R.TemperatureRounded);
    PutLittleEndian(out.data() + 8, R.Temperature);
    PutLittleEndian(out.data() + 16, R.HumidityRounded);
    PutLittleEndian(out.data() + 24, R.Humidity);
    PutLittleEndian(out.data() + 32, R.RecordDate);
    PutLittleEndian(out.data() + 40, R.RecordTime);
    out[48] = R.RunNumber;
    return out;
}

void FillDtsRecord(DtsRecord &Into, const MemoryRecord &From)
{
    Into.Temperature = From.Temperature();
    Into.TemperatureRounded = int32_t(Round(Into.Temperature));
    Into.Humidity = From.Humidity();
    Into.HumidityRounded = int32_t(Round(Into.Humidity));
    // The device keeps two-digit years; a byte above 99 is no device year.
    TDateTime date = 0;
    if (From.Year <= 99 && TryEncodeDate(From.Year, From.Month, From.Day, date)) {
        Into.RecordDate = date;
        TDateTime time = 0;
        if (TryEncodeTime(From.Hour, From.Minute, From.Second, 0, time))
            Into.RecordTime = time;
    }
    Into.RunNumber = uint8_t(From.Run - 1);
}

std::string RecordingBytes(const TImageBuffer &Image, int32_t ByteCount,
                           const std::string &StartText, TRecordingResult &Result)
{
    Result = {};
    std::string out;
    DtsRecord record;
    bool started = false;
    const int count = RecordCount(ByteCount);
    out.reserve(std::size_t(count) * DtsRecordSize);
    for (int k = 0; k < count; ++k) {
        const MemoryRecord m = ReadMemoryRecord(Image, k);
        FillDtsRecord(record, m);
        Result.LastStamp = RecordStamp(m);
        ++Result.Processed;
        if (!StartText.empty() && StartText.find(Result.LastStamp) != std::string::npos)
            started = true;
        if (StartText.empty() || started) {
            const auto bytes = EncodeDtsRecord(record);
            out.append(reinterpret_cast<const char *>(bytes.data()), bytes.size());
            ++Result.Written;
        }
    }
    Result.StartFound = StartText.empty() || started;
    return out;
}

bool IsRecordStamp(const std::string &Text)
{
    static const std::string shape = "##.##.20##.  [##:##:##]";
    if (Text.size() != shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i)
        if (shape[i] == '#' ? !std::isdigit(static_cast<unsigned char>(Text[i]))
                            : Text[i] != shape[i])
            return false;
    return true;
}

TRecordingResult ExportRecording(const TConsoleState &State, const std::string &Path,
                                 const std::string &StartText)
{
    TRecordingResult result;
    const std::string bytes = RecordingBytes(State.WorkBuffer, State.ByteCount, StartText, result);
    if (result.StartFound)
        WriteWholeFile(Path, bytes);
    return result;
}

std::string HandOverPath(const std::string &ProgramFolder)
{
    return ProgramFolder + "/temp.dts";
}

TRecordingResult WriteHandOverRecording(const TConsoleState &State,
                                        const std::string &ProgramFolder,
                                        const std::string &StartText)
{
    return ExportRecording(State, HandOverPath(ProgramFolder), StartText);
}

std::vector<std::string> TViewerStart::Arguments() const
{
    std::vector<std::string> out;
    std::istringstream words(Parameters);
    for (std::string word; words >> word;)
        out.push_back(word);
    return out;
}

TViewerStart ViewerStart(const std::string &ProgramFolder)
{
    return {ProgramFolder + "/Plotview", " /av"};
}

} // namespace logbridge
