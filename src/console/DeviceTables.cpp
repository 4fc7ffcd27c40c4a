#include "DeviceTables.h"

#include "Format.h"
#include "MemoryImage.h"

namespace logbridge {

const std::array<std::string_view, PeriodCount> PeriodNames = {
    "2 sekunde", "10 sekundi ", "30 sekundi", "1 minut", "5 minuta",
    "10 minuta", "20 minuta",   "30 minuta",  "1 sat",   "5 sati",
};

const std::array<std::string_view, PeriodCount> PeriodShortNames = {
    "2 sec", "10 sec ", "30 sec", "1 min", "5 min", "10 min", "20 min", "30 min", "1 sat", "5 sati",
};

const std::array<std::string_view, PeriodCount> MemoryDurations = {
    "3 sata",  "15 sati", "45 sati",  "3 dana",   "18 dana",
    "37 dana", "75 dana", "113 dana", "227 dana", "3 godine",
};

namespace {

std::string Entry(const std::array<std::string_view, PeriodCount> &Table, int Code)
{
    return IsPeriodCode(Code) ? std::string(Table[Code]) : std::string("---");
}

} // namespace

bool IsPeriodCode(int Code)
{
    return Code >= 0 && Code < PeriodCount;
}

std::string PeriodName(int Code)
{
    return Entry(PeriodNames, Code);
}

std::string PeriodDisplayText(int Code)
{
    return "Period: " + Entry(PeriodShortNames, Code);
}

std::string MemoryDurationText(int Index)
{
    return "Memorija za: " + Entry(MemoryDurations, Index);
}

std::string MemoryUsedText(int Used)
{
    return "Zauzeto: " + FormatFloat("000", Used / double(RecordSize)) + "/" +
           FormatFloat("000", MemorySize / double(RecordSize)) + " rec";
}

std::string MemoryPercentText(int Used)
{
    const double p = Used / double(MemorySize) * 100;
    if (p != 0)
        return "Mem: " + FormatFloat("000.00", p) + "%";
    return "Mem: prazna";
}

std::string RecordCountText(int Reply)
{
    return FormatFloat("000", Reply - 1) + " zapisa";
}

} // namespace logbridge
