#include "Random.h"

uint32_t RandSeed = 0;

int32_t Random(int32_t Range)
{
    RandSeed = RandSeed * 134775813u + 1u;
    return static_cast<int32_t>((static_cast<uint64_t>(static_cast<uint32_t>(Range)) * RandSeed) >>
                                32);
}
