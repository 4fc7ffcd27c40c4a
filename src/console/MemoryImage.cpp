#include "MemoryImage.h"

#include "ConsoleFiles.h"
#include "Format.h"
#include "LiveValues.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace logbridge {

double MemoryRecord::Temperature() const
{
    return RawToTemperature(TemperatureHigh, TemperatureLow);
}

double MemoryRecord::Humidity() const
{
    return RawToHumidity(HumidityHigh, HumidityLow);
}

MemoryRecord ReadMemoryRecord(const uint8_t *Bytes)
{
    MemoryRecord r;
    std::memcpy(&r, Bytes, RecordSize);
    return r;
}

int RecordCount(int32_t ByteCount)
{
    return std::clamp<int32_t>(ByteCount, 0, int32_t(ImageBufferSize)) / RecordSize;
}

namespace {

std::string Two(uint8_t Value)
{
    return FormatFloat("00", Value);
}

} // namespace

std::string StampDate(const MemoryRecord &R)
{
    return Two(R.Day) + "." + Two(R.Month) + ".20" + Two(R.Year) + ".  ";
}

std::string StampTime(const MemoryRecord &R)
{
    return Two(R.Hour) + ":" + Two(R.Minute) + ":" + Two(R.Second);
}

std::string RecordStamp(const MemoryRecord &R)
{
    return StampDate(R) + "[" + StampTime(R) + "]";
}

void StoreDownload(TConsoleState &State, const uint8_t *Bytes, std::size_t Count)
{
    if (Count > 0)
        std::memcpy(State.DownloadBuffer.data(), Bytes, std::min(Count, ImageBufferSize));
    State.WorkBuffer = State.DownloadBuffer;
    State.WorkImageLoaded = false;
}

std::string MemoryImageFolder(const std::string &ProgramFolder)
{
    return ProgramFolder + "/bin_fajlovi";
}

void SaveMemoryImage(const TConsoleState &State, const std::string &Path)
{
    const std::size_t count = std::size_t(std::max<int32_t>(State.ByteCount, 0));
    std::string_view bytes;
    if (State.WorkImageLoaded) {
        bytes = {reinterpret_cast<const char *>(State.WorkBuffer.data()),
                 std::min(count, ImageBufferSize)};
    } else {
        bytes = {reinterpret_cast<const char *>(State.DownloadBuffer.data()),
                 std::min(count + 1, ImageBufferSize)};
    }
    WriteWholeFile(Path, bytes);
}

std::string SavedFileCaption(const std::string &Path)
{
    return "Fajl snimljen: " + ExtractFileName(Path);
}

EMemoryImageTooLarge::EMemoryImageTooLarge(const std::string &Path)
    : EInOutError("Fajl je veci od memorije uredjaja: " + Path, EFBIG)
{
}

TImageFile ReadMemoryImage(const std::string &Path)
{
    bool tooLarge = false;
    const std::string bytes = ReadWholeFile(Path, ImageBufferSize, tooLarge);
    if (tooLarge)
        throw EMemoryImageTooLarge(Path);
    // The tail of the buffer stays zero: nothing of an earlier, longer image
    // may pass for part of this one.
    TImageFile image;
    std::memcpy(image.Bytes.data(), bytes.data(), bytes.size());
    image.ByteCount = int32_t(bytes.size());
    return image;
}

void TakeMemoryImage(TConsoleState &State, const TImageFile &Image)
{
    State.WorkBuffer = Image.Bytes;
    State.ByteCount = Image.ByteCount;
    State.WorkImageLoaded = true;
}

void LoadMemoryImage(TConsoleState &State, const std::string &Path)
{
    TakeMemoryImage(State, ReadMemoryImage(Path));
}

} // namespace logbridge
