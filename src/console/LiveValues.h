#pragma once
// The device's raw words as physical values, and the texts of the live view.
// St and Srh are the raw temperature and humidity words, taken unsigned.

#include <cstdint>
#include <string>

namespace logbridge {

// The degree sign of the system code page.
constexpr char DegreeSign = '\xB0';

// °C of a temperature word: St x 0.01 - 40.
double WordToTemperature(uint16_t St);
// °F of the same word: St x 0.018 - 40.
double WordToFahrenheit(uint16_t St);
// Linear relative humidity in %: Srh x 0.0405 - 4 - 0.0000028 x Srh².
double WordToHumidity(uint16_t Srh);
// Humidity corrected for the temperature T in °C.
double CompensatedHumidity(double T, uint16_t Srh, double RHlin);
// Dew point in °C of T (°C) and the linear humidity; meaningful only for
// RHlin above 0.
double DewPoint(double T, double RHlin);

// The same, from the high and low byte of a word as the device sends them.
double RawToTemperature(uint8_t High, uint8_t Low);
double RawToHumidity(uint8_t High, uint8_t Low);

// What the live view shows of one reading.
struct TLiveTexts {
    std::string Temperature;     // LCDLabel1, "0.00"
    std::string TemperatureUnit; // Label28: "°C" or "F"
    std::string Humidity;        // LCDLabel2, linear or compensated
    std::string HumidityCaption; // Label7
    bool DewPointShown = false;  // false: LCDLabel3 keeps its text
    std::string DewPoint;        // LCDLabel3, always from °C
};

// Celsius is the "°C/F" check box; Compensated is CompensatedHumidityShown.
TLiveTexts LiveTexts(uint16_t RawTemperature, uint16_t RawHumidity, bool Celsius, bool Compensated);

} // namespace logbridge
