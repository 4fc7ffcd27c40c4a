#pragma once
// The device memory as the console keeps it: 12-byte records from byte 0,
// no header; the console's two images of it and their byte count; memory
// image files ("*.bin"): the image's bytes followed by one more byte.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "SysUtils.h"

namespace logbridge {

constexpr int MemorySize = 65535; // the device memory in bytes
constexpr int RecordSize = 12;    // bytes per MemoryRecord
// An image buffer: the memory and the one byte that a saved file adds.
constexpr std::size_t ImageBufferSize = 65536;
using TImageBuffer = std::array<uint8_t, ImageBufferSize>;

struct MemoryRecord {
    uint8_t Day;
    uint8_t Month;
    uint8_t Year; // minus 2000
    uint8_t Hour;
    uint8_t Minute;
    uint8_t Second;
    uint8_t HumidityHigh;
    uint8_t HumidityLow;
    uint8_t TemperatureHigh;
    uint8_t TemperatureLow;
    uint8_t Run; // recording run number plus 1
    uint8_t Spare;

    double Temperature() const; // °C
    double Humidity() const;    // linear relative humidity, %
    int RunNumber() const { return Run - 1; }
};
static_assert(sizeof(MemoryRecord) == RecordSize);

// The record whose 12 bytes start at Bytes.
MemoryRecord ReadMemoryRecord(const uint8_t *Bytes);
// Record K of an image; the caller keeps 12K + 12 within the image.
inline MemoryRecord ReadMemoryRecord(const TImageBuffer &Image, int K)
{
    return ReadMemoryRecord(Image.data() + std::size_t(K) * RecordSize);
}

// Whole records in an image of ByteCount bytes that fit the buffer.
int RecordCount(int32_t ByteCount);

// The record stamp, "08.12.2007.  [14:05:30]": 23 characters, as each record
// line of the report begins and as the export's start filter looks for it.
// Fields above 99 widen it.
std::string RecordStamp(const MemoryRecord &R);
// Its two halves as the report writes them: the date with its trailing point
// and two blanks, and the bare time "14:05:30".
std::string StampDate(const MemoryRecord &R);
std::string StampTime(const MemoryRecord &R);

// The console's state; it lives as long as the window and starts zeroed.
struct TConsoleState {
    TImageBuffer DownloadBuffer{}; // the memory as the last download received it
    TImageBuffer WorkBuffer{};     // the last download, or the last loaded file
    int32_t ByteCount = 0;         // bytes in the current image
    // WorkBuffer holds a loaded file rather than the last download.
    bool WorkImageLoaded = false;
    uint16_t RawTemperature = 0;
    uint16_t RawHumidity = 0;
    bool DeviceConnected = false;
    bool DownloadActive = false;
    bool SamplingActive = false;
    uint8_t Timer3Ticks = 0;
    uint8_t DeviceVariant = 0; // 1 after "O", 2 after "o"
    bool PortScanDone = false;
    bool CompensatedHumidityShown = false;
};

// The end of a download: stores the Count bytes read from the port (those
// beyond the buffer are dropped) and copies the whole download image into
// the work image. ByteCount stays what the device announced.
void StoreDownload(TConsoleState &State, const uint8_t *Bytes, std::size_t Count);

// The file dialogs of "Snimi BIN" (SaveDialog1) and "Ucitaj BIN" (OpenDialog1).
constexpr const char *BinDefaultExt = "*.bin";
constexpr const char *BinFilter = "Binarni fajlovi|*.bin|All files|*.*";
constexpr const char *BinSaveTitle = "Snimanje BIN fajla";
constexpr const char *BinOpenTitle = "Ucitavanje BIN fajlova";
// Where both dialogs start.
std::string MemoryImageFolder(const std::string &ProgramFolder);

// "Snimi BIN": writes the current image and the byte that follows it, so a
// download of n bytes gives a file of n + 1 bytes. After a load the loaded
// file's bytes are written as they were read (the file already carries its
// extra byte), never the download buffer under the loaded size.
void SaveMemoryImage(const TConsoleState &State, const std::string &Path);
// Label12's caption after a save.
std::string SavedFileCaption(const std::string &Path);

// Raised when a file is longer than the largest image a save writes.
class EMemoryImageTooLarge : public EInOutError {
public:
    explicit EMemoryImageTooLarge(const std::string &Path);
};

// A memory image file read whole, not yet the work image.
struct TImageFile {
    TImageBuffer Bytes{};  // the file's bytes, zeros after them
    int32_t ByteCount = 0; // the file's size
};
// Reads Path, opened for reading only. A file longer than ImageBufferSize
// bytes raises EMemoryImageTooLarge; any failure raises EInOutError.
TImageFile ReadMemoryImage(const std::string &Path);
// Makes Image the work image and its size ByteCount. DownloadBuffer is not
// touched.
void TakeMemoryImage(TConsoleState &State, const TImageFile &Image);
// Both: a failure leaves the state as it was.
void LoadMemoryImage(TConsoleState &State, const std::string &Path);

} // namespace logbridge
