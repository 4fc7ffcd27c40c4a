#include "LiveValues.h"

#include "Format.h"

#include <cmath>

namespace logbridge {

double WordToTemperature(uint16_t St)
{
    return St * 0.01 - 40;
}

double WordToFahrenheit(uint16_t St)
{
    return St * 0.018 - 40;
}

double WordToHumidity(uint16_t Srh)
{
    const double s = Srh;
    return s * 0.0405 - 4 + s * (-0.0000028) * s;
}

double CompensatedHumidity(double T, uint16_t Srh, double RHlin)
{
    return (T - 25) * (Srh * 0.00008 - 0.01) + RHlin;
}

double DewPoint(double T, double RHlin)
{
    const double L = std::log10(RHlin) + 7.5 * T / (237.3 + T) + 0.66077 - 2;
    return (0.66077 - L) * 237.3 / (L - 8.16077);
}

double RawToTemperature(uint8_t High, uint8_t Low)
{
    return WordToTemperature(uint16_t(High * 256 + Low));
}

double RawToHumidity(uint8_t High, uint8_t Low)
{
    return WordToHumidity(uint16_t(High * 256 + Low));
}

TLiveTexts LiveTexts(uint16_t RawTemperature, uint16_t RawHumidity, bool Celsius, bool Compensated)
{
    TLiveTexts out;
    const double T = WordToTemperature(RawTemperature);
    if (Celsius) {
        out.Temperature = FormatFloat("0.00", T);
        out.TemperatureUnit = std::string(1, DegreeSign) + "C";
    } else {
        out.Temperature = FormatFloat("0.00", WordToFahrenheit(RawTemperature));
        out.TemperatureUnit = std::string(1, 'F');
    }
    const double RHlin = WordToHumidity(RawHumidity);
    if (Compensated) {
        out.Humidity = FormatFloat("0.00", CompensatedHumidity(T, RawHumidity, RHlin));
        out.HumidityCaption = "Relativna vlaznost[LIN]:";
    } else {
        out.Humidity = FormatFloat("0.00", RHlin);
        out.HumidityCaption = "Relativna vlaznost:";
    }
    if (RHlin > 0) {
        out.DewPointShown = true;
        out.DewPoint = FormatFloat("0.00", DewPoint(T, RHlin));
    }
    return out;
}

} // namespace logbridge
