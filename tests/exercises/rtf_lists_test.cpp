// Lists: numbered from the list table where the file leaves the mark blank
// (AbiWord) or out, and written back as RTF lists that word processors see
// as lists. Each file is small and written here in its producer's shape.
#include "exercises/rtf_lists.h"
#include "exercises/rtf_reader.h"
#include "exercises/rtf_writer.h"
#include "rtf_test_util.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <gtest/gtest.h>

#include <algorithm>

using namespace tolvi;
using namespace tolvi::rtftest;

namespace {

// AbiWord 3.0: its numbered items have a blank \listtext (spaces and a tab);
// its bullets a \bullet. Levels in the list table, \ls and \ilvl on the
// paragraph, after the mark.
const char kAbiWordLists[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
    "{\\fonttbl\n{\\f0\\fnil\\fcharset0\\fprq0\\fttruetype Liberation Serif;}}\n"
    "{\\*\\listtable\n"
    "{\\list\\listtemplateid1000{\\listlevel\\levelnfc0\\levelstartat1\\levelspace0\\levelfollow0"
    "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}{\\listlevel\\levelnfc4\\levelstartat1\\levelspace0"
    "\\levelfollow0{\\leveltext\\'04\\'00.\\'01);}{\\levelnumbers\\'01\\'03;}}\\listid1}\n"
    "{\\list\\listtemplateid1001{\\listlevel\\levelnfc23\\levelstartat0\\levelspace0\\levelfollow0"
    "{\\leveltext\\'01\\u8226 ;}{\\levelnumbers;}}\\listid3}\n"
    "{\\list\\listtemplateid1002{\\listlevel\\levelnfc1\\levelstartat4{\\leveltext\\'02\\'00-;}"
    "{\\levelnumbers\\'01;}}\\listid5}}\n"
    "{\\*\\listoverridetable\n"
    "{\\listoverride\\listoverridecount0\\listid1\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}"
    "{\\levelnumbers\\'01;}\\ls1}\n"
    "{\\listoverride\\listoverridecount0\\listid1\\ls2}\n"
    "{\\listoverride\\listoverridecount0\\listid3\\ls3}{\\listoverride\\listoverridecount0\\listid5\\ls4}}\n"
    "\\pard\\plain\\ltrpar\\ql\\s28\\itap0{\\s28\\f0\\fs24\\lang1024{\\*\\listtag0}Mesures}"
    "{\\s28\\f0\\fs24{\\*\\listtag0}\\par}\n"
    "{\\listtext\\pard\\fi-431\\li720  \t}\\pard\\plain{\\ltrpar\\ql\\fi-431\\li720\\s28{\\*\\abilist"
    "\\abilistid1\\abilistparentid0\\abilistlevel1\\abistartat1{\\abifieldfont NULL}{\\abilistdecimal .}"
    "{\\abilistdelim %L.}{\\abiliststyle Numbered List}}{\\*\\pn\\pnql\\pnstart1\\pnlvlbody\\pndec{\\pntxtb }"
    "{\\pntxta .}}\\fn-431\\li720\\ls1\\ilvl0\\itap0{\\s28\\f0\\fs24{\\*\\listtag0}Mesurer la corde}"
    "{\\s28\\f0\\fs24{\\*\\listtag0}\\par}\n}"
    "{\\listtext\\pard\\fi-431\\li720  \t}\\pard\\plain{\\ltrpar\\fi-431\\li720\\ls1\\ilvl0\\itap0"
    "{\\s28\\f0\\fs24 Calculer v}{\\s28\\f0\\fs24\\par}\n}"
    "{\\listtext\\pard\\fi-431\\li1440  \t}\\pard\\plain{\\ltrpar\\fi-431\\li1440\\ls2\\ilvl1\\itap0"
    "{\\s28\\f0\\fs24 sous-\\'e9tape a}{\\s28\\f0\\fs24\\par}\n}"
    "{\\listtext\\pard\\fi-431\\li1440  \t}\\pard\\plain{\\ltrpar\\fi-431\\li1440\\ls2\\ilvl1\\itap0"
    "{\\s28\\f0\\fs24 sous-\\'e9tape b}{\\s28\\f0\\fs24\\par}\n}"
    "{\\listtext\\pard\\fi-431\\li720  \t}\\pard\\plain{\\ltrpar\\fi-431\\li720\\ls1\\ilvl0\\itap0"
    "{\\s28\\f0\\fs24 Conclure}{\\s28\\f0\\fs24\\par}\n}"
    "{\\listtext\\pard\\fi-431\\li720\\bullet \t}\\pard\\plain{\\ltrpar\\fi-431\\li720\\ls3\\ilvl0\\itap0"
    "{\\s28\\f0\\fs24 puce}{\\s28\\f0\\fs24\\par}\n}"
    "{\\listtext\\pard\\fi-431\\li720  \t}\\pard\\plain{\\ltrpar\\fi-431\\li720\\ls4\\ilvl0\\itap0"
    "{\\s28\\f0\\fs24 romain}{\\s28\\f0\\fs24\\par}\n}"
    "{\\listtext\\pard\\fi-431\\li720  \t}\\pard\\plain{\\ltrpar\\fi-431\\li720\\ls4\\ilvl0\\itap0"
    "{\\s28\\f0\\fs24 suivant}{\\s28\\f0\\fs24\\par}\n}"
    "\\pard\\plain\\ltrpar\\ql\\s28\\itap0{\\s28\\f0\\fs24 Apr\\'e8s}{\\s28\\f0\\fs24\\par}\n}";

const char kAbiWordShown[] =
    "Mesures\n1.\tMesurer la corde\n2.\tCalculer v\n2.a)\tsous-étape a\n2.b)\tsous-étape b\n3.\tConclure\n"
    "•\tpuce\nIV-\tromain\nV-\tsuivant\nAprès";

// LibreOffice 7.4, from a .docx: the marks in \listtext, a bullet of
// Symbol as a private-use character, a second level of letters.
const char kLibreOfficeLists[] =
    "{\\rtf1\\ansi\\deff4\\adeflang1025\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 Symbol;}"
    "{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans;}}\n"
    "{\\*\\listtable{\\list\\listtemplateid1\n"
    "{\\listlevel\\levelnfc23\\leveljc0\\levelstartat1\\levelfollow0{\\leveltext \\'01\\u61623 ?;}"
    "{\\levelnumbers;}\\f1\\fi-360\\li720}\n"
    "{\\listlevel\\levelnfc4\\leveljc0\\levelstartat1\\levelfollow0{\\leveltext \\'02\\'01);}"
    "{\\levelnumbers\\'01;}\\fi-360\\li1440}\\listid1}\n"
    "{\\list\\listtemplateid2\n"
    "{\\listlevel\\levelnfc0\\leveljc0\\levelstartat1\\levelfollow0{\\leveltext \\'02\\'00.;}"
    "{\\levelnumbers\\'01;}\\fi-360\\li720}\\listid2}}\n"
    "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}"
    "{\\listoverride\\listid2\\listoverridecount0\\ls2}}\n"
    "\\pard\\plain \\f4\\fs24 Consignes\\par\n"
    "{\\listtext\\pard\\plain \\f4\\fs24\\u61623\\'3f\\tab}\\ilvl0\\ls1 \\li720\\ri0\\lin720\\rin0\\fi-360"
    "\\f4\\fs24 Tendre la corde\\par\n"
    "{\\listtext\\pard\\plain \\f4\\fs24 a)\\tab}\\ilvl1\\ls1 \\li1440\\ri0\\lin1440\\rin0\\fi-360"
    "\\f4\\fs24 sans la casser\\par\n"
    "{\\listtext\\pard\\plain \\f4\\fs24\\u61623\\'3f\\tab}\\ilvl0\\ls1 \\li720\\ri0\\lin720\\rin0\\fi-360"
    "\\f4\\fs24 Lancer l'onde\\par\n"
    "{\\listtext\\pard\\plain \\f4\\fs24 1.\\tab}\\ilvl0\\ls2 \\li720\\ri0\\lin720\\rin0\\fi-360"
    "\\f4\\fs24 Mesurer\\par\n"
    "{\\listtext\\pard\\plain \\f4\\fs24 2.\\tab}\\ilvl0\\ls2 \\li720\\ri0\\lin720\\rin0\\fi-360"
    "\\f4\\fs24 Conclure\\par\n"
    "\\pard\\plain \\f4\\fs24 Fin\\par}";

const char kLibreOfficeShown[] =
    "Consignes\n•\tTendre la corde\na)\tsans la casser\n•\tLancer l'onde\n1.\tMesurer\n2.\tConclure\nFin";

std::string read(const QByteArray& rtf, QTextDocument& doc)
{
    QString error;
    EXPECT_TRUE(readRtf(rtf, doc, &error)) << error.toStdString();
    return shownPlainText(doc).toStdString();
}

std::string utf8(const char* text)
{
    return text;
}

// The list, level and look of each paragraph: "ls/ilvl/nfc" or "-".
QStringList listShape(const QTextDocument& doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        out << (f.hasProperty(kRtfList) ? QStringLiteral("%1/%2/%3")
                                              .arg(f.intProperty(kRtfList))
                                              .arg(f.intProperty(kRtfListLevel))
                                              .arg(f.intProperty(kRtfListNumbering))
                                        : QStringLiteral("-"));
    }
    return out;
}

}  // namespace

TEST(RtfLists, NumbersAsWordProcessorsCountThem)
{
    using rtf::listNumber;
    EXPECT_EQ(listNumber(4, 1), "IV");
    EXPECT_EQ(listNumber(1994, 2), "mcmxciv");
    EXPECT_EQ(listNumber(3, 3), "C");
    EXPECT_EQ(listNumber(28, 4), "bb");
    EXPECT_EQ(listNumber(7, 22), "07");
    EXPECT_EQ(listNumber(12, 0), "12");
    EXPECT_EQ(listNumber(5, rtf::kBulletNumbering), "");
    EXPECT_EQ(listNumber(0, 1), "0");       // no Roman zero
    EXPECT_EQ(listNumber(9000, 3), "9000");  // beyond the letters

    // A deeper level starts again after each item above it.
    rtf::ListLevels levels;
    levels[0].text = QString(QChar(0)) + u'.';
    levels[1].numbering = 4;
    levels[1].text = QString(QChar(0)) + u'.' + QChar(1) + u')';
    rtf::ListCounter counter;
    EXPECT_EQ(listLabel(levels, 0, counter.next(levels, 0)), "1.");
    EXPECT_EQ(listLabel(levels, 1, counter.next(levels, 1)), "1.a)");
    EXPECT_EQ(listLabel(levels, 1, counter.next(levels, 1)), "1.b)");
    EXPECT_EQ(listLabel(levels, 0, counter.next(levels, 0)), "2.");
    EXPECT_EQ(listLabel(levels, 1, counter.next(levels, 1)), "2.a)");
}

TEST(RtfLists, AbiWordNumberedItemsNumberedFromTheListTable)
{
    QTextDocument doc;
    EXPECT_EQ(read(kAbiWordLists, doc), utf8(kAbiWordShown));
    // \ls1 and \ls2 are both list 1: the sub-items count on from its items.
    EXPECT_EQ(listShape(doc), (QStringList{"-", "1/0/0", "1/0/0", "2/1/4", "2/1/4", "1/0/0", "3/0/23", "4/0/1",
                                           "4/0/1", "-"}));
}

TEST(RtfLists, ItemsWithoutTheirMarkNumberedAndBulletsOfSymbolShown)
{
    // Word may leave \listtext out; the level's bullet is a sign of Symbol.
    QTextDocument doc;
    EXPECT_EQ(read("{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}{\\f3\\fbidi\\fcharset2 Symbol;}}"
                   "{\\*\\listtable{\\list\\listtemplateid-1{\\listlevel\\levelnfc23\\levelstartat1"
                   "{\\leveltext\\leveltemplateid67698689\\'01\\u-3913 ?;}{\\levelnumbers;}\\f3\\fi-360\\li720}"
                   "{\\listlevel\\levelnfc2\\levelstartat3{\\leveltext\\'02\\'01.;}{\\levelnumbers\\'01;}}"
                   "\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}"
                   "\\pard\\ls1\\ilvl0 sans marque\\par\\pard\\ls1\\ilvl1 trois\\par\\pard\\ls1\\ilvl1 quatre\\par"
                   "\\pard\\ls9\\ilvl0 liste inconnue\\par\\pard fin\\par}",
                   doc),
              utf8("•\tsans marque\niii.\ttrois\niv.\tquatre\nliste inconnue\nfin"));
    // Marks the file gives are kept as they are, also where the table
    // would number otherwise.
    EXPECT_EQ(read(kLibreOfficeLists, doc), utf8(kLibreOfficeShown));
    EXPECT_EQ(listShape(doc), (QStringList{"-", "1/0/23", "1/1/4", "1/0/23", "2/0/0", "2/0/0", "-"}));
}

TEST(RtfLists, HostileListTablesStayHarmless)
{
    QTextDocument doc;
    // Levels beyond nine, a level text longer than it says, numbers out of
    // range, \ls without a table, an override of a list that is not there.
    QByteArray rtf = "{\\rtf1{\\*\\listtable{\\list";
    for (int i = 0; i < 12; ++i)
        rtf += "{\\listlevel\\levelnfc99999\\levelstartat-5{\\leveltext\\'7f\\'00\\'08\\'09x;}}";
    rtf += "\\listid-2147483648}}{\\*\\listoverridetable{\\listoverride\\ls5}{\\listoverride\\listid3\\ls6}"
           "{\\listoverride\\listid-2147483648\\ls7}}";
    rtf += "\\pard\\ls7\\ilvl99 a\\par\\pard\\ls6 b\\par\\pard\\ls5\\ilvl-3 c\\par\\pard\\ls2147483647 d\\par}";
    EXPECT_EQ(read(rtf, doc), "x;\ta\nb\nc\nd");
    const QByteArray written = writeRtf(doc);
    QTextDocument back;
    EXPECT_EQ(read(written, back), shownPlainText(doc).toStdString());
}

TEST(RtfLists, ReadListsWrittenBackAsLists)
{
    for (const char* file : {kAbiWordLists, kLibreOfficeLists}) {
        QTextDocument doc;
        const std::string shown = read(file, doc);
        const QByteArray written = writeRtf(doc);
        EXPECT_TRUE(written.contains("{\\*\\listtable")) << written.toStdString();
        EXPECT_TRUE(written.contains("{\\*\\listoverridetable"));
        EXPECT_TRUE(written.contains("\\ilvl1"));
        // Each mark once, in \listtext, for readers without lists.
        EXPECT_TRUE(written.contains("{\\listtext"));
        EXPECT_EQ(written.count("{\\listtext"), std::count(shown.begin(), shown.end(), '\t'));
        QTextDocument back;
        EXPECT_EQ(read(written, back), shown);
        // The items keep their levels and looks; the lists are numbered
        // as the file numbers them.
        QStringList shape = listShape(doc), again = listShape(back);
        ASSERT_EQ(shape.size(), again.size());
        for (qsizetype i = 0; i < shape.size(); ++i) {
            EXPECT_EQ(shape[i] == "-", again[i] == "-") << i;
            EXPECT_EQ(shape[i].section(u'/', 1), again[i].section(u'/', 1)) << i;
        }
        EXPECT_EQ(paragraphs(back), paragraphs(doc));
    }
}

TEST(RtfLists, ListsInFootnotesWrittenBackAsLists)
{
    QTextDocument doc;
    const std::string shown = read("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}}"
                                   "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                                   "\\pard Texte{\\super\\chftn}{\\*\\footnote\\pard\\plain{\\super\\chftn} Note :\\par"
                                   "\\pard\\plain\\ls1\\ilvl0{\\listtext \\u8226 ?\\tab}point}\\par}",
                                   doc);
    EXPECT_EQ(shown, utf8("Texte1\n1 Note :\n•\tpoint"));
    EXPECT_EQ(listShape(doc), (QStringList{"-", "-", "1/0/23"}));
    const QByteArray written = writeRtf(doc);
    const qsizetype note = written.indexOf("{\\*\\footnote");
    ASSERT_GE(note, 0) << written.toStdString();
    EXPECT_GT(written.indexOf("\\ls1\\ilvl0", note), note);
    QTextDocument back;
    EXPECT_EQ(read(written, back), shown);
    EXPECT_EQ(listShape(back), listShape(doc));
}

TEST(RtfLists, ListsMadeInTheDocumentWrittenAsLists)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText("Avant");
    c.insertBlock();
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    bullets.setIndent(1);
    QTextList* outer = c.createList(bullets);
    c.insertText("premier");
    c.insertBlock();
    QTextListFormat letters;
    letters.setStyle(QTextListFormat::ListLowerAlpha);
    letters.setIndent(2);
    QTextList* inner = c.createList(letters);
    c.insertText("dedans");
    c.insertBlock();
    inner->remove(c.block());
    outer->add(c.block());
    c.insertText("second");
    const QByteArray written = writeRtf(doc);
    EXPECT_TRUE(written.contains("\\ls1\\ilvl0")) << written.toStdString();
    EXPECT_TRUE(written.contains("\\ls2\\ilvl1"));
    EXPECT_TRUE(written.contains("\\levelnfc23"));
    EXPECT_TRUE(written.contains("\\levelnfc4"));
    EXPECT_TRUE(written.contains("{\\leveltext\\'02\\'01.;}{\\levelnumbers\\'01;}"));
    QTextDocument back;
    EXPECT_EQ(read(written, back), utf8("Avant\n•\tpremier\na.\tdedans\n•\tsecond"));
    EXPECT_EQ(listShape(back), (QStringList{"-", "1/0/23", "2/1/4", "1/0/23"}));
}

namespace {

QByteArray lists(const QString& html)
{
    QString body = html;
    body.remove(QRegularExpression("<head>.*</head>", QRegularExpression::DotMatchesEverythingOption));
    QByteArray out;
    static const QRegularExpression tag("<(/?(?:ol|ul|li))\\b[^>]*>");
    for (auto m = tag.globalMatch(body); m.hasNext();)
        out += m.next().captured(1).toLatin1() + ' ';
    return out.trimmed();
}

}  // namespace

// LibreOffice, the word processor at hand, sees the lists of what Tolvi
// saves as lists: each item once, nested as it was, no mark doubled.
TEST(RtfLists, LibreOfficeSeesTolvisListsAsLists)
{
    TOLVI_NEEDS_SOFFICE(soffice);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::pair<const char*, QByteArray> files[] = {{"abiword", kAbiWordLists}, {"libreoffice", kLibreOfficeLists}};
    QStringList args{"-env:UserInstallation=" + QUrl::fromLocalFile(dir.filePath("profile")).toString(), "--headless",
                     "--convert-to", "html", "--outdir", dir.path()};
    for (const auto& [name, rtf] : files) {
        QTextDocument doc;
        read(rtf, doc);
        QFile out(dir.filePath(QLatin1String(name) + ".rtf"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(writeRtf(doc));
        args << out.fileName();
    }
    QProcess lo;
    lo.start(soffice, args);
    ASSERT_TRUE(lo.waitForFinished(300000));
    ASSERT_EQ(lo.exitCode(), 0) << lo.readAllStandardError().toStdString();
    auto page = [&](const char* name) {
        QFile f(dir.filePath(QLatin1String(name) + ".html"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    const QString abi = page("abiword"), lo7 = page("libreoffice");
    // Items of the first level, two nested items in the second, then a
    // bulleted list and a list of Roman figures.
    EXPECT_EQ(lists(abi).toStdString(), "ol li li /ol ol ol li li /ol /ol ol li /ol ul li /ul ol li li /ol")
        << abi.toStdString();
    EXPECT_EQ(lists(lo7).toStdString(), "ul li ol li /ol li /ul ol li li /ol") << lo7.toStdString();
    // LibreOffice numbers the items itself: the marks are not text.
    const QString text = abi + lo7;
    EXPECT_FALSE(text.contains(QRegularExpression("[0-9IVab][.)-]\\s*(<[^>]*>\\s*)*(Mesurer|Calculer|sous|Conclure|romain)")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QString::fromUtf8("•")));
    EXPECT_TRUE(abi.contains(QRegularExpression("<ol[^>]*type=\"I\"[^>]*start=\"4\"|<ol[^>]*start=\"4\"[^>]*type=\"I\"")))
        << abi.toStdString();
}
