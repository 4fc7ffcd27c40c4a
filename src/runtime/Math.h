#pragma once
// Integer arithmetic and rounding as the runtime and the platform do it.

#include <cstdint>

// A * B / C with a 64-bit intermediate, rounded to the nearest integer with
// halves away from zero. Returns -1 when C is 0 or the result does not fit
// in 32 bits, as the platform call does.
int32_t MulDiv(int32_t A, int32_t B, int32_t C);

// Nearest integer, halves to the even neighbour (the runtime's Round).
int64_t Round(double X);
inline int64_t RoundHalfEven(double X)
{
    return Round(X);
}

// Integer part, toward zero.
int64_t Trunc(double X);
