#include "exercises/exercise_file.h"

#include "posix_only.h"
#include "same_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tolvi;
using tolvi::testing::shownPath;

namespace {

ExerciseRecords sample()
{
    ExerciseRecords e;
    e.statement = "enonce1.rtf";
    e.configuration = "config1.P15";
    e.correction = "corrige1.rtf";
    e.correctionConfiguration = "corrconf1.P15";
    e.difficulty = "1.5";
    e.unused = "ne pas afficher";
    e.notions = {QString::fromUtf8("Célérité ; "), "", QString::fromUtf8("réflexion"), " "};
    e.title = QString::fromUtf8("  Mesure de la célérité  ");
    e.expectedTime = " 4";
    return e;
}

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

}  // namespace

TEST(ExerciseFile, RecordsInTheirPlacesAndBack)
{
    RecordImage image;
    ASSERT_TRUE(encodeExercise(sample(), image).ok());
    const QByteArray& b = image.bytes();
    ASSERT_EQ(b.size(), 12 * 128);
    EXPECT_EQ(b.mid(0, 13), QByteArray("\x0B\x00" "enonce1.rtf", 13));
    EXPECT_EQ(b.mid(3 * 128, 15), QByteArray("\x0D\x00" "corrconf1.P15", 15));
    EXPECT_EQ(b.mid(4 * 128, 5), QByteArray("\x03\x00" "1.5", 5));
    EXPECT_EQ(b.mid(6 * 128, 4), QByteArray("\x0B\x00" "C\xE9", 4));
    EXPECT_EQ(b.mid(10 * 128, 4), QByteArray("\x19\x00  ", 4));
    EXPECT_EQ(b.mid(11 * 128, 4), QByteArray("\x02\x00 4", 4));

    const ExerciseReading r = decodeExercise(image);
    EXPECT_TRUE(r.readable(1, 12));
    EXPECT_TRUE(r.records == sample());

    QTemporaryDir dir;
    const QString path = dir.filePath("exo1.E33");
    ASSERT_TRUE(saveExercise(path, sample()).ok());
    EXPECT_TRUE(readExercise(path).records == sample());

    ExerciseRecords bad = sample();
    bad.title = QString::fromUtf8("λ = v·T");  // · fits, λ does not
    const RecordStatus s = encodeExercise(bad, image);
    EXPECT_EQ(s.error, RecordError::Unencodable);
    EXPECT_EQ(s.record, 11);
}

TEST(ExerciseFile, PreviewRules)
{
    struct Marks {
        const char* text;
        int lit;
    };
    for (const Marks& m : std::initializer_list<Marks>{{"3", 3},   {"1.5", 2},  {"1,5", 1}, {"", 0},    {"0", 0},
                                                        {"2", 2},   {" 2 ", 2},  {"0.1", 1}, {"-1", 0},  {"9", 3},
                                                        {"abc", 0}, {"1E400", 0}, {"2.0", 2}, {"2.01", 3}})
        EXPECT_EQ(difficultyMarks(m.text), m.lit) << m.text;

    struct Hours {
        const char* text;
        int count;
    };
    for (const Hours& h : std::initializer_list<Hours>{{"4", 4},    {" 4", 4},    {"0", 0},     {"", 0},   {"-3", 0},
                                                        {"2.5", 2},  {"3.5", 4},   {"0.5", 0},   {"0.6", 1},
                                                        {"40000", 0}, {"4 h", 4}, {"quatre", 0}})
        EXPECT_EQ(hourglassCount(h.text), h.count) << h.text;
    EXPECT_EQ(hourglassText(3), QString::fromUtf8("⌛⌛⌛"));
    EXPECT_EQ(hourglassText(0), "");

    EXPECT_FALSE(exerciseCorrected("", ""));
    EXPECT_FALSE(exerciseCorrected("   ", " "));
    EXPECT_TRUE(exerciseCorrected("corrige.rtf", ""));
    EXPECT_TRUE(exerciseCorrected("", "corr.P15"));

    // Records 7 and 9 with 8 blank: joined directly, untrimmed.
    EXPECT_EQ(notionsText({" a ", "   ", "b", ""}), " a b");

    ExercisePreview p = exercisePreview(sample());
    EXPECT_TRUE(p.corrected);
    EXPECT_EQ(p.correctedCaption, QString::fromUtf8("Exercice corrigé"));
    EXPECT_EQ(p.litMarks, 2);
    EXPECT_EQ(p.notions, QString::fromUtf8("Célérité ; réflexion"));
    EXPECT_FALSE(p.notions.contains("ne pas afficher"));  // record 6 is never shown
    EXPECT_EQ(p.title, QString::fromUtf8("Mesure de la célérité"));
    EXPECT_EQ(p.hourglasses, 4);

    ExerciseRecords bare = sample();
    bare.correction = " ";
    bare.correctionConfiguration = "";
    p = exercisePreview(bare);
    EXPECT_FALSE(p.corrected);
    EXPECT_EQ(p.correctedCaption, QString::fromUtf8("Non corrigé"));
}

TEST(ExerciseFile, ReadingShortDamagedAndMissingFiles)
{
    // A getting-started file with only its two records, the last one cut.
    QByteArray bytes;
    RecordImage image;
    ASSERT_TRUE(buildRecordImage({"prise.rtf", "prise.P15"}, image).ok());
    bytes = image.bytes().left(128 + 11);
    ExerciseReading r = decodeExercise(RecordImage(bytes));
    EXPECT_TRUE(r.readable(1, 12));
    EXPECT_EQ(r.records.configuration, "prise.P15");
    EXPECT_EQ(r.records.title, "");
    EXPECT_FALSE(exercisePreview(r.records).corrected);
    EXPECT_EQ(exercisePreview(r.records).litMarks, 0);

    // A damaged record 3 spoils the preview and the correction, not opening;
    // the records after it still read.
    ASSERT_TRUE(encodeExercise(sample(), image).ok());
    bytes = image.bytes();
    bytes[2 * 128 + 1] = char(0x01);  // length 0x010C
    r = decodeExercise(RecordImage(bytes));
    EXPECT_TRUE(r.readable(1, 2));
    EXPECT_FALSE(r.readable(3, 4));
    EXPECT_TRUE(r.damaged[2]);
    EXPECT_EQ(r.records.correction, "");
    EXPECT_EQ(r.records.title, sample().title);

    // A file that does not exist is not readable, and is not created.
    QTemporaryDir dir;
    const QString missing = dir.filePath("absent.E33");
    r = readExercise(missing);
    EXPECT_EQ(r.status.error, RecordError::Missing);
    EXPECT_FALSE(r.readable(1, 2));
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(readExercise(dir.filePath("pas/la.E33")).status.error, RecordError::Unreadable);
}

TEST(ExerciseFile, NamesResolvedWithoutRegardToCase)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    touch(d + "/Enonce1.RTF");
    touch(d + "/config1.p15");
    ASSERT_TRUE(QDir(d).mkdir("Sous"));
    touch(d + "/Sous/Corrige.rtf");
    touch(d + "/a.rtf");
    touch(d + "/A.rtf");

    EXPECT_SAME_FILE(resolveInFolder(d, "Enonce1.RTF"), d + "/Enonce1.RTF");
    EXPECT_SAME_FILE(resolveInFolder(d, "ENONCE1.rtf"), d + "/Enonce1.RTF");
    EXPECT_SAME_FILE(resolveInFolder(d, "enonce1.rtf "), d + "/Enonce1.RTF");  // Windows drops trailing blanks
    EXPECT_SAME_FILE(resolveInFolder(d, "CONFIG1.P15"), d + "/config1.p15");
    EXPECT_SAME_FILE(resolveInFolder(d + "/", "config1.P15"), d + "/config1.p15");
    EXPECT_SAME_FILE(resolveInFolder(d, "sous\\CORRIGE.RTF"), d + "/Sous/Corrige.rtf");
    EXPECT_SAME_FILE(resolveInFolder(d, "\\sous\\corrige.rtf"), d + "/Sous/Corrige.rtf");
    // An exact name wins; among names differing only in case the choice is stable.
    EXPECT_SAME_FILE(resolveInFolder(d, "a.rtf"), d + "/a.rtf");
    EXPECT_SAME_FILE(resolveInFolder(d, "A.RTF"), resolveInFolder(d, "a.RTF"));
    // Nothing matches: the exact path, for the message that names it.
    EXPECT_SAME_FILE(resolveInFolder(d, "Absent.rtf"), d + "/Absent.rtf");
    EXPECT_SAME_FILE(resolveInFolder(d, "sous/absent.rtf"), d + "/sous/absent.rtf");
    EXPECT_SAME_FILE(resolveInFolder(d, "/etc/passwd"), d + "/etc/passwd");

    EXPECT_EQ(exofile::missingText("/exos/enonce.rtf"),
              "Le fichier " + shownPath(QStringLiteral("/exos/enonce.rtf")) + " est introuvable");
}

TEST(ExerciseFile, NamesThatClimbOutOfTheFolderStandForTheirLastPartBesideIt)
{
    QTemporaryDir top;
    const QString t = top.path();
    ASSERT_TRUE(QDir(t).mkpath("cle/exos/Sous"));
    ASSERT_TRUE(QDir(t).mkpath("outside"));
    touch(t + "/outside/SECRET.RTF");
    touch(t + "/outside/OUT.P15");
    touch(t + "/cle/SECRET.RTF");
    touch(t + "/cle/exos/Secret.rtf");
    const QString d = t + "/cle/exos";

    EXPECT_SAME_FILE(resolveInFolder(d, "../../outside/SECRET.RTF"), d + "/Secret.rtf");
    EXPECT_SAME_FILE(resolveInFolder(d, "..\\..\\outside\\OUT.P15"), d + "/OUT.P15");  // not there: named for the message
    EXPECT_SAME_FILE(resolveInFolder(d, "..\\SECRET.RTF"), d + "/Secret.rtf");
    EXPECT_SAME_FILE(resolveInFolder(d, "Sous/../../SECRET.RTF"), d + "/Secret.rtf");
    EXPECT_SAME_FILE(resolveInFolder(d, "\\..\\secret.rtf"), d + "/Secret.rtf");
    // Nothing is left of a name that ends climbing: the folder itself, no file.
    EXPECT_SAME_FILE(QDir::cleanPath(resolveInFolder(d, "../..")), d);
    EXPECT_SAME_FILE(QDir::cleanPath(resolveInFolder(d, "..\\")), d);
    // Dots that climb nowhere are names as any other.
    EXPECT_SAME_FILE(QDir::cleanPath(resolveInFolder(d, "./secret.rtf")), d + "/Secret.rtf");
    EXPECT_SAME_FILE(resolveInFolder(d, "...rtf"), d + "/...rtf");
}

TEST(ExerciseFile, WindowsDriveNamesStandForTheirLastPartBesideTheExercise)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    touch(d + "/Onde1.rtf");
#ifndef _WIN32
    ASSERT_TRUE(QDir(d).mkdir("C:"));  // never taken for the drive's folder
    touch(d + "/C:/Onde1.rtf");
#endif

    EXPECT_SAME_FILE(resolveInFolder(d, "C:\\EXOS\\ONDE1.RTF"), d + "/Onde1.rtf");
    EXPECT_SAME_FILE(resolveInFolder(d, "C:\\ONDE1.RTF"), d + "/Onde1.rtf");
    EXPECT_SAME_FILE(resolveInFolder(d, "c:/x/y/onde1.rtf"), d + "/Onde1.rtf");
    EXPECT_SAME_FILE(resolveInFolder(d, "C:ONDE1.RTF"), d + "/Onde1.rtf");  // relative to the drive's current folder
    EXPECT_SAME_FILE(resolveInFolder(d, "D:\\ABSENT.P15"), d + "/ABSENT.P15");  // not there: named for the message
    EXPECT_SAME_FILE(QDir::cleanPath(resolveInFolder(d, "C:\\")), d);
    // A network share, as a Windows machine names it, the same.
    EXPECT_SAME_FILE(resolveInFolder(d, "\\\\SERVEUR\\PROFS\\EXOS\\ONDE1.RTF"), d + "/Onde1.rtf");
    EXPECT_SAME_FILE(resolveInFolder(d, "//serveur/profs/onde1.rtf"), d + "/Onde1.rtf");
    // A colon elsewhere is part of the name.
    EXPECT_SAME_FILE(resolveInFolder(d, "Onde:1.rtf"), d + "/Onde:1.rtf");
}

TEST(ExerciseFile, NamesThatLeadOutOfTheFolderThroughLinksAreNotFound)
{
    TOLVI_NEEDS_SYMLINKS();
    QTemporaryDir top;
    const QString t = top.path();
    ASSERT_TRUE(QDir(t).mkpath("cle/exos/Sous"));
    ASSERT_TRUE(QDir(t).mkpath("outside"));
    touch(t + "/outside/SECRET.RTF");
    touch(t + "/cle/HAUT.RTF");
    touch(t + "/cle/exos/Sous/Vrai.rtf");
    const QString d = t + "/cle/exos";
    ASSERT_TRUE(QFile::link(t + "/outside/SECRET.RTF", d + "/Lien.rtf"));
    ASSERT_TRUE(QFile::link(t + "/outside", d + "/Dehors"));
    ASSERT_TRUE(QFile::link("..", d + "/Parent"));
    ASSERT_TRUE(QFile::link("Sous/Vrai.rtf", d + "/Interne.rtf"));
    ASSERT_TRUE(QFile::link(d, t + "/installe"));

    // Out of the folder, whatever the case or the separators of the name.
    EXPECT_EQ(resolveInFolder(d, "Lien.rtf"), QString());
    EXPECT_EQ(resolveInFolder(d, "LIEN.RTF"), QString());
    EXPECT_EQ(resolveInFolder(d, "Dehors/SECRET.RTF"), QString());
    EXPECT_EQ(resolveInFolder(d, "dehors\\secret.rtf"), QString());
    EXPECT_EQ(resolveInFolder(d, "Parent/HAUT.RTF"), QString());
    EXPECT_EQ(resolveInFolder(d, "C:\\Lien.rtf"), QString());
    // What does not exist out there is named in the folder, as any absent name.
    EXPECT_EQ(resolveInFolder(d, "Dehors/ABSENT.RTF"), d + "/Dehors/ABSENT.RTF");

    // Links that stay inside are followed; the folder may itself be a link.
    EXPECT_EQ(resolveInFolder(d, "Interne.rtf"), d + "/Interne.rtf");
    EXPECT_EQ(resolveInFolder(d, "INTERNE.RTF"), d + "/Interne.rtf");
    EXPECT_EQ(resolveInFolder(t + "/installe", "sous\\vrai.rtf"), t + "/installe/Sous/Vrai.rtf");
    EXPECT_EQ(resolveInFolder(t + "/installe/", "Interne.rtf"), t + "/installe/Interne.rtf");
    EXPECT_EQ(resolveInFolder(t + "/installe", "Lien.rtf"), QString());
}
