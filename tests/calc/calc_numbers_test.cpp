// The calculator's number texts: what every intermediate and final result
// looks like, and how typed numbers and operands are read.
#include "calc/calc_numbers.h"

#include <gtest/gtest.h>
#include <cfloat>
#include <clocale>
#include <cmath>

namespace tolvi {
namespace {

TEST(CalcNumbers, NumberToTextShapes)
{
    struct Case { double value; const char* text; };
    const Case cases[] = {
        {14, " 14"},
        {-14, "-14"},
        {0.5, " .5"},
        {-0.5, "-.5"},
        {0, " 0"},
        {-0.0, " 0"},
        {1e20, " 1E+20"},
        {1.5e-7, " 1.5E-07"},
        {-1.5e-7, "-1.5E-07"},
        {1e-4, " .0001"},          // exponent -4: still plain
        {1e-5, " 1E-05"},          // exponent -5: exponent form
        {123456789012345.0, " 123456789012345"},  // exponent 14: plain
        {1e15, " 1E+15"},          // exponent 15: exponent form
        {1.0 / 3.0, " .333333333333333"},
        {2.0 / 3.0, " .666666666666667"},
        {1e100, " 1E+100"},
        {4.0 * std::atan(1.0), " 3.14159265358979"},
        {0.1 + 0.2, " .3"},        // 15 digits hide the binary error
        {DBL_MAX, " 1.79769313486232E+308"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(texteNombre(c.value), QString::fromLatin1(c.text)) << c.value;
    EXPECT_EQ(texteNombreNu(0.25), QStringLiteral(".25"));
    EXPECT_EQ(texteNombreNu(-2), QStringLiteral("-2"));
}

TEST(CalcNumbers, NumberToTextIgnoresTheRegionalDecimalComma)
{
    const char* saved = std::setlocale(LC_NUMERIC, nullptr);
    const std::string keep = saved ? saved : "C";
    if (std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no locale with a decimal comma installed (fr_FR.UTF-8: scripts/test makes it)";
    EXPECT_EQ(texteNombre(2.5), QStringLiteral(" 2.5"));
    EXPECT_DOUBLE_EQ(lireNombre(u"2.5").valeur, 2.5);
    EXPECT_EQ(formatScientifique(12345), QStringLiteral("1.2345E+04"));
    std::setlocale(LC_NUMERIC, keep.c_str());
}

TEST(CalcNumbers, ReadingStopsAtTheFirstForeignCharacter)
{
    struct Case { const char16_t* text; double value; bool complet; };
    const Case cases[] = {
        {u"14", 14, true},
        {u" 14", 14, true},
        {u"-.5", -0.5, true},
        {u"+3", 3, true},
        {u"1 2 3", 123, true},        // blanks skipped anywhere
        {u"1.5E-3", 0.0015, true},
        {u"1.5e-3", 0.0015, true},
        {u"2D3", 2000, true},         // "D" is an exponent too
        {u"1E+20", 1e20, true},
        {u"5.", 5, true},
        {u"2(3)", 2, false},
        {u"1.2.3", 1.2, false},
        {u"5E", 5, false},            // exponent letter without digits
        {u"5E+", 5, false},
        {u"E5", 0, false},            // no leading number reads as 0
        {u"", 0, false},
        {u".", 0, false},
        {u"-", 0, false},
        {u"--5", 0, false},
        {u"Calcul impossible", 0, false},
        {u"1E-400", 0, true},         // too small reads as zero
        {u"0E999999", 0, true},
    };
    for (const Case& c : cases) {
        const LectureNombre lu = lireNombre(c.text);
        EXPECT_DOUBLE_EQ(lu.valeur, c.value) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(lu.complet, c.complet) << QString::fromUtf16(c.text).toStdString();
        EXPECT_FALSE(lu.depassement) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(CalcNumbers, ReadingBeyondTheDoubleRangeIsAnOverflow)
{
    for (const char16_t* text : {u"1E400", u"-1E400", u"1.79769313486232E+308", u"1E99999999999999999999",
                                 u"123456789012345678901234567890E300"})
        EXPECT_TRUE(lireNombre(text).depassement) << QString::fromUtf16(text).toStdString();
    EXPECT_FALSE(lireNombre(u"1.7976931348623E+308").depassement);
    EXPECT_FALSE(lireNombre(u".000001E-320").depassement);
}

TEST(CalcNumbers, TextOfEveryResultReadsBackToTheSameText)
{
    // Every result is written then read again as an operand: the round trip
    // must be stable, or chained operations would drift.
    const double values[] = {1.0 / 7, -2.0 / 3, 6.02214076e23, 1.602176634e-19, 123456.789, 9.99999999999999e14,
                             1e-300, -4.9e-320};
    for (double v : values) {
        const QString t = texteNombre(v);
        const LectureNombre lu = lireNombre(t);
        ASSERT_TRUE(lu.complet) << t.toStdString();
        EXPECT_EQ(texteNombre(lu.valeur), t);
    }
}

TEST(CalcNumbers, ScientificPattern)
{
    struct Case { double value; const char* text; };
    const Case cases[] = {
        {12345, "1.2345E+04"},
        {1234, "1.234E+03"},
        {1, "1.E+00"},
        {-1, "-1.E+00"},
        {0.5, "5.E-01"},
        {0, "0.E+00"},
        {123456789, "1.2345679E+08"},   // rounded at the seventh decimal
        {9.999999999, "1.E+01"},
        {1e100, "1.E+100"},
        {-3.25e-12, "-3.25E-12"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatScientifique(c.value), QString::fromLatin1(c.text)) << c.value;
}

}  // namespace
}  // namespace tolvi
