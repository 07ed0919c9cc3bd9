#include "text/cp1252.h"

#include <array>

namespace tolvi {

namespace {

// 0x80-0x9F; the rest of the code page is identical to Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

char16_t cp1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHigh[byte - 0x80];
    return byte;
}

std::optional<unsigned char> unicodeToCp1252(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<unsigned char>(ch);
    for (unsigned i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == ch)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

QString decodeCp1252(QByteArrayView bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(cp1252ToUnicode(static_cast<unsigned char>(bytes[i])));
    return out;
}

qsizetype firstNonCp1252(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate (half of a character beyond U+FFFF) is never encodable.
        if (!unicodeToCp1252(text[i].unicode()) || text[i].isSurrogate())
            return i;
    }
    return -1;
}

std::optional<QByteArray> encodeCp1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.isSurrogate())
            return std::nullopt;
        auto b = unicodeToCp1252(c.unicode());
        if (!b)
            return std::nullopt;
        out.append(static_cast<char>(*b));
    }
    return out;
}

}  // namespace tolvi
