#include "text/cp1252.h"

#include <gtest/gtest.h>

using namespace tolvi;

TEST(Cp1252, HighBytesAreWindowsCharactersNotLatin1Controls)
{
    // The bytes a French text written on Windows actually holds.
    const QByteArray bytes("\x80\x92\x9C\x8C\x85\x96\x97\x93\x94\x91\x99\x9F", 12);
    EXPECT_EQ(decodeCp1252(bytes), QString::fromUtf8("€’œŒ…–—“”‘™Ÿ"));
    EXPECT_EQ(cp1252ToUnicode(0x80), u'€');
    EXPECT_EQ(cp1252ToUnicode(0x8A), u'Š');
    EXPECT_EQ(cp1252ToUnicode(0x9E), u'ž');
    EXPECT_EQ(cp1252ToUnicode(0x83), u'ƒ');
    // The five undefined bytes keep their value rather than failing.
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(cp1252ToUnicode(b), char16_t(b));
    // Outside 0x80-0x9F the page is Latin-1.
    EXPECT_EQ(decodeCp1252(QByteArray("\xE9\xE8\xE0\xE7\xA0\xB5\xFF", 7)),
              QString::fromUtf8("éèàç\u00A0µÿ"));
    EXPECT_EQ(decodeCp1252(QByteArray("a\0b", 3)), QString(QChar(u'a')) + QChar(0) + u'b');
}

TEST(Cp1252, EveryByteSurvivesDecodeThenEncode)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = decodeCp1252(all);
    ASSERT_EQ(text.size(), 256);
    const auto back = encodeCp1252(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
    EXPECT_EQ(firstNonCp1252(text), -1);
}

TEST(Cp1252, EncodingRefusesCharactersOutsideThePage)
{
    EXPECT_EQ(encodeCp1252(QString::fromUtf8("Leçon d’œuvre : 5 €")),
              QByteArray("Le\xE7on d\x92\x9Cuvre : 5 \x80"));
    EXPECT_EQ(encodeCp1252(QString()), QByteArray());

    // Greek delta, subscript one, an emoji (a surrogate pair), narrow no-break space.
    for (const char* s : {"ΔL", "M₁", "a😀", "1\u202F000"}) {
        const QString text = QString::fromUtf8(s);
        EXPECT_FALSE(encodeCp1252(text).has_value()) << s;
    }
    EXPECT_EQ(firstNonCp1252(QString::fromUtf8("abcΔ")), 3);
    EXPECT_EQ(firstNonCp1252(QString::fromUtf8("é😀")), 1);
    EXPECT_FALSE(unicodeToCp1252(0x1F600).has_value());
    EXPECT_FALSE(unicodeToCp1252(0x100).has_value());
    EXPECT_EQ(unicodeToCp1252(U'€'), 0x80);
    EXPECT_EQ(unicodeToCp1252(U'’'), 0x92);
}
