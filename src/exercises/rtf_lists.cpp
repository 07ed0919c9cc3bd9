#include "exercises/rtf_lists.h"

#include <algorithm>

namespace tolvi::rtf {

namespace {

QString roman(int value)
{
    static constexpr std::pair<int, const char*> figures[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"},
    };
    QString out;
    for (const auto& [amount, figure] : figures)
        for (; value >= amount; value -= amount)
            out += QLatin1String(figure);
    return out;
}

// a … z, aa … zz, aaa …: the letter again for each round, as word
// processors count beyond z.
QString letters(int value)
{
    const int round = (value - 1) / 26 + 1;
    return QString(round, QChar(u'a' + (value - 1) % 26));
}

}  // namespace

QString listNumber(int value, int numbering)
{
    switch (numbering) {
    case kBulletNumbering:
    case kNoNumbering: return {};
    case 1:
    case 2:
        if (value >= 1 && value < 4000) {
            const QString r = roman(value);
            return numbering == 1 ? r : r.toLower();
        }
        break;
    case 3:
    case 4:
        if (value >= 1 && value <= 26 * 20) {
            const QString l = letters(value);
            return numbering == 3 ? l.toUpper() : l;
        }
        break;
    case 22: return QString::number(value).rightJustified(2, u'0');
    default: break;
    }
    return QString::number(value);
}

QString listLabel(const ListLevels& levels, int level, const std::array<int, kListLevels>& counters)
{
    level = std::clamp(level, 0, kListLevels - 1);
    const ListLevel& l = levels[size_t(level)];
    QString out;
    for (const QChar c : l.text) {
        const char16_t u = c.unicode();
        if (u < kListLevels) {
            // A number of this level or of one above it.
            const ListLevel& of = levels[u];
            out += listNumber(counters[u] > 0 ? counters[u] : of.start, of.numbering);
        } else {
            out += c;
        }
    }
    return out;
}

const std::array<int, kListLevels>& ListCounter::next(const ListLevels& levels, int level)
{
    level = std::clamp(level, 0, kListLevels - 1);
    if (started_[size_t(level)] && counters_[size_t(level)] < 1000000)
        ++counters_[size_t(level)];
    else if (!started_[size_t(level)])
        counters_[size_t(level)] = std::clamp(levels[size_t(level)].start, 0, 1000000);
    started_[size_t(level)] = true;
    for (int below = level + 1; below < kListLevels; ++below) {
        started_[size_t(below)] = false;
        counters_[size_t(below)] = 0;
    }
    return counters_;
}

}  // namespace tolvi::rtf
