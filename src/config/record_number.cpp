#include "config/record_number.h"

#include "text/french_numbers.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tolvi {

std::optional<double> leadingNumber(const QString& text)
{
    // Blanks, tabs and line feeds are skipped anywhere ("1 000" is 1000).
    std::string s;
    s.reserve(std::size_t(std::min<qsizetype>(text.size(), 400)));
    qsizetype i = 0;
    const auto skip = [&] {
        while (i < text.size()
               && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') || text[i] == QLatin1Char('\n')))
            ++i;
    };
    const auto digitAt = [&] {
        skip();
        return i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9');
    };
    skip();
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    bool anyDigit = false;
    while (digitAt()) {
        s += char(text[i++].unicode());
        anyDigit = true;
    }
    skip();
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        s += '.';
        while (digitAt()) {
            s += char(text[i++].unicode());
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0.0;
    // Exponent: E or D, an optional sign, digits; ignored without digits.
    skip();
    bool negativeExponent = false;
    if (i < text.size()) {
        const QChar e = text[i].toUpper();
        if (e == QLatin1Char('E') || e == QLatin1Char('D')) {
            ++i;
            std::string exponent = "e";
            skip();
            if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
                negativeExponent = text[i] == QLatin1Char('-');
                exponent += char(text[i++].unicode());
            }
            bool expDigits = false;
            while (digitAt()) {
                exponent += char(text[i++].unicode());
                expDigits = true;
            }
            if (expDigits)
                s += exponent;
        }
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        if (negativeExponent)
            return 0.0;  // too small: reads as 0
        return std::nullopt;
    }
    if (ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<qint16> leadingWhole16(const QString& text)
{
    const std::optional<double> v = leadingNumber(text);
    if (!v)
        return std::nullopt;
    const double r = roundEven(*v);
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(r);
}

}  // namespace tolvi
