// The authoring tool: the shipped activities are exactly what their sources
// give, and teachers' mistakes in the sources are named.
#include "author.h"

#include "config/config_codec.h"
#include "exercises/exercise_file.h"
#include "exercises/rtf_reader.h"
#include "fifo_guard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace tolvi;

namespace {
QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

TEST(ExerciseAuthor, RegeneratingTheShippedFilesGivesTheSameBytes)
{
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    QStringList written;
    QString error;
    ASSERT_TRUE(author::buildAll(QStringLiteral(TOLVI_SOURCE_DIR "/data-src/exercices"), out.path(), &written, &error))
        << error.toStdString();
    // Every file the sources build is shipped, identical; nothing shipped is left unbuilt.
    const QDir shipped(QStringLiteral(TOLVI_SOURCE_DIR "/data"));
    QStringList built = written;
    built.sort();
    QStringList inData = shipped.entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(built, inData);
    for (const QString& name : written) {
        const QByteArray expected = fileBytes(shipped.filePath(name));
        EXPECT_FALSE(expected.isEmpty()) << name.toStdString();
        EXPECT_EQ(fileBytes(QDir(out.path()).filePath(name)), expected)
            << name.toStdString() << " differs: run tolvi-author build data-src/exercices data";
    }
}

TEST(ExerciseAuthor, ShippedExercisesFillEveryPreviewFieldAndNameFilesThatExist)
{
    const QDir data(QStringLiteral(TOLVI_SOURCE_DIR "/data"));
    const QStringList exercises = data.entryList({QStringLiteral("*.E33")}, QDir::Files);
    ASSERT_GE(exercises.size(), 4);
    int corrected = 0;
    for (const QString& name : exercises) {
        SCOPED_TRACE(name.toStdString());
        const ExerciseReading reading = readExercise(data.filePath(name));
        ASSERT_TRUE(reading.readable(1, 12));
        const ExerciseRecords& r = reading.records;
        const ExercisePreview preview = exercisePreview(r);
        EXPECT_FALSE(preview.title.isEmpty());
        EXPECT_FALSE(preview.notions.isEmpty());
        EXPECT_GT(preview.litMarks, 0);
        EXPECT_GT(preview.hourglasses, 0);
        for (const QString& file : {r.statement, r.configuration, r.correction, r.correctionConfiguration})
            if (!file.isEmpty()) {
                EXPECT_TRUE(QFile::exists(data.filePath(file))) << file.toStdString();
            }
        for (const QString& config : {r.configuration, r.correctionConfiguration})
            if (!config.isEmpty()) {
                EXPECT_EQ(readConfig(data.filePath(config)).status, ConfigReadStatus::Ok);
            }
        corrected += preview.corrected;
    }
    EXPECT_GE(corrected, 3);
    const ExerciseReading start = readExercise(data.filePath(QStringLiteral("TOLVI.PEM")));
    EXPECT_TRUE(QFile::exists(data.filePath(start.records.statement)));
    EXPECT_TRUE(QFile::exists(data.filePath(start.records.configuration)));
}

TEST(ExerciseAuthor, MarkupBecomesFormattedRtfThatReadsBack)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf(author::markupToRtf(QStringLiteral("# Titre\n\nLa tension **T** et v_{1},\nsuite *italique* {{bleu}} 10^{-1} \\*\n\n- point")),
                        doc));
    ASSERT_EQ(doc.blockCount(), 3);
    EXPECT_EQ(doc.begin().text(), QStringLiteral("Titre"));
    EXPECT_EQ(doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(doc.begin().next().text(), QStringLiteral("La tension T et v1, suite italique bleu 10-1 *"));
    EXPECT_EQ(doc.lastBlock().text(), QStringLiteral("\u2022 point"));
    auto formatAt = [&](const QString& what) {
        QTextCursor c = doc.find(what, doc.begin().next().position(), QTextDocument::FindCaseSensitively);
        return c.charFormat();
    };
    EXPECT_EQ(formatAt(QStringLiteral("T")).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(QStringLiteral("1")).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatAt(QStringLiteral("-1")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_TRUE(formatAt(QStringLiteral("italique")).fontItalic());
    EXPECT_EQ(formatAt(QStringLiteral("bleu")).foreground().color(), QColor(0, 0, 200));
}

// No unit starts a line: a number and its unit are held together even when
// the unit is followed by « : », « ; », « . » or « … », and the punctuation
// keeps its own no-break space.
TEST(ExerciseAuthor, NumbersKeepTheirUnitsWhateverFollowsThem)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf(author::markupToRtf(QStringLiteral(
                            "2,35 s : puis 0,4 N ; 0,9 N ; enfin 6,0 m. et 3,15 s… ou 20 cm, 4 Hz ! 2 m/s et 3 sacs, 10^{3} m.")),
                        doc));
    EXPECT_EQ(doc.begin().text(), QStringLiteral("2,35\u00A0s\u00A0: puis 0,4\u00A0N\u00A0; 0,9\u00A0N\u00A0; enfin "
                                                 "6,0\u00A0m. et 3,15\u00A0s\u2026 ou 20\u00A0cm, 4\u00A0Hz\u00A0! "
                                                 "2\u00A0m/s et 3 sacs, 103\u00A0m."));

    // And so in every text the activities ship.
    static const QRegularExpression looseUnit(
        QStringLiteral("\\d (m·s|g·m|kg·m|m|cm|s|ms|N|Hz|g|kg|%)(?![A-Za-zÀ-ÿ])"));
    const QDir data(QStringLiteral(TOLVI_SOURCE_DIR "/data"));
    int read = 0;
    for (const QString& name : data.entryList({QStringLiteral("*.RTF")}, QDir::Files)) {
        QTextDocument shipped;
        QFile file(data.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        ASSERT_TRUE(readRtf(file.readAll(), shipped)) << name.toStdString();
        // toRawText: toPlainText would turn the no-break spaces into blanks.
        const QRegularExpressionMatch loose = looseUnit.match(shipped.toRawText());
        EXPECT_FALSE(loose.hasMatch()) << name.toStdString() << " : « " << loose.captured().toStdString() << " »";
        ++read;
    }
    EXPECT_GE(read, 25);
}

TEST(ExerciseAuthor, SourcesAreReadAndTheirMistakesNamed)
{
    QString error;
    const auto config = author::parseConfiguration(
        QStringLiteral("# commentaire\nonde = sinusoidale\nextremite = libre\ntension = 1.6\nduree_graphe = 30\n"
                       "marqueur_bleu = 2,5\nmarqueur_rouge = aucun\nsymetrique = oui\n"),
        &error);
    ASSERT_TRUE(config) << error.toStdString();
    EXPECT_EQ(config->wave, (std::array<bool, 3>{false, false, true}));
    EXPECT_EQ(config->farEnd, (std::array<bool, 3>{false, false, true}));
    EXPECT_EQ(config->entries[2], QStringLiteral("1,6"));
    EXPECT_EQ(config->durationIndex, 6);
    EXPECT_EQ(config->blueMarker, 300);
    EXPECT_EQ(config->redMarker, -1);
    EXPECT_TRUE(config->symmetric);

    struct Bad {
        const char* text;
        const char* says;
    } bad[] = {
        {"onde = carree", "ligne 1"},         {"\ntension = beaucoup", "ligne 2"},
        {"duree_graphe = 7", "duree_graphe"}, {"marqueur_bleu = 8", "marqueur_bleu"},
        {"couleur = rouge", "couleur"},       {"sans egal", "clé = valeur"},
        {"symetrique = peut-etre", "oui"},
    };
    for (const Bad& b : bad) {
        error.clear();
        EXPECT_FALSE(author::parseConfiguration(QString::fromUtf8(b.text), &error)) << b.text;
        EXPECT_TRUE(error.contains(QString::fromUtf8(b.says))) << error.toStdString();
    }

    const auto exercise = author::parseExercise(
        QStringLiteral("fichier = A.E33\nenonce = A.RTF < a.txt\nconfiguration = A.P15\n"
                       "notion = \"une \"\nnotion = deux\ntemps = 3\ndifficulte = 1.5\ntitre = T"),
        &error);
    ASSERT_TRUE(exercise) << error.toStdString();
    EXPECT_EQ(exercise->records.statement, QStringLiteral("A.RTF"));
    EXPECT_EQ(exercise->records.configuration, QStringLiteral("A.P15"));
    ASSERT_EQ(exercise->texts.size(), 1u);
    EXPECT_EQ(exercise->texts[0].source, QStringLiteral("a.txt"));
    EXPECT_TRUE(exercise->configurations.empty());
    EXPECT_EQ(exercise->records.notions[0], QStringLiteral("une "));
    EXPECT_EQ(exercise->records.expectedTime, QStringLiteral(" 3"));
    EXPECT_FALSE(author::parseExercise(QStringLiteral("enonce = A.RTF"), &error));
    EXPECT_FALSE(author::parseExercise(QStringLiteral("fichier = A.E33\nnotion=1\nnotion=2\nnotion=3\nnotion=4\nnotion=5\nenonce=a"), &error));
    EXPECT_FALSE(author::parseExercise(QStringLiteral("fichier = A.E33\nenonce = a\ntemps = long"), &error));
}

TEST(ExerciseAuthor, FilesAreWrittenAsTolviSavesItsOwn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir d(dir.path());
    const QByteArray rtf = author::markupToRtf(QStringLiteral("# Titre\n\nUn **énoncé**."));
    QString error;

#ifndef _WIN32  // QFile::link makes a shortcut on Windows
    // A link to the statement keeps being a link; its target is replaced.
    const QString target = d.filePath(QStringLiteral("VRAI.RTF"));
    const QString link = d.filePath(QStringLiteral("LIEN.RTF"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("ancien") == 6);
    old.close();
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(author::writeOutput(link, rtf, &error)) << error.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(fileBytes(target), rtf);
#endif

    // A device is written in place, not replaced by a file.
#ifdef _WIN32
    EXPECT_TRUE(author::writeOutput(QStringLiteral("NUL"), rtf, &error)) << error.toStdString();
#else
    EXPECT_TRUE(author::writeOutput(QStringLiteral("/dev/null"), rtf, &error)) << error.toStdString();
#endif

    // A failed write names the file and leaves what was there.
    const QString absent = d.filePath(QStringLiteral("absent/A.RTF"));
    EXPECT_FALSE(author::writeOutput(absent, rtf, &error));
    EXPECT_TRUE(error.startsWith(absent + QStringLiteral(" : écriture impossible"))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(absent));

    // "-" is the standard output, with the bytes a file gets.
    const QString source = d.filePath(QStringLiteral("enonce.txt"));
    const QString config = d.filePath(QStringLiteral("depart.cfg"));
    for (const auto& [path, text] : {std::pair(source, QByteArray("# Titre\n\nUn **énoncé**.\n")),
                                     std::pair(config, QByteArray("onde = sinusoidale\ntension = 1.6\n"))}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
    }
    for (const auto& [command, input] : {std::pair("text", source), std::pair("config", config)}) {
        SCOPED_TRACE(command);
        const QString file = d.filePath(QStringLiteral("sortie-%1").arg(QLatin1String(command)));
        QProcess toFile;
        toFile.start(QStringLiteral(TOLVI_AUTHOR_PROGRAM), {QLatin1String(command), input, file});
        ASSERT_TRUE(toFile.waitForFinished(30000));
        ASSERT_EQ(toFile.exitCode(), 0) << toFile.readAllStandardError().toStdString();
        QProcess toStdout;
        toStdout.start(QStringLiteral(TOLVI_AUTHOR_PROGRAM), {QLatin1String(command), input, QStringLiteral("-")});
        ASSERT_TRUE(toStdout.waitForFinished(30000));
        EXPECT_EQ(toStdout.exitCode(), 0) << toStdout.readAllStandardError().toStdString();
        const QByteArray written = fileBytes(file);
        EXPECT_FALSE(written.isEmpty());
        EXPECT_EQ(toStdout.readAllStandardOutput(), written);
        EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(QStringLiteral("-"))));
    }
    EXPECT_EQ(fileBytes(d.filePath(QStringLiteral("sortie-text"))), author::markupToRtf(QString::fromUtf8("# Titre\n\nUn **énoncé**.\n")));
}

TEST(ExerciseAuthor, PipesAndFoldersGivenAsSourcesAreRefusedWithoutBlocking)
{
    TOLVI_NEEDS_FIFOS();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir d(dir.path());
    const FifoGuard text(d.filePath(QStringLiteral("tube.txt")));
    const FifoGuard config(d.filePath(QStringLiteral("tube.cfg")));
    ASSERT_TRUE(text.made() && config.made());
    ASSERT_TRUE(d.mkdir(QStringLiteral("dossier.txt")));

    // The commands on one file: code 1, the file named, nothing written.
    struct Case {
        const char* command;
        QString source;
        const char* reason;
    } cases[] = {
        {"text", d.filePath(QStringLiteral("tube.txt")), "pas un fichier ordinaire"},
        {"config", d.filePath(QStringLiteral("tube.cfg")), "pas un fichier ordinaire"},
        {"text", d.filePath(QStringLiteral("dossier.txt")), "pas un fichier ordinaire"},
        {"text", d.filePath(QStringLiteral("absent.txt")), nullptr},
    };
    const QString output = d.filePath(QStringLiteral("SORTIE"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source.toStdString());
        QProcess tool;
        tool.start(QStringLiteral(TOLVI_AUTHOR_PROGRAM), {QLatin1String(c.command), c.source, output});
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 1);
        const QString said = QString::fromUtf8(tool.readAllStandardError());
        EXPECT_TRUE(said.startsWith(c.source + QStringLiteral(" : lecture impossible"))) << said.toStdString();
        if (c.reason)
            EXPECT_TRUE(said.contains(QString::fromUtf8(c.reason))) << said.toStdString();
        else
            EXPECT_EQ(said, c.source + QStringLiteral(" : lecture impossible\n"));
        EXPECT_FALSE(QFileInfo::exists(output));
    }

    // A statement source named by an exercise description, in a build.
    QFile description(d.filePath(QStringLiteral("a.exo")));
    ASSERT_TRUE(description.open(QIODevice::WriteOnly));
    ASSERT_GT(description.write("fichier = A.E33\nenonce = A.RTF < tube.txt\ntitre = T\n"), 0);
    description.close();
    QString error;
    QStringList written;
    EXPECT_FALSE(author::buildAll(d.path(), d.filePath(QStringLiteral("sortie")), &written, &error));
    EXPECT_TRUE(error.startsWith(d.filePath(QStringLiteral("tube.txt")) + QStringLiteral(" : lecture impossible")))
        << error.toStdString();
    EXPECT_TRUE(written.isEmpty());

    EXPECT_FALSE(text.rescued() || config.rescued());
}
