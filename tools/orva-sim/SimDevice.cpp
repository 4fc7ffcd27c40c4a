#include "SimDevice.h"

#include "SimClock.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <stdexcept>

namespace orvasim {

namespace {

constexpr int Periods[PeriodCount] = {2, 10, 30, 60, 300, 600, 1200, 1800, 3600, 18000};

// The console sends the clock bytes 2 s after "Y" and 50 ms apart; a byte
// later than this after the one before is a command again.
constexpr int64_t ClockByteWindowMs = 5000;

std::string FormatClock(int64_t Seconds)
{
    const TCivilTime t = SecondsToCivil(Seconds);
    char text[40];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", t.Day, t.Month, t.Year,
                  t.Hour, t.Minute, t.Second);
    return text;
}

void AppendRecord(std::vector<uint8_t> &Memory, int64_t At, const TClimate &Climate, int RunPlusOne)
{
    const TCivilTime t = SecondsToCivil(At);
    TRecord r;
    r.Day = uint8_t(t.Day);
    r.Month = uint8_t(t.Month);
    r.Year = uint8_t(t.Year - 2000);
    r.Hour = uint8_t(t.Hour);
    r.Minute = uint8_t(t.Minute);
    r.Second = uint8_t(t.Second);
    r.RawHumidity = Climate.RawHumidity();
    r.RawTemperature = Climate.RawTemperature();
    r.RunPlusOne = uint8_t(RunPlusOne);
    const auto bytes = r.Encode();
    Memory.insert(Memory.end(), bytes.begin(), bytes.end());
}

} // namespace

int PeriodSeconds(int Code)
{
    if (Code < 0 || Code >= PeriodCount)
        throw std::invalid_argument("period code outside 0..9");
    return Periods[Code];
}

TDevice::TDevice(const TDeviceOptions &Options, int64_t NowMs)
    : FVariant(Options.Variant), FPeriodCode(Options.PeriodCode),
      FClockBase(Options.Clock ? *Options.Clock : LocalNowSeconds()), FClockRefMs(NowMs),
      FClimate(Options.Seed), FClimateMs(NowMs)
{
    if (FVariant != 1 && FVariant != 2)
        throw std::invalid_argument("variant must be 1 or 2");
    PeriodSeconds(FPeriodCode);
    if (Options.Records < 0 || size_t(Options.Records) > MaxRecords)
        throw std::invalid_argument("records outside 0.." + std::to_string(MaxRecords));
    Preload(Options.Records, Options.Seed, NowMs);
    if (Options.Sampling) {
        TResponse ignored;
        Start(NowMs, ignored);
    }
}

int64_t TDevice::ClockSeconds(int64_t NowMs) const
{
    return FClockBase + (NowMs - FClockRefMs) / 1000;
}

void TDevice::Preload(int Count, uint64_t Seed, int64_t NowMs)
{
    std::mt19937_64 random(Seed ^ 0x9E3779B97F4A7C15ull);
    std::vector<int> runs;
    for (int left = Count; left > 0;) {
        int size = std::uniform_int_distribution<int>(20, 200)(random);
        if (size > left || int(runs.size()) == MaxRuns - 1)
            size = left;
        runs.push_back(size);
        left -= size;
    }
    std::vector<int64_t> gaps;
    const int64_t period = PeriodSeconds(FPeriodCode);
    int64_t span = period; // the last record is one period before now
    for (size_t i = 0; i < runs.size(); ++i) {
        gaps.push_back(i == 0 ? 0 : std::uniform_int_distribution<int64_t>(600, 2 * 86400)(random));
        span += gaps.back() + (runs[i] - 1) * period;
    }

    TClimate climate(Seed + 1);
    int64_t at = ClockSeconds(NowMs) - span;
    FMemory.reserve(size_t(Count) * RecordSize);
    for (size_t run = 0; run < runs.size(); ++run) {
        at += gaps[run];
        climate.Advance(double(gaps[run]));
        for (int i = 0; i < runs[run]; ++i) {
            if (i > 0) {
                at += period;
                climate.Advance(double(period));
            }
            AppendRecord(FMemory, at, climate, int(run) + 2); // runs count from 1
        }
    }
    FRuns = int(runs.size());
}

void TDevice::LoadMemory(std::vector<uint8_t> Bytes)
{
    if (Bytes.size() > MemorySize)
        throw std::invalid_argument("more bytes than the memory holds");
    FMemory = std::move(Bytes);
    const size_t records = FMemory.size() / RecordSize;
    FRuns = records == 0 ? 0 : std::max(0, FMemory[(records - 1) * RecordSize + 10] - 1);
}

void TDevice::UpdateClimate(int64_t NowMs)
{
    if (NowMs > FClimateMs) {
        FClimate.Advance((NowMs - FClimateMs) / 1000.0);
        FClimateMs = NowMs;
    }
}

void TDevice::TakeSample(int64_t AtMs)
{
    UpdateClimate(AtMs);
    AppendRecord(FMemory, ClockSeconds(AtMs), FClimate, FRuns + 1);
}

void TDevice::Advance(int64_t NowMs)
{
    while (FSampling && FNextSampleMs <= NowMs) {
        if (!HasRoom()) {
            FSampling = false; // a full memory ends the acquisition
            break;
        }
        TakeSample(FNextSampleMs);
        FNextSampleMs += int64_t(PeriodSeconds(FPeriodCode)) * 1000;
    }
}

void TDevice::Start(int64_t NowMs, TResponse &Response)
{
    if (FSampling)
        return;
    if (!HasRoom()) {
        Response.Event = "memory full, acquisition not started";
        return;
    }
    FRuns = std::min(FRuns + 1, MaxRuns);
    FSampling = true;
    FNextSampleMs = NowMs;
    Advance(NowMs);
    Response.Event = "acquisition started, run " + std::to_string(FRuns);
}

uint16_t TDevice::Latch(std::optional<uint16_t> &Latched, uint16_t Fresh, bool High)
{
    if (High) {
        Latched = Fresh;
        return Fresh >> 8;
    }
    const uint16_t word = Latched.value_or(Fresh);
    Latched.reset();
    return word & 0xFF;
}

void TDevice::ClockByte(uint8_t Byte, int64_t NowMs, TResponse &Response)
{
    FClockBytes.push_back(Byte);
    FClockLastMs = NowMs;
    if (FClockBytes.size() < 6)
        return;
    FClockPending = false;
    const int hour = FClockBytes[0], minute = FClockBytes[1], second = FClockBytes[2];
    const int day = FClockBytes[3], month = FClockBytes[4], year = 2000 + FClockBytes[5];
    const bool valid = hour < 24 && minute < 60 && second <= 60 && month >= 1 && month <= 12 &&
                       year <= 2099 && day >= 1 && day <= DaysInMonth(year, month);
    if (!valid) {
        Response.Event = "clock bytes refused";
        return;
    }
    // The console sends the seconds one ahead for the time the bytes take;
    // 60 carries into the minute.
    FClockBase = CivilToSeconds({year, month, day, hour, minute, 0}) + second;
    FClockRefMs = NowMs;
    Response.Event = "clock set to " + FormatClock(FClockBase) + " (beep)";
}

TResponse TDevice::Handle(uint8_t Byte, int64_t NowMs)
{
    Advance(NowMs);
    TResponse r;
    if (FClockPending && NowMs - FClockLastMs <= ClockByteWindowMs) {
        ClockByte(Byte, NowMs, r);
        return r;
    }
    FClockPending = false;

    auto reply = [&r](int Value) { r.Reply.push_back(uint8_t(Value)); };
    switch (Byte) {
    case cmdPresence: reply(FVariant == 2 ? ReplyYesVersion3 : ReplyYes); break;
    case cmdTemperatureHigh:
    case cmdTemperatureLow:
        UpdateClimate(NowMs);
        reply(Latch(FTemperatureWord, FClimate.RawTemperature(), Byte == cmdTemperatureHigh));
        break;
    case cmdHumidityHigh:
    case cmdHumidityLow:
        UpdateClimate(NowMs);
        reply(Latch(FHumidityWord, FClimate.RawHumidity(), Byte == cmdHumidityHigh));
        break;
    case cmdUsedHigh:
    case cmdUsedLow: reply(Latch(FUsedWord, uint16_t(FMemory.size()), Byte == cmdUsedHigh)); break;
    case cmdSamplingState: reply(FSampling ? ReplyYes : ReplyNo); break;
    case cmdPeriod: reply(FPeriodCode); break;
    case cmdRecordings: reply(std::min(FRuns + 1, 255)); break;
    case cmdStart: Start(NowMs, r); break;
    case cmdStop:
        if (FSampling) {
            FSampling = false;
            r.Event = "acquisition stopped";
        }
        break;
    case cmdErase:
        // The memory cannot be erased under a running acquisition.
        if (FSampling) {
            reply(ReplyNo);
            r.Event = "erase refused while sampling";
        } else {
            FMemory.clear();
            FRuns = 0;
            reply(ReplyYes);
            r.Event = "memory erased";
        }
        break;
    case cmdPrepare: break;
    case cmdSend:
        r.Streams = true;
        r.Stream = FMemory;
        r.Event = "sending " + std::to_string(FMemory.size()) + " bytes";
        break;
    case cmdClock:
        FClockPending = true;
        FClockLastMs = NowMs;
        FClockBytes.clear();
        break;
    default:
        // Only a version 3.x device can change its period; an older one does
        // not know the command and stays silent, as for any unknown byte.
        if (Byte >= cmdSetPeriodFirst && Byte <= cmdSetPeriodLast && FVariant == 2) {
            FPeriodCode = Byte - cmdSetPeriodFirst;
            reply(ReplyYes);
            r.Event = "period set to " + std::to_string(PeriodSeconds(FPeriodCode)) + " s";
        }
        break;
    }
    return r;
}

} // namespace orvasim
