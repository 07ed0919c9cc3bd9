// Configuration files from the batch command line: the real program saving
// and loading them, and refusing what the open dialog refuses.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "batch_run.h"

namespace {
using batchrun::Outcome;
using batchrun::fileBytes;
using batchrun::runIn;

// One record's text as the file holds it.
QByteArray recordText(const QByteArray& bytes, int n)
{
    const int at = (n - 1) * 128;
    const int length = quint8(bytes[at]) | (quint8(bytes[at + 1]) << 8);
    return bytes.mid(at + 2, length);
}
}  // namespace

TEST(BatchConfig, SavesTheStartUpStateUnderTheSettledName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Outcome r = runIn(dir.path(), {"--save-config", "essai.txt"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QString path = QDir(dir.path()).filePath(QStringLiteral("essai.P15"));
    EXPECT_TRUE(r.out.contains(QStringLiteral("essai.P15"))) << r.out.toStdString();
    const QByteArray bytes = fileBytes(path);
    ASSERT_EQ(bytes.size(), 18 * 128);
    const QList<QByteArray> expected{"TOLVI", "2,00", "100", "0,4", "20", "500", "1", "0", "0",
                                     "1", "0", "0", "0", "0", "0", " 4", " 425", " 300"};
    for (int n = 1; n <= 18; ++n)
        EXPECT_EQ(recordText(bytes, n), expected[n - 1]) << n;
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("essai.txt"))));

    // A name of blanks is refused as the dialog refuses it.
    const Outcome blank = runIn(dir.path(), {"--save-config", "  "});
    EXPECT_EQ(blank.code, 1);
    EXPECT_TRUE(blank.err.contains(QStringLiteral("Enregistrement impossible: Il faut donner un nom au fichier!")))
        << blank.err.toStdString();
}

TEST(BatchConfig, LoadsWhatItSavedAndReplacesWithoutAsking)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Outcome saved = runIn(dir.path(), {"--wave", "2", "--end", "1", "--symmetric", "1", "--marker", "red=600",
                                             "--marker", "blue=-1", "--duration-index", "7", "--check2", "1",
                                             "--save-config", "a"});
    ASSERT_EQ(saved.code, 0) << saved.err.toStdString();
    const QString a = QDir(dir.path()).filePath(QStringLiteral("a.P15"));
    const QString b = QDir(dir.path()).filePath(QStringLiteral("b.P15"));
    {
        QFile f(b);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("ancien contenu");
    }
    const Outcome again = runIn(dir.path(), {"--config", a, "--save-config", "b.P15"});
    EXPECT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_FALSE(again.err.contains(QStringLiteral("existe")));
    EXPECT_EQ(fileBytes(b), fileBytes(a));
    EXPECT_EQ(recordText(fileBytes(a), 9), QByteArray("1"));
    EXPECT_EQ(recordText(fileBytes(a), 16), QByteArray(" 7"));
    EXPECT_EQ(recordText(fileBytes(a), 17), QByteArray(" 600"));
    EXPECT_EQ(recordText(fileBytes(a), 18), QByteArray("-1"));
}

TEST(BatchConfig, RefusesMissingAndForeignFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Outcome missing = runIn(dir.path(), {"--config", "absent.P15"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(
        QStringLiteral("impossible d'ouvrir ce fichier: Nom de fichier incorrect ou chemin non valide")))
        << missing.err.toStdString();
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("absent.P15"))));

    {
        QFile f(QDir(dir.path()).filePath(QStringLiteral("autre.P15")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\x05\x00tolvi", 7));
    }
    const Outcome foreign = runIn(dir.path(), {"--config", "autre.P15"});
    EXPECT_EQ(foreign.code, 1);
    EXPECT_TRUE(foreign.err.contains(QStringLiteral("Fichier non valide: Ce fichier ne correspond pas à cette application")))
        << foreign.err.toStdString();
}

TEST(BatchConfig, SavesOverTheFileWhoseNameDiffersOnlyInCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_EQ(runIn(dir.path(), {"--save-config", "x"}).code, 0);
    ASSERT_TRUE(QFile::rename(QDir(dir.path()).filePath("x.P15"), QDir(dir.path()).filePath("TENSION.p15")));
    const QString windowsMade = QDir(dir.path()).filePath(QStringLiteral("TENSION.p15"));
    const Outcome r = runIn(dir.path(), {"--config", windowsMade, "--text", "0=1,5", "--save-config", windowsMade});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("TENSION.p15")});
    EXPECT_EQ(recordText(fileBytes(windowsMade), 2), QByteArray("1,50"));
}
