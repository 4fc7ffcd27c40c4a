#pragma once
// The logger itself, apart from any line: what it answers to each command
// byte, its memory of records, its acquisition, period and clock.
//
// Times are milliseconds of a monotonic clock that the caller supplies and
// that never goes back, so that tests can drive hours of sampling at once.

#include "SimClimate.h"
#include "SimRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvasim {

// Command bytes as the console sends them.
enum : uint8_t {
    cmdPresence = 'E',
    cmdTemperatureHigh = 'T',
    cmdTemperatureLow = 't',
    cmdHumidityHigh = 'H',
    cmdHumidityLow = 'h',
    cmdSamplingState = 'U',
    cmdPeriod = 'P',
    cmdUsedHigh = 'A',
    cmdUsedLow = 'a',
    cmdRecordings = 'N',
    cmdStart = 'G',
    cmdStop = 'g',
    cmdErase = 'C',
    cmdPrepare = 'S',
    cmdSend = 'R',
    cmdClock = 'Y',
    cmdSetPeriodFirst = 0x0A, // + period code
    cmdSetPeriodLast = 0x13,
};

constexpr uint8_t ReplyYes = 'O';
constexpr uint8_t ReplyYesVersion3 = 'o'; // presence of a version 3.x device
constexpr uint8_t ReplyNo = 'N';

constexpr int PeriodCount = 10;
// Seconds between samples for a period code 0..9.
int PeriodSeconds(int Code);

constexpr int MaxRuns = 254; // the run byte holds run + 1

struct TDeviceOptions {
    int Variant = 2; // 1: answers presence with "O"; 2: version 3.x, "o", and sets its period
    bool Sampling = false;
    int PeriodCode = 0;
    int Records = 0; // preloaded, spread over several runs that end before now
    uint64_t Seed = 1;
    std::optional<int64_t> Clock; // the clock at start; the host's local time if unset
};

struct TResponse {
    std::vector<uint8_t> Reply;
    bool Streams = false;        // the memory transfer begins
    std::vector<uint8_t> Stream; // the bytes of the transfer
    std::string Event;           // what a person beside the logger would notice
};

class TDevice {
public:
    // Throws std::invalid_argument for a variant other than 1 or 2, a period
    // code outside 0..9, or more preloaded records than the memory holds.
    TDevice(const TDeviceOptions &Options, int64_t NowMs);

    TResponse Handle(uint8_t Byte, int64_t NowMs);
    // Takes the samples that are due by NowMs.
    void Advance(int64_t NowMs);
    // When the next sample is due; -1 while not sampling.
    int64_t NextSampleMs() const { return FSampling ? FNextSampleMs : -1; }

    // The bytes in use.
    const std::vector<uint8_t> &Memory() const { return FMemory; }
    // Replaces the memory (at most MemorySize bytes, else std::invalid_argument)
    // and takes the run count from its last whole record.
    void LoadMemory(std::vector<uint8_t> Bytes);

    int Variant() const { return FVariant; }
    bool Sampling() const { return FSampling; }
    int PeriodCode() const { return FPeriodCode; }
    int Runs() const { return FRuns; }
    int64_t ClockSeconds(int64_t NowMs) const;

private:
    void Preload(int Count, uint64_t Seed, int64_t NowMs);
    void Start(int64_t NowMs, TResponse &Response);
    void TakeSample(int64_t AtMs);
    bool HasRoom() const { return FMemory.size() + RecordSize <= MemorySize; }
    void ClockByte(uint8_t Byte, int64_t NowMs, TResponse &Response);
    uint16_t Latch(std::optional<uint16_t> &Latched, uint16_t Fresh, bool High);
    void UpdateClimate(int64_t NowMs);

    int FVariant;
    bool FSampling = false;
    int FPeriodCode;
    int FRuns = 0;
    int64_t FNextSampleMs = 0;
    std::vector<uint8_t> FMemory;

    int64_t FClockBase; // clock reading at FClockRefMs
    int64_t FClockRefMs;
    std::vector<uint8_t> FClockBytes;
    bool FClockPending = false;
    int64_t FClockLastMs = 0;

    TClimate FClimate;
    int64_t FClimateMs;
    // A word is read as two commands; the high byte's request fixes the word
    // so that a value moving in between cannot mix two readings.
    std::optional<uint16_t> FTemperatureWord, FHumidityWord, FUsedWord;
};

} // namespace orvasim
