#include "Math.h"
#include "Random.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(Random, FollowsTheCongruentialSequenceFromSeedZero)
{
    RandSeed = 0;
    uint64_t seed = 0;
    for (int i = 0; i < 1000; ++i) {
        int32_t range = 1 + i * 7919 % 100000;
        seed = (seed * 134775813u + 1u) & 0xFFFFFFFFu;
        ASSERT_EQ(Random(range), static_cast<int32_t>((static_cast<uint64_t>(range) * seed) >> 32))
            << "draw " << i;
    }
    EXPECT_EQ(RandSeed, seed);
}

TEST(Random, FirstDrawsOfAFreshRun)
{
    RandSeed = 0;
    const int expected[] = {0, 3, 86, 20, 27, 67, 31, 16, 37, 42};
    for (int value : expected)
        EXPECT_EQ(Random(100), value);
}

TEST(Random, RangeZeroGivesZeroButStillAdvances)
{
    RandSeed = 0;
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(RandSeed, 1u);
    for (int i = 0; i < 200; ++i) {
        int32_t r = Random(3);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 3);
    }
}

TEST(MulDiv, RoundsHalvesAwayFromZeroInEverySign)
{
    struct Case {
        int32_t a, b, c, expected;
    };
    const Case cases[] = {
        {1, 39, 64, 1}, {5, 1, 2, 3},     {-5, 1, 2, -3}, {5, -1, 2, -3},
        {5, 1, -2, -3}, {-5, -1, -2, -3}, {7, 1, 3, 2},   {8, 1, 3, 3},
        {-8, 1, 3, -3}, {63, 39, 64, 38}, {0, 5, 7, 0},   {3, 40, 64, 2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

TEST(MulDiv, UsesA64BitIntermediateAndReportsFailures)
{
    EXPECT_EQ(MulDiv(2000000000, 2000000000, 1000000000), -1); // 4e9 does not fit
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
    EXPECT_EQ(MulDiv(1, 2, 0), -1);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-0.5), 0);
    EXPECT_EQ(Round(-1.5), -2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.5000001), 3);
    EXPECT_EQ(Round(-2.6), -3);
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_EQ(Trunc(2.9), 2);
}
