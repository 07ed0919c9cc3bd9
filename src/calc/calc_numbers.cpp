#include "calc/calc_numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tolvi {

QString texteNombreNu(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");  // also turns -0 into 0
    char buf[64];
    // to_chars ignores the C locale: "." whatever the regional settings.
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string s(buf, res.ptr);
    for (char& c : s)
        if (c == 'e')
            c = 'E';
    // "0.5" -> ".5", "-0.5" -> "-.5"
    if (s.rfind("0.", 0) == 0)
        s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0)
        s.erase(1, 1);
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

QString texteNombre(double value)
{
    QString s = texteNombreNu(value);
    if (!s.startsWith(QLatin1Char('-')))
        s.prepend(QLatin1Char(' '));
    return s;
}

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

}  // namespace

LectureNombre lireNombre(QStringView text)
{
    // Gather the characters that form the leading number, blanks skipped.
    std::string clean;
    bool negatif = false;
    int chiffresMantisse = 0;
    bool point = false;
    // Decimal magnitude of the first significant digit, to tell an overflow
    // from an underflow when the value is out of range.
    long long chiffresEntiers = 0;      // significant digits before the point
    long long zerosApresPoint = 0;      // zeros after the point before a significant digit
    bool significatif = false;
    long long exposant = 0;
    bool exposantNegatif = false;

    qsizetype i = 0;
    const qsizetype n = text.size();
    auto sauterBlancs = [&] {
        while (i < n && text[i] == QLatin1Char(' '))
            ++i;
    };
    bool complet = true;

    sauterBlancs();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negatif = text[i] == QLatin1Char('-');
        ++i;
    }
    for (;; ++i) {
        sauterBlancs();
        if (i >= n)
            break;
        const QChar c = text[i];
        if (isDigit(c)) {
            ++chiffresMantisse;
            clean += char(c.unicode());
            if (c != QLatin1Char('0'))
                significatif = true;
            if (!point && significatif)
                ++chiffresEntiers;
            if (point && !significatif)
                ++zerosApresPoint;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
            clean += '.';
        } else {
            break;
        }
    }
    if (chiffresMantisse == 0)
        complet = false;
    bool exposantLu = false;
    if (i < n) {
        const QChar c = text[i].toUpper();
        if (c == QLatin1Char('E') || c == QLatin1Char('D')) {
            ++i;
            sauterBlancs();
            if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
                exposantNegatif = text[i] == QLatin1Char('-');
                ++i;
            }
            int chiffresExposant = 0;
            for (;; ++i) {
                sauterBlancs();
                if (i >= n || !isDigit(text[i]))
                    break;
                ++chiffresExposant;
                if (exposant < 1'000'000'000)
                    exposant = exposant * 10 + (text[i].unicode() - '0');
            }
            exposantLu = chiffresExposant > 0;
            if (!exposantLu)
                complet = false;
        }
    }
    sauterBlancs();
    if (i < n)
        complet = false;

    LectureNombre r;
    r.complet = complet;
    if (chiffresMantisse == 0 || !significatif)
        return r;  // no number, or zero whatever the exponent
    if (exposantLu) {
        clean += 'e';
        if (exposantNegatif)
            clean += '-';
        clean += std::to_string(exposant);
    }
    double v = 0.0;
    const auto res = std::from_chars(clean.data(), clean.data() + clean.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        const long long e = exposantNegatif ? -exposant : exposant;
        const long long magnitude = chiffresEntiers > 0 ? e + chiffresEntiers - 1 : e - zerosApresPoint - 1;
        if (magnitude > 0) {
            r.depassement = true;
            return r;
        }
        v = 0.0;  // too small: reads as zero
    } else if (std::isinf(v)) {
        r.depassement = true;
        return r;
    }
    r.valeur = negatif ? -v : v;
    return r;
}

QString formatScientifique(double value)
{
    if (value == 0.0)
        return QStringLiteral("0.E+00");
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 7);
    std::string s(buf, res.ptr);  // "-1.2345000e+04"
    const auto e = s.find('e');
    std::string mantisse = s.substr(0, e);
    while (!mantisse.empty() && mantisse.back() == '0')
        mantisse.pop_back();
    if (mantisse.find('.') == std::string::npos)
        mantisse += '.';
    std::string exposant = s.substr(e + 1);  // "+04", "-123"
    return QString::fromLatin1((mantisse + "E" + exposant).c_str());
}

QString sansBlancsAuxBords(const QString& s)
{
    qsizetype debut = 0;
    qsizetype fin = s.size();
    while (debut < fin && s[debut] == QLatin1Char(' '))
        ++debut;
    while (fin > debut && s[fin - 1] == QLatin1Char(' '))
        --fin;
    return s.mid(debut, fin - debut);
}

}  // namespace tolvi
