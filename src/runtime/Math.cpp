#include "Math.h"

#include <cmath>
#include <cstdlib>
#include <limits>

int32_t MulDiv(int32_t A, int32_t B, int32_t C)
{
    if (C == 0)
        return -1;
    int64_t product = static_cast<int64_t>(A) * B;
    int64_t divisor = C;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    int64_t half = divisor / 2;
    int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (result > std::numeric_limits<int32_t>::max() ||
        result < -std::numeric_limits<int32_t>::max())
        return -1;
    return static_cast<int32_t>(result);
}

int64_t Round(double X)
{
    double floor = std::floor(X);
    double fraction = X - floor;
    if (fraction > 0.5)
        floor += 1.0;
    else if (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)
        floor += 1.0;
    return static_cast<int64_t>(floor);
}

int64_t Trunc(double X)
{
    return static_cast<int64_t>(std::trunc(X));
}
