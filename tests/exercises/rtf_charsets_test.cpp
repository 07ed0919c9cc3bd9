#include "exercises/rtf_reader.h"
#include "exercises/rtf_writer.h"
#include "rtf_test_util.h"

#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::rtftest;

namespace {

QString textOf(const QByteArray& rtf)
{
    QTextDocument doc;
    EXPECT_TRUE(readRtf(rtf, doc, nullptr));
    return plainText(doc);
}

}  // namespace

// The expected texts were decoded with Python's codecs, apart from Tolvi.
TEST(RtfCharsets, EachFontReadsItsBytesInItsCharacterSet)
{
    const QByteArray fonts = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial CE;}"
                             "{\\f1\\fcharset204 Arial Cyr;}{\\f2\\fcharset161 Arial Greek;}{\\f3\\fcharset0 Arial;}"
                             "{\\f4\\fcharset162 Arial Tur;}{\\f5\\fcharset177 Arial Hebrew;}{\\f6\\fcharset178 Arial;}"
                             "{\\f7\\fcharset186 Arial Baltic;}{\\f8\\fcharset163 Arial;}{\\f9\\fcharset222 Tahoma;}"
                             "{\\f10\\fcharset134 SimSun;}{\\f11\\fcharset128 MS Mincho;}{\\f12\\fcharset136 MingLiU;}"
                             "{\\f13\\fcharset129 Gulim;}{\\f14\\fcharset1 Defaut;}{\\f15\\cpg1251 Code page;}}";
    EXPECT_EQ(textOf(fonts + "\\f0 \\'c8esk\\'e1 \\f3 \\'c8esk\\'e1}"), QString::fromUtf8("Česká Èeská"));
    EXPECT_EQ(textOf(fonts + "\\f1 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 {\\f2 \\'e1\\'e2\\'e3} \\f4\\'fe\\f5\\'f9\\f6\\'c7"
                             "\\f7\\'e0\\f8\\'f5\\f9\\'a1}"),
              QString::fromUtf8("Привет αβγ şשاąơก"));
    // Two bytes to a character; a trail byte may be written as it is.
    EXPECT_EQ(textOf(fonts + "\\f10\\'c4\\'e3\\'ba\\'c3 \\f11\\'93\\'fa\\'96\\'7b\\'83\\\\ \\f12\\'a4\\'a4\\'a4\\'e5 "
                             "\\f13\\'c7\\'d1\\'b1\\'db}"),
              QString::fromUtf8("你好 日本ソ 中文 한글"));
    // Bytes that are no character show as the replacement character (found
    // by fuzzing: the converter's substitute, a control character, was lost
    // when the text was written).
    EXPECT_EQ(textOf(fonts + "\\f11\\'80\\'93\\'fa}"), QString::fromUtf8("\uFFFD日"));
    // Word's Unicode characters with their two-byte fallback; hidden text.
    EXPECT_EQ(textOf(fonts + "\\f11\\uc2\\u26085\\'93\\'fa\\u26412\\'96\\'7b{\\v\\'93\\'fa}.}"), QString::fromUtf8("日本."));
    // The default character set is the document's; \cpg names a code page.
    EXPECT_EQ(textOf(fonts + "\\f14\\'c8 \\f15\\'c8}"), QString::fromUtf8("È И"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0 Arial;}}\\f0 \\'c8esk\\'e1 \\f9 \\'9a}"),
              QString::fromUtf8("Česká š"));
    // Without a font table, bytes as they are in the document's code page.
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1251 \\'c0\xc1}"), QString::fromUtf8("АБ"));
}

TEST(RtfCharsets, FontNamesAreReadInTheirCharacterSet)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf("{\\rtf1{\\fonttbl{\\f0\\fcharset204 \\'c0\\'f0\\'e8\\'e0\\'eb;}"
                        "{\\f1\\fcharset128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\\f0 a\\f1 b}",
                        doc, nullptr));
    const auto ps = paragraphs(doc);
    ASSERT_EQ(ps[0].runs.size(), 2u);
    EXPECT_EQ(ps[0].runs[0].family, QString::fromUtf8("Ариал"));
    EXPECT_EQ(ps[0].runs[1].family, QString::fromUtf8("ＭＳ 明朝"));
}

TEST(RtfCharsets, SymbolSignsBecomeTheirUnicodeMeaning)
{
    // As Word and LibreOffice write the signs of the Symbol and Wingdings
    // fonts: in the private-use area. In other fonts such a character is
    // the font's own (found by fuzzing: a sign of Wingdings that has no
    // meaning in Unicode stays private and must not turn Greek when the
    // text is read again in the document's font).
    const QByteArray fonts = "{\\rtf1\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1\\fcharset2 Symbol;}"
                             "{\\f2\\fcharset2 Wingdings;}{\\f3\\fcharset2 Webdings;}}";
    EXPECT_EQ(textOf(fonts + "{\\f1\\u61623\\'3f\\u61548\\'3f\\u61508\\'3f} {\\f2\\u61548\\'3f\\u61494\\'3f\\u61692\\'3f}"
                             " {\\f1\\u61472\\'3f\\u61440\\'3f\\u63000\\'3f} \\u61623\\'3f{\\f3\\u61548\\'3f}{\\f2\\u61519\\'3f}}"),
              QString::fromUtf8("•λΔ ●⌛✓  \uF000\uF618 \uF0B7\uF06C\uF04F"));
    QTextDocument doc;
    ASSERT_TRUE(readRtf(fonts + "{\\f2\\'4f\\u61519\\'3f}}", doc, nullptr));
    EXPECT_EQ(plainText(doc), QString::fromUtf8("\uF04F\uF04F"));
    QTextDocument back;
    ASSERT_TRUE(readRtf(writeRtf(doc), back, nullptr));
    EXPECT_EQ(plainText(back), plainText(doc));
    // Bytes of the symbol fonts; other symbol fonts keep their bytes.
    EXPECT_EQ(textOf(fonts + "{\\f1 a\\'b7\\'b4p}{\\f2 \\'6e\\'a7\\'fe}{\\f3 \\'61}}"), QString::fromUtf8("α•×π■▪☑a"));
}
