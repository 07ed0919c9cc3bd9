#include "text/french_numbers.h"

#include <gtest/gtest.h>
#include <clocale>

using namespace tolvi;

TEST(FrenchNumbers, PatternsOfTheParameterBoxes)
{
    EXPECT_EQ(formatPattern(2.0, "#0.00"), "2,00");
    EXPECT_EQ(formatPattern(2.345, "#0.00"), "2,35");  // half away from zero, as typed
    EXPECT_EQ(formatPattern(0.1, "#0.00"), "0,10");
    EXPECT_EQ(formatPattern(100, "##0"), "100");
    EXPECT_EQ(formatPattern(0.4, "#0.0"), "0,4");
    EXPECT_EQ(formatPattern(0.04, "#0.0"), "0,0");
    EXPECT_EQ(formatPattern(0.05, "#0.0"), "0,1");
    EXPECT_EQ(formatPattern(40, "#0"), "40");
    EXPECT_EQ(formatPattern(2.5, "#0"), "3");
    EXPECT_EQ(formatPattern(-2.5, "#0"), "-3");
    EXPECT_EQ(formatPattern(1000, "# ##0"), "1 000");
    EXPECT_EQ(formatPattern(999.5, "# ##0"), "1 000");
    EXPECT_EQ(formatPattern(700, "# ##0"), "700");
    EXPECT_EQ(formatPattern(1234567, "# ##0"), "1 234 567");
    EXPECT_EQ(formatPattern(0.5, "0.00"), "0,50");
    EXPECT_EQ(formatPattern(-0.001, "0.00"), "0,00");
    EXPECT_EQ(formatPattern(7.25, "##0.00"), "7,25");
    EXPECT_EQ(formatPattern(0, "##0"), "0");
    EXPECT_EQ(formatPattern(9.995, "#0.00"), "10,00");
}

TEST(FrenchNumbers, GeneralFormat)
{
    EXPECT_EQ(formatGeneral(2.5), "2,5");
    EXPECT_EQ(formatGeneral(3.75), "3,75");
    EXPECT_EQ(formatGeneral(0.1), "0,1");
    EXPECT_EQ(formatGeneral(600), "600");
    EXPECT_EQ(formatGeneral(-0.0), "0");
    EXPECT_EQ(formatGeneral(0), "0");
}

TEST(FrenchNumbers, ReadingFrenchTexts)
{
    EXPECT_DOUBLE_EQ(*readFrench("2,00"), 2.0);
    EXPECT_DOUBLE_EQ(*readFrench("1 000"), 1000.0);
    EXPECT_DOUBLE_EQ(*readFrench(QString::fromUtf8("1\u00a0000,5")), 1000.5);
    EXPECT_DOUBLE_EQ(*readFrench(QString::fromUtf8("1\u202f000")), 1000.0);
    EXPECT_DOUBLE_EQ(*readFrench(" 3,5 "), 3.5);
    EXPECT_DOUBLE_EQ(*readFrench("3.5"), 3.5);
    EXPECT_DOUBLE_EQ(*readFrench("-1"), -1.0);
    EXPECT_DOUBLE_EQ(*readFrench(",5"), 0.5);
    EXPECT_FALSE(readFrench(""));
    EXPECT_FALSE(readFrench("   "));
    EXPECT_FALSE(readFrench("abc"));
    EXPECT_FALSE(readFrench("1,2,3"));
    EXPECT_FALSE(readFrench("2,0x"));
    EXPECT_FALSE(readFrench(","));
    EXPECT_FALSE(readFrench("1-"));
}

TEST(FrenchNumbers, EveryWrittenTextReadsBackAsShown)
{
    const char* patterns[] = {"#0.00", "##0", "#0.0", "#0", "# ##0", "0.00", "##0.00"};
    for (const char* pattern : patterns) {
        for (double v = -1234.5; v < 5000; v += 0.37) {
            const QString text = formatPattern(v, pattern);
            const auto back = readFrench(text);
            ASSERT_TRUE(back) << text.toStdString();
            EXPECT_EQ(formatPattern(*back, pattern), text) << pattern << " " << v;
        }
    }
}

TEST(FrenchNumbers, RecordIntegersAndTiesToEven)
{
    EXPECT_EQ(formatRecordInteger(4), " 4");
    EXPECT_EQ(formatRecordInteger(0), " 0");
    EXPECT_EQ(formatRecordInteger(-1), "-1");
    EXPECT_EQ(roundEven(300.5), 300.0);
    EXPECT_EQ(roundEven(301.5), 302.0);
    EXPECT_EQ(roundEven(-0.5), -0.0);
    EXPECT_EQ(roundEven(227.5), 228.0);
    EXPECT_EQ(roundEven(217.5), 218.0);
}

TEST(FrenchNumbers, IndependentOfTheSystemLocale)
{
    // A French desktop sets the C library's decimal mark to a comma; the
    // program's texts must not change with it.
    const char* names[] = {"fr_FR.UTF-8", "fr_FR.utf8", "de_DE.UTF-8", "de_DE.utf8"};
    const char* chosen = nullptr;
    for (const char* name : names)
        if (std::setlocale(LC_NUMERIC, name)) {
            chosen = name;
            break;
        }
    if (!chosen)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(formatPattern(2.345, "#0.00"), "2,35");
    EXPECT_EQ(formatPattern(1000, "# ##0"), "1 000");
    EXPECT_EQ(formatGeneral(2.5), "2,5");
    EXPECT_DOUBLE_EQ(*readFrench("2,5"), 2.5);
    EXPECT_DOUBLE_EQ(*readFrench("2.5"), 2.5);
    std::setlocale(LC_NUMERIC, "C");
}
