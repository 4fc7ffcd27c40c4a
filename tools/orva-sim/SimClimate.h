#pragma once
// The air the logger's sensor sits in, and the sensor's raw words.
//
// The words convert to physical values with the console's formulas:
// temperature = raw x 0.01 - 40 (degrees C), linear relative humidity =
// raw x 0.0405 - 4 - 0.0000028 x raw^2 (%).

#include <cstdint>
#include <random>

namespace orvasim {

double RawToTemperature(uint16_t Raw);
double RawToHumidity(uint16_t Raw);
// Nearest raw words for a value; values outside what the sensor reports are
// clamped (humidity to -4..100 %).
uint16_t TemperatureToRaw(double Celsius);
uint16_t HumidityToRaw(double Percent);

// Room climate that drifts slowly and randomly around a comfortable mean
// (mean-reverting random walks, exact for any step, so a step of hours is as
// sound as a step of a second). Deterministic for a seed.
class TClimate {
public:
    explicit TClimate(uint64_t Seed);
    void Advance(double Seconds);
    double Temperature() const { return FTemperature; }
    double Humidity() const { return FHumidity; }
    uint16_t RawTemperature() const { return TemperatureToRaw(FTemperature); }
    uint16_t RawHumidity() const { return HumidityToRaw(FHumidity); }

private:
    std::mt19937_64 FRandom;
    double FTemperature;
    double FHumidity;
};

} // namespace orvasim
