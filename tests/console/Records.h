#pragma once
// Memory records written byte by byte from their published layout.

#include "FileText.h"
#include "MemoryImage.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

struct TSample {
    uint8_t Day = 8, Month = 12, Year = 7;
    uint8_t Hour = 14, Minute = 5, Second = 30;
    uint16_t Humidity = 1486;    // 50.00 %
    uint16_t Temperature = 6250; // 22.50 °C
    uint8_t Run = 1;             // run 0
    uint8_t Spare = 0xEE;
};

// Puts S as record K of Image.
inline void PutRecord(logbridge::TImageBuffer &Image, int K, const TSample &S)
{
    uint8_t *p = Image.data() + K * 12;
    // clang-format off
    const uint8_t bytes[12] = {S.Day, S.Month, S.Year, S.Hour, S.Minute, S.Second,
                               uint8_t(S.Humidity >> 8), uint8_t(S.Humidity & 0xFF),
                               uint8_t(S.Temperature >> 8), uint8_t(S.Temperature & 0xFF),
                               S.Run, S.Spare};
    // clang-format on
    std::copy(bytes, bytes + 12, p);
}

// The console state is 128 KiB: kept off the stack.
inline std::unique_ptr<logbridge::TConsoleState> NewState()
{
    return std::make_unique<logbridge::TConsoleState>();
}

inline std::string TempPath(const QTemporaryDir &Dir, const std::string &Name)
{
    return Dir.path().toStdString() + "/" + Name;
}
