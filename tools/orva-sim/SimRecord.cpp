#include "SimRecord.h"

namespace orvasim {

std::array<uint8_t, RecordSize> TRecord::Encode() const
{
    return {Day,
            Month,
            Year,
            Hour,
            Minute,
            Second,
            uint8_t(RawHumidity >> 8),
            uint8_t(RawHumidity),
            uint8_t(RawTemperature >> 8),
            uint8_t(RawTemperature),
            RunPlusOne,
            Spare};
}

TRecord TRecord::Decode(const uint8_t *Bytes)
{
    TRecord r;
    r.Day = Bytes[0];
    r.Month = Bytes[1];
    r.Year = Bytes[2];
    r.Hour = Bytes[3];
    r.Minute = Bytes[4];
    r.Second = Bytes[5];
    r.RawHumidity = uint16_t(Bytes[6] << 8 | Bytes[7]);
    r.RawTemperature = uint16_t(Bytes[8] << 8 | Bytes[9]);
    r.RunPlusOne = Bytes[10];
    r.Spare = Bytes[11];
    return r;
}

} // namespace orvasim
