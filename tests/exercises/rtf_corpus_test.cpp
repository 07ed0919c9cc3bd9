// The corpus of RTF made elsewhere (tests/exercises/data): LibreOffice 7.4
// (lo_*.rtf, from the HTML of data/sources; lo_docx_*.rtf from the .docx
// pandoc makes of sources/corde.md, lo_docx_puces.rtf with the Symbol and
// Wingdings bullets Word gives; lo_odt_ancre.rtf from an .odt with its picture
// anchored to a paragraph; lo_tableau_imbrique.rtf from
// sources/tableau_imbrique.html, a table in a cell of a table), pandoc 2.17 (pandoc_*.rtf, from sources/*.md),
// AbiWord 3.0 (abiword_corde.rtf from the same .docx, abiword_liens.rtf from
// sources/abi_liens.html), and files written by hand in the shapes Word 2010
// (word_*.rtf) and WordPad (wordpad_*.rtf) give them. Each is read, written,
// read again, and shown by LibreOffice as it shows the original; LibreOffice
// reads the same text in each.
#include "exercises/rtf_reader.h"
#include "exercises/rtf_writer.h"
#include "rtf_test_util.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

#include <iostream>

using namespace tolvi;
using namespace tolvi::rtftest;

namespace {

QStringList corpus()
{
    return QDir(QStringLiteral(TOLVI_SOURCE_DIR "/tests/exercises/data")).entryList({"*.rtf"}, QDir::Files, QDir::Name);
}

// The tables of a document: rows, columns and the span of every cell.
QString tableShapes(const QTextDocument& doc)
{
    QString out;
    for (QTextFrame* f : doc.rootFrame()->childFrames()) {
        const auto* t = qobject_cast<QTextTable*>(f);
        if (!t)
            continue;
        out += QStringLiteral("[%1x%2").arg(t->rows()).arg(t->columns());
        for (int r = 0; r < t->rows(); ++r)
            for (int c = 0; c < t->columns(); ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                if (cell.row() == r && cell.column() == c && (cell.rowSpan() > 1 || cell.columnSpan() > 1))
                    out += QStringLiteral(" %1,%2:%3x%4").arg(r).arg(c).arg(cell.rowSpan()).arg(cell.columnSpan());
            }
        out += ']';
    }
    return out;
}

QTextTable* firstTable(const QTextDocument& doc)
{
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f))
            return t;
    return nullptr;
}

QString cellText(QTextTable* t, int row, int column)
{
    const QTextTableCell cell = t->cellAt(row, column);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

// Runs LibreOffice on every file of `dir`, into `format` files beside them.
bool convert(const QString& soffice, const QString& profile, const QString& dir, const char* format)
{
    QStringList args{"-env:UserInstallation=" + profile, "--headless", "--convert-to", format, "--outdir", dir};
    for (const QString& name : QDir(dir).entryList({"*.rtf"}, QDir::Files))
        args << QDir(dir).filePath(name);
    QProcess lo;
    lo.start(soffice, args);
    return lo.waitForFinished(600000) && lo.exitCode() == 0;
}

QString readUtf8(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// What a page of HTML shows: its text, blanks as one. List marks are left
// out (LibreOffice writes its lists as HTML lists, Tolvi's marks are text),
// and the signs of the Symbol and Wingdings fonts that the corpus holds, as
// LibreOffice keeps them in the private-use area, are given their meaning.
QString shownText(QString html)
{
    html.remove(QRegularExpression("<head>.*</head>", QRegularExpression::DotMatchesEverythingOption));
    html.replace(QRegularExpression("</?(p|td|th|tr|br|li|ul|ol|h[1-6]|div|table|tbody)\\b[^>]*>"), " ");
    html.remove(QRegularExpression("<[^>]*>"));
    html.replace("&nbsp;", " ").replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
    html.replace(QChar(0xF06C), QChar(0x03BB)).replace(QChar(0xF06D), QChar(0x03BC)).replace(QChar(0xF0FC), QChar(0x2713))
        .replace(QChar(0xF0B7), QChar(0x2022));
    html = html.simplified();
    html.replace(QRegularExpression("(^| )([\u2022\u2013\u25AA\u25E6\u2713\u27A2\u25A0]|[0-9]+\\.)(?= )"), "");
    return html;
}

// The lists of a page of HTML: its list and item tags, in order.
QString listTags(const QString& html)
{
    QString out;
    static const QRegularExpression tag("<(/?(?:ol|ul|li))\\b[^>]*>");
    for (auto m = tag.globalMatch(html); m.hasNext();)
        out += m.next().captured(0) + u' ';
    return out;
}

}  // namespace

TEST(RtfCorpus, WordAndWordPadShapes)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf(testData("word_mereni.rtf"), doc, nullptr));
    // Python's codecs, apart from Tolvi, decoded the bytes of these lines.
    const QString text = plainText(doc);
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("Česká měření: vlna na šńůře\n"
                                                  "•\tRychlost v = λ·f; λ je vlnová délka.\n"
                                                  "•\tСкорость волны (rusky), hotovo ✓\n"
                                                  "Objekt: [obrázek] konec.\n")))
        << text.toStdString();
    EXPECT_FALSE(text.contains("VISIBLE"));  // binary object data
    EXPECT_TRUE(text.endsWith(QString::fromUtf8("Konec.")));
    QTextTable* t = firstTable(doc);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(tableShapes(doc), "[2x3 1,1:1x2]");
    EXPECT_EQ(cellText(t, 0, 0), QString::fromUtf8("Čas t (s)"));
    EXPECT_EQ(cellText(t, 0, 1), QString::fromUtf8("Poloha xM (m)"));
    EXPECT_EQ(cellText(t, 1, 1), QString::fromUtf8("1,25 (10-2 m)"));
    EXPECT_EQ(t->cellAt(0, 2).format().background().color(), QColor(217, 217, 217));
    EXPECT_EQ(t->cellAt(0, 1).format().verticalAlignment(), QTextCharFormat::AlignMiddle);
    EXPECT_GT(t->cellAt(1, 0).format().toTableCellFormat().leftBorder(), 0);  // from the row's borders
    const auto widths = t->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 3);
    EXPECT_NEAR(widths[0].rawValue(), (2962 + 108) / 15.0, 1e-9);

    ASSERT_TRUE(readRtf(testData("wordpad_russe.rtf"), doc, nullptr));
    EXPECT_EQ(plainText(doc), QString::fromUtf8("Волна на шнуре\n"
                                                "Скорость v = λ·f, αισθμα; Česká šńů\n"
                                                "Пример: T = 2,5 Н, μ = 10-2 кг/м.\n"
                                                "Страница 2"));
    const auto ps = paragraphs(doc);
    ASSERT_EQ(ps.size(), 4u);
    EXPECT_EQ(ps[0].align, int(Qt::AlignHCenter));
    EXPECT_EQ(ps[0].runs[0].color, "#004dbb");
    EXPECT_TRUE(ps[0].runs[0].bold);
    EXPECT_EQ(ps[3].align, int(Qt::AlignRight));
}

TEST(RtfCorpus, LibreOfficeTable)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf(testData("lo_tableau.rtf"), doc, nullptr));
    EXPECT_EQ(tableShapes(doc), "[4x2 3,0:1x2]");
    QTextTable* t = firstTable(doc);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(cellText(t, 0, 0), QString::fromUtf8("Durée (s)"));
    EXPECT_EQ(cellText(t, 3, 0), QString::fromUtf8("Česká republika — Привет — Ελλάδα"));
    EXPECT_EQ(t->cellAt(0, 0).firstCursorPosition().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    // LibreOffice gives the line between two rows to the upper cell only.
    EXPECT_GT(t->cellAt(0, 1).format().toTableCellFormat().topBorder(), 0);
    EXPECT_GT(t->cellAt(1, 0).format().toTableCellFormat().leftBorder(), 0);
    EXPECT_GT(t->cellAt(1, 1).format().toTableCellFormat().bottomBorder(), 0);
    EXPECT_EQ(t->cellAt(1, 1).format().toTableCellFormat().topBorder(), 0);
    EXPECT_TRUE(plainText(doc).contains(QString::fromUtf8("Texte après le tableau : v = Δx / Δt.")));
}

TEST(RtfCorpus, EveryFileReadsBackAsItWasRead)
{
    const QStringList files = corpus();
    ASSERT_GE(files.size(), 6);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QTextDocument doc;
        ASSERT_TRUE(readRtf(testData(name.toUtf8().constData()), doc, nullptr));
        EXPECT_FALSE(doc.isEmpty());
        QTextDocument back;
        ASSERT_TRUE(readRtf(writeRtf(doc), back, nullptr));
        EXPECT_EQ(plainText(back), plainText(doc));
        EXPECT_EQ(tableShapes(back), tableShapes(doc));
        const auto before = paragraphs(doc), after = paragraphs(back);
        ASSERT_EQ(before.size(), after.size());
        for (size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(before[i], after[i]) << "paragraph " << i;
    }
}

// Files cut short, as a broken download or a full disk leaves them: what the
// program reads of them, it writes so that it reads the same again (the fuzz
// seeds, cut every 97 bytes, as the fuzzer checks it).
TEST(RtfCorpus, FilesCutShortReadBackAsTheyWereRead)
{
    const QDir seeds(QStringLiteral(TOLVI_SOURCE_DIR "/fuzz/corpus/rtf"));
    const QStringList files = seeds.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 10);
    int cuts = 0;
    for (const QString& name : files) {
        QFile file(seeds.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray whole = file.readAll();
        for (qsizetype size = 97; size < whole.size(); size += 97) {
            ++cuts;
            QTextDocument doc;
            readRtf(whole.left(size), doc, nullptr);
            QTextDocument back;
            ASSERT_TRUE(readRtf(writeRtf(doc), back, nullptr)) << name.toStdString() << " cut at " << size;
            EXPECT_EQ(back.toPlainText().toStdString(), doc.toPlainText().toStdString()) << name.toStdString() << " cut at " << size;
        }
    }
    EXPECT_GT(cuts, 100);
}

// LibreOffice shows what Tolvi writes as it shows the file Tolvi read: the
// same text, the same tables and lists, and superscripts and subscripts
// drawn small.
TEST(RtfCorpus, LibreOfficeShowsTolvisCopyAsTheOriginal)
{
    TOLVI_NEEDS_SOFFICE(soffice);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkdir("original");
    QDir(dir.path()).mkdir("tolvi");
    for (const QString& name : corpus()) {
        const QByteArray data = testData(name.toUtf8().constData());
        QFile original(dir.filePath("original/" + name));
        ASSERT_TRUE(original.open(QIODevice::WriteOnly));
        original.write(data);
        QTextDocument doc;
        ASSERT_TRUE(readRtf(data, doc, nullptr));
        QFile copy(dir.filePath("tolvi/" + name));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write(writeRtf(doc));
    }
    const QString profile = QUrl::fromLocalFile(dir.filePath("profile")).toString();
    ASSERT_TRUE(convert(soffice, profile, dir.filePath("original"), "html"));
    ASSERT_TRUE(convert(soffice, profile, dir.filePath("tolvi"), "html"));
    ASSERT_TRUE(convert(soffice, profile, dir.filePath("tolvi"), "fodt"));
    const QRegularExpression position("text-position=\"[^\"]* ([0-9]+)%\"");
    for (const QString& name : corpus()) {
        SCOPED_TRACE(name.toStdString());
        const QString base = QFileInfo(name).completeBaseName();
        const QString original = readUtf8(dir.filePath("original/" + base + ".html"));
        const QString ours = readUtf8(dir.filePath("tolvi/" + base + ".html"));
        ASSERT_FALSE(original.isEmpty());
        ASSERT_FALSE(ours.isEmpty());
        EXPECT_EQ(shownText(ours), shownText(original))
            << shownText(ours).toStdString() << "\n" << shownText(original).toStdString();
        EXPECT_EQ(ours.count("<td") + ours.count("<th"), original.count("<td") + original.count("<th"));
        EXPECT_EQ(ours.count("<tr"), original.count("<tr"));
        EXPECT_EQ(ours.count("<sup"), original.count("<sup"));
        EXPECT_EQ(ours.count("<sub"), original.count("<sub"));
        // Lists as lists, nested as they were.
        EXPECT_EQ(listTags(ours), listTags(original));
        // Pictures, links and footnotes, each once.
        EXPECT_EQ(ours.count("<img"), original.count("<img"));
        EXPECT_EQ(ours.count("href=\"http"), original.count("href=\"http"));
        EXPECT_EQ(ours.count("sdfootnoteanc"), original.count("sdfootnoteanc"));
        const QString flat = readUtf8(dir.filePath("tolvi/" + base + ".fodt"));
        for (auto m = position.globalMatch(flat); m.hasNext();) {
            const auto match = m.next();
            EXPECT_LT(match.captured(1).toInt(), 100) << match.captured(0).toStdString();
        }
    }
}

namespace {

// The lines of a text as a reader shows them, for comparing readers: blanks
// trimmed, list marks and pictures left out (LibreOffice's text has none),
// empty lines dropped.
QStringList comparableLines(const QString& text)
{
    static const QRegularExpression mark("^([\u2022\u2013\u25AA\u25E6\u2713\u27A2\u25A0\u00B7o]|[0-9]+\\.)\\s+");
    QStringList out;
    for (QString line : text.split(u'\n')) {
        line.remove(QChar::ObjectReplacementCharacter).remove(kPictureNotShown).remove(QChar(0xFEFF));
        // LibreOffice keeps the signs of Symbol and Wingdings in the
        // private-use area: those of the corpus are given their meaning.
        line.replace(QChar(0xF06C), QChar(0x03BB)).replace(QChar(0xF06D), QChar(0x03BC)).replace(QChar(0xF0FC), QChar(0x2713));
        line = line.simplified().remove(mark);
        if (!line.isEmpty())
            out << line;
    }
    return out;
}

// The main text of a document, without its footnotes.
QString mainText(const QTextDocument& doc)
{
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (!b.blockFormat().hasProperty(kRtfFootnote))
            lines << b.text().replace(QChar(0x2028), u'\n');
    return lines.join(u'\n');
}

}  // namespace

// Tolvi reads the words LibreOffice reads, file for file, in the same lines.
TEST(RtfCorpus, SameTextAsLibreOffice)
{
    TOLVI_NEEDS_SOFFICE(soffice);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QString& name : corpus()) {
        QFile copy(dir.filePath(name));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write(testData(name.toUtf8().constData()));
    }
    const QString profile = QUrl::fromLocalFile(dir.filePath("profile")).toString();
    ASSERT_TRUE(convert(soffice, profile, dir.path(), "txt:Text (encoded):UTF8"));
    int equal = 0;
    for (const QString& name : corpus()) {
        SCOPED_TRACE(name.toStdString());
        QTextDocument doc;
        ASSERT_TRUE(readRtf(testData(name.toUtf8().constData()), doc, nullptr));
        const QStringList theirs = comparableLines(readUtf8(dir.filePath(QFileInfo(name).completeBaseName() + ".txt")));
        const QStringList ours = comparableLines(mainText(doc));
        EXPECT_EQ(ours, theirs) << ours.join(" | ").toStdString() << "\n" << theirs.join(" | ").toStdString();
        equal += ours == theirs;
    }
    std::cout << "Same text as LibreOffice: " << equal << " / " << corpus().size() << " files\n";
}
