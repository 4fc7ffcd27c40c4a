#include "DtsWriter.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <stdexcept>

long DayCount(int Year, int Month, int Day)
{
    // Days from civil: shift the year to start in March.
    const int y = Year - (Month <= 2);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (Month + (Month > 2 ? -3 : 9)) + 2) / 5 + Day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long fromEpoch1970 = era * 146097 + doe - 719468;
    return fromEpoch1970 + 25569; // 1 January 1970 is day 25569
}

namespace {
void Put32(std::vector<unsigned char> &B, std::size_t At, int32_t V)
{
    for (int i = 0; i < 4; ++i)
        B[At + i] = static_cast<unsigned char>(uint32_t(V) >> (8 * i));
}

void PutDouble(std::vector<unsigned char> &B, std::size_t At, double V)
{
    uint64_t bits;
    std::memcpy(&bits, &V, 8);
    for (int i = 0; i < 8; ++i)
        B[At + i] = static_cast<unsigned char>(bits >> (8 * i));
}
} // namespace

std::vector<unsigned char> EncodeSample(const Sample &S)
{
    std::vector<unsigned char> b(56, 0);
    Put32(b, 0, int32_t(std::nearbyint(S.Temperature)));
    PutDouble(b, 8, S.Temperature);
    Put32(b, 16, int32_t(std::nearbyint(S.Humidity)));
    PutDouble(b, 24, S.Humidity);
    PutDouble(b, 32, double(DayCount(S.Year % 100, S.Month, S.Day)));
    PutDouble(b, 40, (S.Hour * 3600 + S.Minute * 60 + S.Second) / 86400.0);
    b[48] = S.Run;
    return b;
}

void WriteDts(const std::string &Path, const std::vector<Sample> &Samples, std::size_t Tail)
{
    std::ofstream out(Path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + Path);
    for (const Sample &s : Samples) {
        const auto bytes = EncodeSample(s);
        out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    }
    for (std::size_t i = 0; i < Tail; ++i)
        out.put(char(0x5A));
}

std::vector<Sample> DaySeries(int Count, int PeriodSeconds, int RunLength)
{
    std::vector<Sample> out;
    out.reserve(Count);
    const long start = DayCount(2007, 12, 1);
    for (int i = 0; i < Count; ++i) {
        const long long t = (long long)i * PeriodSeconds;
        const long day = start + long(t / 86400);
        // Back from the day count to a civil date, by walking months.
        Sample s;
        int y = 2007, m = 12;
        long d = day - start + 1;
        for (;;) {
            static const int len[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
            const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
            const int ml = len[m - 1] + (m == 2 && leap);
            if (d <= ml)
                break;
            d -= ml;
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
        s.Year = y;
        s.Month = m;
        s.Day = int(d);
        const int sec = int(t % 86400);
        s.Hour = sec / 3600;
        s.Minute = sec / 60 % 60;
        s.Second = sec % 60;
        const double phase = 2 * M_PI * sec / 86400.0;
        s.Temperature =
            std::round((21 + 4 * std::sin(phase - 2) + 0.6 * std::sin(i * 0.37)) * 100) / 100;
        s.Humidity =
            std::round((55 - 12 * std::sin(phase - 2) + 2 * std::cos(i * 0.11)) * 100) / 100;
        s.Run = RunLength > 0 ? uint8_t(i / RunLength) : 0;
        out.push_back(s);
    }
    return out;
}

std::vector<Sample> RunSamples(std::initializer_list<int> Numbers)
{
    std::vector<Sample> out;
    int minute = 0;
    for (int run : Numbers) {
        Sample s;
        s.Minute = minute++;
        s.Temperature = 20 + run;
        s.Run = uint8_t(run);
        out.push_back(s);
    }
    return out;
}
