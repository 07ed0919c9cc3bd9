#include "exercises/rtf_charsets.h"

#include "text/cp1252.h"

#include <QByteArray>

namespace tolvi::rtf {

int codePageOfCharset(int charset, int documentCodePage)
{
    // A Macintosh document's Asian fonts are in the Macintosh code pages.
    if (documentCodePage >= 10000 && documentCodePage < 10100) {
        switch (charset) {
        case 128: return 10001;
        case 129: return 10003;
        case 134: return 10008;
        case 136: return 10002;
        default: break;
        }
    }
    switch (charset) {
    case 0: return 1252;     // ANSI
    case 77: return 10000;   // Macintosh
    case 78: return 10001;   // Macintosh Japanese
    case 79: return 10003;   // Macintosh Korean
    case 80: return 10008;   // Macintosh Simplified Chinese
    case 81: return 10002;   // Macintosh Traditional Chinese
    case 85: return 10006;   // Macintosh Greek
    case 86: return 10081;   // Macintosh Turkish
    case 88: return 10029;   // Macintosh Central European
    case 89: return 10007;   // Macintosh Cyrillic
    case 130: return 1361;   // Korean (Johab)
    case 128: return 932;    // Japanese (Shift-JIS)
    case 129: return 949;    // Korean
    case 134: return 936;    // Simplified Chinese (GBK)
    case 136: return 950;    // Traditional Chinese (Big5)
    case 161: return 1253;   // Greek
    case 162: return 1254;   // Turkish
    case 163: return 1258;   // Vietnamese
    case 177: return 1255;   // Hebrew
    case 178: return 1256;   // Arabic
    case 186: return 1257;   // Baltic
    case 204: return 1251;   // Cyrillic
    case 222: return 874;    // Thai
    case 238: return 1250;   // Central European
    case 254: return 437;    // PC 437
    case 255: return 850;    // OEM
    default: return documentCodePage;
    }
}

Encoding fontEncoding(const QString& family, int charset, int codePage, int documentCodePage)
{
    Encoding e;
    if (family.startsWith(QLatin1String("Symbol"), Qt::CaseInsensitive)) {
        e.kind = Encoding::Symbol;
    } else if (family.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)) {
        e.kind = Encoding::Wingdings;
    } else if (codePage > 0) {
        e.codePage = codePage;
    } else if (charset == 2) {
        e.codePage = 1252;  // another symbol font: its bytes as they are
    } else {
        e.codePage = codePageOfCharset(charset, documentCodePage);
    }
    return e;
}

bool isMultiByte(int codePage)
{
    switch (codePage) {
    case 932: case 936: case 949: case 950: case 1361:
    case 10001: case 10002: case 10003: case 10008: return true;
    default: return false;
    }
}

char16_t symbolToUnicode(unsigned char b)
{
    // 0x40-0x7E
    static constexpr std::array<char16_t, 63> low = {
        0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,  // 40
        0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,  // 48
        0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9,  // 50
        0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,  // 58
        0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,  // 60
        0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,  // 68
        0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9,  // 70
        0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C,          // 78
    };
    // 0xA0-0xFE
    static constexpr std::array<char16_t, 95> high = {
        0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663,  // A0
        0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,  // A8
        0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,  // B0
        0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,  // B8
        0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,  // C0
        0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,  // C8
        0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5,  // D0
        0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,  // D8
        0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C,  // E0
        0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,  // E8
        0xF8FF, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,  // F0
        0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD,          // F8
    };
    switch (b) {
    case 0x22: return 0x2200;
    case 0x24: return 0x2203;
    case 0x27: return 0x220B;
    case 0x2A: return 0x2217;
    case 0x2D: return 0x2212;
    default: break;
    }
    if (b >= 0x40 && b <= 0x7E)
        return low[b - 0x40];
    if (b >= 0xA0 && b <= 0xFE)
        return high[b - 0xA0];
    return cp1252ToUnicode(b);
}

char16_t wingdingsToUnicode(unsigned char b)
{
    switch (b) {
    case 0x22: return 0x2702;  // scissors
    case 0x28: return 0x260E;  // telephone
    case 0x36: return 0x231B;  // hourglass
    case 0x46: return 0x261E;  // pointing hand
    case 0x4A: return 0x263A;  // smiling face
    case 0x4C: return 0x2639;  // frowning face
    case 0x6C: return 0x25CF;  // black circle
    case 0x6E: return 0x25A0;  // black square
    case 0x6F: return 0x25A1;  // white square
    case 0x71: return 0x2751;
    case 0x72: return 0x2752;
    case 0x75: return 0x25C6;  // black diamond
    case 0x76: return 0x2756;
    case 0xA1: return 0x25CB;  // white circle
    case 0xA7: return 0x25AA;  // small black square
    case 0xA8: return 0x25FB;
    case 0xAB: return 0x2605;  // black star
    case 0xD8: return 0x27A2;  // arrowhead
    case 0xE8: return 0x2794;  // arrow
    case 0xFB: return 0x2717;  // ballot x
    case 0xFC: return 0x2713;  // check mark
    case 0xFD: return 0x2612;  // ballot box with x
    case 0xFE: return 0x2611;  // ballot box with check
    default: return char16_t(0xF000 + b);
    }
}

char16_t privateUseToUnicode(char16_t u, bool wingdings)
{
    if (u < 0xF020 || u > 0xF0FF)
        return u;
    const auto b = static_cast<unsigned char>(u - 0xF000);
    const char16_t c = wingdings ? wingdingsToUnicode(b) : symbolToUnicode(b);
    return c == u ? u : c;
}

char16_t listMarkToUnicode(char16_t u)
{
    if (u < 0xF020 || u > 0xF0FF)
        return u;
    switch (u - 0xF000) {
    case 0x6C: case 0x6E: case 0x6F: case 0x71: case 0x72: case 0x75: case 0x76:
    case 0xA7: case 0xA8: case 0xD8: case 0xE8: case 0xFB: case 0xFC: case 0xFD: case 0xFE:
        return privateUseToUnicode(u, true);
    default: return privateUseToUnicode(u, false);
    }
}

namespace {

// Johab (code page 1361): Hangul syllables are made of the bits of their
// letters; the other signs and the Hanja are those of KS X 1001 (EUC-KR),
// moved to other rows. Each character is decoded here or through `euckr`.
void decodeJohab(QByteArrayView bytes, QString& out, CodePageConverter& euckr)
{
    static constexpr int initials[32] = {-1, -1, 0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                         14, 15, 16, 17, 18, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    static constexpr int medials[32] = {-1, -1, -1, 0,  1,  2,  3,  4,  -1, -1, 5,  6,  7,  8,  9,  10,
                                        -1, -1, 11, 12, 13, 14, 15, 16, -1, -1, 17, 18, 19, 20, -1, -1};
    static constexpr int finals[32] = {-1, 0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                       15, 16, -1, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, -1, -1};
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b1 = static_cast<unsigned char>(bytes[i]);
        if (b1 < 0x80) {
            out.append(QChar(char16_t(b1)));
            continue;
        }
        if (i + 1 >= bytes.size())
            break;  // half a character at the end
        const auto b2 = static_cast<unsigned char>(bytes[++i]);
        if (b1 >= 0x84 && b1 <= 0xD3) {
            const int code = (b1 << 8) | b2;
            const int l = initials[(code >> 10) & 31], v = medials[(code >> 5) & 31], t = finals[code & 31];
            if (l >= 0 && v >= 0 && t >= 0)
                out.append(QChar(char16_t(0xAC00 + (l * 21 + v) * 28 + t)));
            else
                out.append(QChar(0xFFFD));
            continue;
        }
        const bool trailOk = (b2 >= 0x31 && b2 <= 0x7E) || (b2 >= 0x91 && b2 <= 0xFE);
        if (!trailOk || !((b1 >= 0xD9 && b1 <= 0xDE) || (b1 >= 0xE0 && b1 <= 0xF9))) {
            out.append(QChar(0xFFFD));
            continue;
        }
        int row = b1 <= 0xDE ? (b1 - 0xD9) * 2 + 0xA1 : (b1 - 0xE0) * 2 + 0xCA;
        int column = b2;
        if (b2 < 0xA1)
            column = b2 <= 0x7E ? b2 - 0x31 + 0xA1 : b2 - 0x91 + 0xEF;
        else
            ++row;
        const char pair[2] = {char(row), char(column)};
        out.append(euckr.decode(QByteArrayView(pair, 2)));
    }
}

}  // namespace

Decoder::Decoder() = default;
Decoder::~Decoder() = default;

CodePageConverter* Decoder::converter(int codePage)
{
    // Johab's signs and Hanja are those of the Korean code page.
    if (codePage == 1361)
        codePage = 949;
    auto it = converters_.find(codePage);
    if (it == converters_.end()) {
        auto d = std::make_shared<CodePageConverter>(codePage);
        if (!d->isValid())
            d.reset();
        it = converters_.insert(codePage, d);
    }
    return it->get();
}

const Decoder::Table& Decoder::table(int codePage)
{
    if (last_ && codePage == lastCodePage_)
        return *last_;
    auto it = tables_.find(codePage);
    if (it == tables_.end()) {
        auto t = std::make_shared<Table>();
        for (int b = 0; b < 256; ++b)
            (*t)[b] = cp1252ToUnicode(static_cast<unsigned char>(b));
        if (codePage != 1252 && !isMultiByte(codePage)) {
            if (CodePageConverter* d = converter(codePage)) {
                for (int b = 0x80; b < 256; ++b) {
                    const char byte = static_cast<char>(b);
                    const QString s = d->decode(QByteArrayView(&byte, 1));
                    if (s.size() == 1)
                        (*t)[b] = s[0].unicode() < 0x20 ? char16_t(0xFFFD) : s[0].unicode();
                }
            }
        }
        it = tables_.insert(codePage, t);
    }
    lastCodePage_ = codePage;
    last_ = it->get();
    return *last_;
}

char16_t Decoder::byte(int codePage, unsigned char b)
{
    if (codePage == 1252 || b < 0x80)
        return b < 0x80 ? char16_t(b) : cp1252ToUnicode(b);
    return table(codePage)[b];
}

void Decoder::append(int codePage, QByteArrayView bytes, QString& out)
{
    if (!isMultiByte(codePage)) {
        const Table& t = table(codePage);
        for (const char b : bytes)
            out.append(QChar(t[static_cast<unsigned char>(b)]));
        return;
    }
    CodePageConverter* d = converter(codePage);
    if (!d) {
        append(1252, bytes, out);
        return;
    }
    QString text;
    if (codePage == 1361)
        decodeJohab(bytes, text, *d);
    else
        text = d->decode(bytes);
    // Bytes that are no character come out as the substitute control
    // character (0x1A): shown as the replacement character instead.
    for (QChar& c : text)
        if (c.unicode() < 0x20 && c != u'\t')
            c = QChar(0xFFFD);
    out.append(text);
}

}  // namespace tolvi::rtf
