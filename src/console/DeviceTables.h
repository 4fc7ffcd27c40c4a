#pragma once
// The sampling-period tables, indexed by the period code 0..9 that the
// device reports with "P", and the texts of the memory-use read.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace logbridge {

constexpr int PeriodCount = 10;

// Exactly as shown; "10 sekundi " and "10 sec " keep their trailing blank.
extern const std::array<std::string_view, PeriodCount> PeriodNames;
extern const std::array<std::string_view, PeriodCount> PeriodShortNames;
// How long the memory lasts at each period (5,461 records).
extern const std::array<std::string_view, PeriodCount> MemoryDurations;

bool IsPeriodCode(int Code);

// The per-code texts. A code outside 0..9 (a device answering with an
// unknown code, or no choice in the period list) shows "---" in place of
// the table entry instead of reading past the table.
std::string PeriodName(int Code);          // Edit1
std::string PeriodDisplayText(int Code);   // LCDLabel4: "Period: " + short name
std::string MemoryDurationText(int Index); // Label31: "Memorija za: " + duration

// Label14 after "A"/"a": "Zauzeto: " + used/12 + "/" + 5461 + " rec".
std::string MemoryUsedText(int Used);
// LCDLabel5: "Mem: " + percent of 65,535 with "000.00" + "%", or "Mem: prazna".
std::string MemoryPercentText(int Used);
// Edit2 after "N": the reply minus one with "000", then " zapisa".
std::string RecordCountText(int Reply);

} // namespace logbridge
