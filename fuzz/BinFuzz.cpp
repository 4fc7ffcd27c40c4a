// Memory images are files a user can hand in: any bytes go through loading,
// both reports and the recording export, with any start text.
#include "BinLoad.h"
#include "DownloadReport.h"
#include "DtsExport.h"
#include "MemoryImage.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    using namespace logbridge;
    static auto state = std::make_unique<TConsoleState>();
    if (!LoadFuzzImage(*state, Data, Size))
        return 0;

    (void)ReportText(TReportKind::rkLoad, state->WorkBuffer, state->ByteCount, 0);
    // The same bytes as a download whose announced size comes from the first
    // two bytes: mostly near the input's size, now and then far beyond any
    // image (a full image takes long to report, so not every time).
    int32_t announced = Size >= 2 ? (Data[0] * 256 + Data[1]) % int32_t(Size + 14) : 0;
    if (Size >= 2 && Data[0] == 0xA5)
        announced = Data[1] == 0x5A ? INT32_MAX : 65535;
    state->ByteCount = announced;
    StoreDownload(*state, Data, Size);
    (void)ReportText(TReportKind::rkDownload, state->DownloadBuffer, state->ByteCount, 0);

    const std::string start(reinterpret_cast<const char *>(Data), Size < 40 ? Size : 40);
    TRecordingResult result;
    const std::string bytes = RecordingBytes(state->WorkBuffer, announced, start, result);
    if (bytes.size() != std::size_t(result.Written) * DtsRecordSize ||
        result.Processed != RecordCount(announced))
        std::abort();
    return 0;
}
