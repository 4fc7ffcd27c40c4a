#pragma once
// One sample as the logger keeps it. The memory has no header: 12-byte
// records follow each other from byte 0, and whatever is left of the 65,535
// bytes after the last whole record is never used.

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvasim {

constexpr size_t RecordSize = 12;
constexpr size_t MemorySize = 65535;
constexpr size_t MaxRecords = MemorySize / RecordSize;

struct TRecord {
    uint8_t Day = 1;
    uint8_t Month = 1;
    uint8_t Year = 0; // minus 2000
    uint8_t Hour = 0;
    uint8_t Minute = 0;
    uint8_t Second = 0;
    uint16_t RawHumidity = 0;    // stored high byte first
    uint16_t RawTemperature = 0; // stored high byte first
    uint8_t RunPlusOne = 0;      // recording run number + 1
    uint8_t Spare = 0;

    std::array<uint8_t, RecordSize> Encode() const;
    // Bytes must hold RecordSize bytes.
    static TRecord Decode(const uint8_t *Bytes);
    bool operator==(const TRecord &) const = default;
};

} // namespace orvasim
