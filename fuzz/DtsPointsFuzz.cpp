// Recordings as points alone, many times faster than the whole chart: any
// bytes go through loading into the point table and the run list.
#include "FuzzFile.h"
#include "Recording.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {
bool Same(double A, double B)
{
    return std::memcmp(&A, &B, sizeof A) == 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    // One table for every input, as the viewer keeps one: what a longer
    // file left behind must be gone after a shorter one.
    static auto data = std::make_unique<TRecording>();
    const TLoadInfo info = data->Load(TFuzzFile(Data, Size).Path());

    const std::size_t whole = Size / DtsRecordSize;
    if (info.RecordsInFile != whole || info.Cut != (whole > std::size_t(MaxPoints)) ||
        data->PointCount != int(std::min<std::size_t>(whole, MaxPoints)))
        std::abort();
    const TPointTable &t = data->PointTable;
    std::vector<DtsRecord> records;
    for (int k = 1; k <= data->PointCount; ++k) {
        const DtsRecord r = DecodeDtsRecord(Data + std::size_t(k - 1) * DtsRecordSize);
        if (t.TemperatureRounded[k] != r.TemperatureRounded ||
            !Same(t.Temperature[k], r.Temperature) || t.HumidityRounded[k] != r.HumidityRounded ||
            !Same(t.Humidity[k], r.Humidity) || !Same(t.RecordDate[k], r.RecordDate) ||
            !Same(t.RecordTime[k], r.RecordTime) || t.RunNumber[k] != r.RunNumber)
            std::abort();
        records.push_back(r);
    }
    const int next = data->PointCount + 1;
    if (next <= MaxPoints &&
        (t.TemperatureRounded[next] != 0 || t.RecordDate[next] != 0 || t.RunNumber[next] != 0))
        std::abort();
    if (data->Runs != RunList(records))
        std::abort();
    (void)data->StartText(1);
    (void)data->EndText(data->PointCount);
    return 0;
}
