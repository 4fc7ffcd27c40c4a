#pragma once
// The program's shared pseudo-random generator: a 32-bit linear congruential
// sequence that starts at seed 0 and is never re-seeded, so every run draws
// the same numbers.

#include <cstdint>

// The generator's state; tests may read it or put it back to 0.
extern uint32_t RandSeed;

// Advances the seed (seed * 134775813 + 1 mod 2^32) and returns a uniform
// integer in 0 .. Range - 1, taken from the high half of Range * seed;
// 0 for Range 0.
int32_t Random(int32_t Range);
