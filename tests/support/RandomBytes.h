#pragma once
// Reproducible bytes without structure, for images that must arrive intact.

#include <cstddef>
#include <cstdint>
#include <vector>

inline std::vector<uint8_t> RandomBytes(size_t Size, uint32_t Seed)
{
    std::vector<uint8_t> bytes(Size);
    for (uint8_t &b : bytes) {
        Seed = Seed * 1664525u + 1013904223u;
        b = uint8_t(Seed >> 24);
    }
    return bytes;
}
