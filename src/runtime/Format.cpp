#include "Format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

char DecimalSeparator = '.';

namespace {

// Value as decimal digits with the position of the decimal point: digits
// "31416", point 1 means 3.1416.
struct TDecimal {
    std::string Digits;
    int Point = 0;
    bool Negative = false;
};

TDecimal ToDecimal(double Value, int Significant)
{
    TDecimal result;
    result.Negative = std::signbit(Value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", Significant - 1, std::fabs(Value));
    std::string_view text(buffer);
    size_t e = text.find('e');
    for (char c : text.substr(0, e))
        if (c != '.')
            result.Digits += c;
    result.Point = std::atoi(buffer + e + 1) + 1;
    return result;
}

// Rounds to Decimals places after the point, halves away from zero, and
// returns the digits of the integer part and of the fraction.
void RoundDecimal(const TDecimal &D, int Decimals, std::string &IntPart, std::string &Fraction)
{
    // Digits of the whole number D * 10^Decimals, before and after rounding.
    int keep = D.Point + Decimals;
    std::string digits;
    if (keep > 0) {
        digits = D.Digits.substr(0, std::min<size_t>(keep, D.Digits.size()));
        digits.resize(keep, '0');
    }
    bool up = keep >= 0 && static_cast<size_t>(keep) < D.Digits.size() && D.Digits[keep] >= '5';
    if (up) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i >= 0)
            ++digits[i];
        else
            digits.insert(digits.begin(), '1');
    }
    if (static_cast<int>(digits.size()) < Decimals)
        digits.insert(0, Decimals - digits.size(), '0');
    IntPart = digits.substr(0, digits.size() - Decimals);
    Fraction = digits.substr(digits.size() - Decimals);
    size_t first = IntPart.find_first_not_of('0');
    IntPart = first == std::string::npos ? std::string() : IntPart.substr(first);
}

} // namespace

std::string FormatFloat(const std::string &Pattern, double Value)
{
    if (Pattern.empty())
        return FloatToStr(Value);
    // A whole number in a pattern of zeros alone ("00", "000"), as record
    // stamps and counts are written thousands of times an image: its digits,
    // padded to the pattern's width, without the general path.
    if (!std::signbit(Value) && Value < 1e15 && Value == std::floor(Value) &&
        Pattern.find_first_not_of('0') == std::string::npos) {
        std::string digits = std::to_string(static_cast<long long>(Value));
        if (digits.size() < Pattern.size())
            digits.insert(0, Pattern.size() - digits.size(), '0');
        return digits;
    }
    size_t point = Pattern.find('.');
    std::string intPattern = Pattern.substr(0, point);
    std::string fracPattern = point == std::string::npos ? "" : Pattern.substr(point + 1);
    auto isPlaceholder = [](char c) { return c == '0' || c == '#'; };
    int intZeros = 0, decimals = 0, fracZeros = 0;
    for (char c : intPattern)
        intZeros += c == '0';
    for (char c : fracPattern)
        if (isPlaceholder(c)) {
            ++decimals;
            if (c == '0')
                fracZeros = decimals;
        }

    std::string intDigits, fraction;
    RoundDecimal(ToDecimal(Value, 18), decimals, intDigits, fraction);
    while (static_cast<int>(fraction.size()) > fracZeros && !fraction.empty() &&
           fraction.back() == '0')
        fraction.pop_back();
    if (static_cast<int>(intDigits.size()) < intZeros)
        intDigits.insert(0, intZeros - intDigits.size(), '0');
    bool zero = intDigits.find_first_not_of('0') == std::string::npos &&
                fraction.find_first_not_of('0') == std::string::npos;

    // The integer digits fill the placeholders from the right; digits beyond
    // them go in front of the leftmost one.
    size_t leftmost = intPattern.find_first_of("0#");
    std::string out;
    int next = static_cast<int>(intDigits.size()) - 1;
    for (int k = static_cast<int>(intPattern.size()) - 1; k >= 0; --k) {
        char c = intPattern[k];
        if (!isPlaceholder(c)) {
            out.insert(0, 1, c);
            continue;
        }
        if (next >= 0)
            out.insert(0, 1, intDigits[next--]);
        if (static_cast<size_t>(k) == leftmost && next >= 0) {
            out.insert(0, intDigits.substr(0, next + 1));
            next = -1;
        }
    }
    if (next >= 0)
        out.insert(0, intDigits.substr(0, next + 1));
    if (point != std::string::npos) {
        if (!fraction.empty())
            out += DecimalSeparator;
        size_t f = 0;
        for (char c : fracPattern) {
            if (!isPlaceholder(c))
                out += c;
            else if (f < fraction.size())
                out += fraction[f++];
        }
    }
    if (Value < 0 && !zero)
        out.insert(out.begin(), '-');
    return out;
}

std::string FormatDateTime(const std::string &Pattern, TDateTime Value)
{
    int year, month, day, hour, minute, second, msec;
    DecodeDate(Value, year, month, day);
    DecodeTime(Value, hour, minute, second, msec);
    auto number = [](int v, int width) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%0*d", width, v);
        return std::string(buffer);
    };

    std::string out;
    char lastToken = 0;
    size_t i = 0;
    while (i < Pattern.size()) {
        char c = Pattern[i];
        char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == '"' || c == '\'') {
            size_t end = Pattern.find(c, i + 1);
            if (end == std::string::npos)
                end = Pattern.size();
            out += Pattern.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        size_t run = 1;
        while (i + run < Pattern.size() &&
               std::tolower(static_cast<unsigned char>(Pattern[i + run])) == lower)
            ++run;
        switch (lower) {
        case 'd': out += number(day, run >= 2 ? 2 : 1); break;
        case 'm':
            if (lastToken == 'h')
                out += number(minute, run >= 2 ? 2 : 1);
            else
                out += number(month, run >= 2 ? 2 : 1);
            break;
        case 'y': out += run <= 2 ? number(year % 100, 2) : number(year, 4); break;
        case 'h': out += number(hour, run >= 2 ? 2 : 1); break;
        case 'n': out += number(minute, run >= 2 ? 2 : 1); break;
        case 's': out += number(second, run >= 2 ? 2 : 1); break;
        case 'z': out += number(msec, run >= 3 ? 3 : 1); break;
        default:
            out.append(run, c);
            i += run;
            continue;
        }
        // A run longer than the longest token of its letter repeats the token.
        size_t used = lower == 'y'   ? (run <= 2 ? run : 4)
                      : lower == 'z' ? std::min<size_t>(run, 3)
                                     : std::min<size_t>(run, 2);
        lastToken = lower;
        i += used;
    }
    return out;
}

std::string IntToStr(int64_t Value)
{
    return std::to_string(Value);
}

std::string FloatToStr(double Value)
{
    if (std::isnan(Value))
        return "NAN";
    if (std::isinf(Value))
        return Value > 0 ? "INF" : "-INF";
    TDecimal d = ToDecimal(Value, 15);
    while (d.Digits.size() > 1 && d.Digits.back() == '0')
        d.Digits.pop_back();
    if (d.Digits == "0")
        return "0";
    std::string out = d.Negative ? "-" : "";
    int exponent = d.Point - 1;
    if (exponent >= 15 || exponent < -5) {
        out += d.Digits.substr(0, 1);
        if (d.Digits.size() > 1)
            out += DecimalSeparator + d.Digits.substr(1);
        return out + "E" + std::to_string(exponent);
    }
    if (d.Point <= 0) {
        out += "0";
        out += DecimalSeparator;
        out += std::string(-d.Point, '0') + d.Digits;
    } else if (d.Point >= static_cast<int>(d.Digits.size())) {
        out += d.Digits + std::string(d.Point - d.Digits.size(), '0');
    } else {
        out += d.Digits.substr(0, d.Point) + DecimalSeparator + d.Digits.substr(d.Point);
    }
    return out;
}
