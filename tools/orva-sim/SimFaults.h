#pragma once
// Faults of the line or the logger, switched on for tests, and how a
// response goes out on the line under them.

#include "SimDevice.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace orvasim {

struct TFaults {
    bool Silent = false;  // the logger is off: commands are neither acted on nor answered
    uint32_t LateMs = 0;  // everything it sends goes out this much later
    bool Garbage = false; // every reply byte is replaced by its complement
    std::optional<size_t> StreamLimit; // the memory transfer breaks off after this many bytes
    bool operator==(const TFaults &) const = default;
};

// Bytes bound for the line, not to go out before DueMs.
struct TChunk {
    int64_t DueMs = 0;
    std::vector<uint8_t> Bytes;
    bool Stream = false; // part of a memory transfer, which a new command ends
};

// The chunks a response sends at NowMs: the reply first, then the transfer.
std::vector<TChunk> Transmit(const TResponse &Response, const TFaults &Faults, int64_t NowMs);

} // namespace orvasim
