#pragma once
// Writes recording files byte by byte from their published layout, so the
// tests do not lean on the reader they check.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

struct Sample {
    int Year = 2007; // written as the device does: the two-digit year itself
    int Month = 12;
    int Day = 8;
    int Hour = 14;
    int Minute = 5;
    int Second = 30;
    double Temperature = 22.5;
    double Humidity = 45.25;
    uint8_t Run = 0;
};

// Days from 30 December 1899 to a date of the proleptic Gregorian calendar.
long DayCount(int Year, int Month, int Day);

// The 56 bytes of one record.
std::vector<unsigned char> EncodeSample(const Sample &S);

// Writes the samples, then Tail extra bytes of garbage.
void WriteDts(const std::string &Path, const std::vector<Sample> &Samples, std::size_t Tail = 0);

// A recording as the logger makes one: samples every Period seconds from
// 1 December 2007, with a daily temperature swing and humidity moving
// against it, run numbers changing every RunLength samples (0 = never).
std::vector<Sample> DaySeries(int Count, int PeriodSeconds, int RunLength = 0);

// One sample a minute from 14:00:30 on 8 December 2007, with the given run
// numbers; each sample's temperature is 20 plus its run number.
std::vector<Sample> RunSamples(std::initializer_list<int> Numbers);
