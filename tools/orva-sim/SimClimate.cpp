#include "SimClimate.h"

#include <algorithm>
#include <cmath>

namespace orvasim {

namespace {

constexpr double HumidityLinear = 0.0405;
constexpr double HumidityOffset = -4.0;
constexpr double HumidityQuadratic = -0.0000028;

uint16_t ClampRaw(double Value)
{
    return uint16_t(std::clamp(std::lround(Value), 0L, 65535L));
}

struct TDrift {
    double Mean;
    double Spread;    // standard deviation the value settles to
    double SettleSec; // time constant of the pull back to the mean
};

constexpr TDrift TemperatureDrift{22.0, 2.5, 2 * 3600.0};
constexpr double MinHumidity = 5.0;
constexpr double MaxHumidity = 95.0;
constexpr TDrift HumidityDrift{50.0, 10.0, 3 * 3600.0};

double Step(double Value, const TDrift &Drift, double Seconds, std::mt19937_64 &Random)
{
    const double keep = std::exp(-Seconds / Drift.SettleSec);
    std::normal_distribution<double> noise(0.0, Drift.Spread * std::sqrt(1.0 - keep * keep));
    return Drift.Mean + (Value - Drift.Mean) * keep + noise(Random);
}

} // namespace

double RawToTemperature(uint16_t Raw)
{
    return Raw * 0.01 - 40.0;
}

double RawToHumidity(uint16_t Raw)
{
    return Raw * HumidityLinear + HumidityOffset + Raw * HumidityQuadratic * Raw;
}

uint16_t TemperatureToRaw(double Celsius)
{
    return ClampRaw((Celsius + 40.0) * 100.0);
}

uint16_t HumidityToRaw(double Percent)
{
    // The lower root of the quadratic; the curve peaks far above 100 %.
    const double c = HumidityOffset - std::clamp(Percent, HumidityOffset, 100.0);
    const double a = HumidityQuadratic;
    const double b = HumidityLinear;
    return ClampRaw((-b + std::sqrt(b * b - 4 * a * c)) / (2 * a));
}

TClimate::TClimate(uint64_t Seed) : FRandom(Seed)
{
    FTemperature = Step(TemperatureDrift.Mean, TemperatureDrift, 1e9, FRandom);
    FHumidity =
        std::clamp(Step(HumidityDrift.Mean, HumidityDrift, 1e9, FRandom), MinHumidity, MaxHumidity);
}

void TClimate::Advance(double Seconds)
{
    if (Seconds <= 0)
        return;
    FTemperature = Step(FTemperature, TemperatureDrift, Seconds, FRandom);
    FHumidity =
        std::clamp(Step(FHumidity, HumidityDrift, Seconds, FRandom), MinHumidity, MaxHumidity);
}

} // namespace orvasim
