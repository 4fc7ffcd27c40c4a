// Memory images as records alone, many times faster than the whole report:
// any bytes go through loading, then every record through its values, its
// stamp and its recording record.
#include "BinLoad.h"
#include "DtsExport.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    using namespace logbridge;
    static auto state = std::make_unique<TConsoleState>();
    if (!LoadFuzzImage(*state, Data, Size))
        return 0;

    const int count = RecordCount(state->ByteCount);
    if (count != int(Size / RecordSize))
        std::abort();
    for (int k = 0; k < count; ++k) {
        const MemoryRecord r = ReadMemoryRecord(state->WorkBuffer, k);
        if (std::memcmp(&r, Data + std::size_t(k) * RecordSize, RecordSize) != 0)
            std::abort();
        if (!std::isfinite(r.Temperature()) || !std::isfinite(r.Humidity()))
            std::abort();
    }

    // Every record as a recording record with its stamp, from the start or
    // from a stamp the input may hold.
    const std::string start(reinterpret_cast<const char *>(Data), Size < 23 ? Size : 23);
    TRecordingResult result;
    const std::string bytes = RecordingBytes(state->WorkBuffer, state->ByteCount, start, result);
    if (bytes.size() != std::size_t(result.Written) * DtsRecordSize || result.Processed != count ||
        result.Written > count)
        std::abort();
    if (count > 0) {
        const MemoryRecord last = ReadMemoryRecord(state->WorkBuffer, count - 1);
        if (result.LastStamp != RecordStamp(last) || result.LastStamp.size() < 23)
            std::abort();
    }
    return 0;
}
