#include "text/french_numbers.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>

namespace tolvi {

double roundEven(double value)
{
    // nearbyint follows the current rounding mode, which is to-nearest-even
    // unless someone changed it; make sure of it.
    const int saved = std::fegetround();
    if (saved != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    if (saved != FE_TONEAREST)
        std::fesetround(saved);
    return r;
}

namespace {

// Rounds half away from zero at `decimals` places. Works on the value's
// 15-significant-digit decimal text, so that 2.345 (stored as 2.34499999...)
// rounds as the user typed it. Returns plain digits with a "." and a "-".
QString fixedHalfAwayFromZero(double value, int decimals)
{
    // to_chars never looks at the C locale, which a French desktop sets to a
    // decimal comma.
    char buf[64] = {};
    std::to_chars(buf, buf + sizeof buf - 1, std::fabs(value), std::chars_format::scientific, 14);
    // buf is "d.dddddddddddddde+XX"
    QString mantissa;
    for (const char* c = buf; *c && *c != 'e'; ++c)
        if (*c != '.')
            mantissa += QLatin1Char(*c);
    const int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    int pointAt = exponent + 1;  // digits before the decimal point
    const int keep = pointAt + decimals;
    QString digits;
    if (keep < 0) {
        digits = QString();
    } else if (keep >= mantissa.size()) {
        digits = mantissa + QString(keep - mantissa.size(), QLatin1Char('0'));
    } else {
        digits = mantissa.left(keep);
        if (mantissa.at(keep) >= QLatin1Char('5')) {
            int i = int(digits.size()) - 1;
            for (; i >= 0; --i) {
                if (digits[i] == QLatin1Char('9')) {
                    digits[i] = QLatin1Char('0');
                } else {
                    digits[i] = QChar(digits[i].unicode() + 1);
                    break;
                }
            }
            if (i < 0) {
                digits.prepend(QLatin1Char('1'));
                ++pointAt;
            }
        }
    }
    // Pad on the left so that there is at least one digit before the point.
    const int totalWanted = std::max(pointAt, 1) + decimals;
    if (digits.size() < totalWanted)
        digits.prepend(QString(totalWanted - digits.size(), QLatin1Char('0')));
    QString text = digits;
    if (decimals > 0)
        text.insert(text.size() - decimals, QLatin1Char('.'));
    bool allZero = true;
    for (QChar c : digits)
        if (c != QLatin1Char('0'))
            allZero = false;
    return (value < 0 && !allZero) ? QLatin1Char('-') + text : text;
}

QString groupThousands(const QString& digits)
{
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char(' ');
        out += digits.at(i);
    }
    return out;
}

}  // namespace

QString formatPattern(double value, const QString& pattern)
{
    if (!std::isfinite(value))
        return formatGeneral(value);
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : int(pattern.size() - point - 1);
    const QString integerPattern = point < 0 ? pattern : pattern.left(point);
    for (QChar c : pattern)
        if (c != QLatin1Char('#') && c != QLatin1Char('0') && c != QLatin1Char('.') && c != QLatin1Char(' '))
            return formatGeneral(value);
    const bool grouped = integerPattern.contains(QLatin1Char(' '));
    const int minIntegerDigits = int(integerPattern.count(QLatin1Char('0')));

    QString text = fixedHalfAwayFromZero(value, decimals);
    bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        text.remove(0, 1);
    QString integerPart = text.section(QLatin1Char('.'), 0, 0);
    const QString fraction = decimals > 0 ? text.section(QLatin1Char('.'), 1, 1) : QString();
    // Strip leading zeros down to the pattern's minimum number of digits.
    while (integerPart.size() > minIntegerDigits && integerPart.startsWith(QLatin1Char('0')))
        integerPart.remove(0, 1);
    if (grouped)
        integerPart = groupThousands(integerPart);
    QString out = integerPart;
    if (decimals > 0)
        out += QLatin1Char(',') + fraction;
    if (out.isEmpty())
        out = QStringLiteral("0");
    return negative ? QLatin1Char('-') + out : out;
}

QString formatGeneral(double value, int significant)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
    char buf[64] = {};
    std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::general, std::clamp(significant, 1, 17));
    QString text = QString::fromLatin1(buf);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

std::optional<double> readFrench(const QString& text)
{
    QString s = text.trimmed();
    // Group separators and the no-break blanks French systems write.
    QString compact;
    compact.reserve(s.size());
    for (QChar c : s) {
        if (c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F))
            continue;
        compact += c;
    }
    if (compact.isEmpty())
        return std::nullopt;
    QByteArray ascii;
    int marks = 0;
    int digits = 0;
    for (qsizetype i = 0; i < compact.size(); ++i) {
        const QChar c = compact.at(i);
        if (c.isDigit() && c.unicode() < 128) {
            ascii += char(c.unicode());
            ++digits;
        } else if (c == QLatin1Char(',') || c == QLatin1Char('.')) {
            if (++marks > 1)
                return std::nullopt;
            ascii += '.';
        } else if ((c == QLatin1Char('-') || c == QLatin1Char('+')) && i == 0) {
            ascii += char(c.unicode());
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    double value = 0.0;
    const char* first = ascii.constData();
    if (*first == '+')
        ++first;  // from_chars takes no plus sign
    const auto [end, error] = std::from_chars(first, ascii.constData() + ascii.size(), value);
    if (error != std::errc() || end != ascii.constData() + ascii.size())
        return std::nullopt;
    return value;
}

QString formatRecordInteger(long long value)
{
    const QString digits = QString::number(value);
    return value < 0 ? digits : QLatin1Char(' ') + digits;
}

}  // namespace tolvi
