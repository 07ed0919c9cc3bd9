// Saving on Windows: regular files replaced atomically through the wide
// calls, in binary mode; devices written in place; read-only files kept.
#include "platform/file_save.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <windows.h>

using namespace tolvi;

namespace {
QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList filesIn(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Line ends of both kinds, a 0x1A (the old end-of-file mark of text mode)
// and a null byte: text mode would change or cut every one of them.
constexpr char kBinaryText[] = "ligne\nautre\r\nfin\x1a" "apres\0nul";
const QByteArray kBinary(kBinaryText, sizeof kBinaryText - 1);
}  // namespace

TEST(FileSaveWindows, AnExistingFileIsReplacedWholeByteForByte)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("cfg.P15"));
    ASSERT_EQ(kBinary.size(), 26);
    EXPECT_FALSE(saveFileWhole(path, "ancien contenu, plus long que le nouveau........"));
    EXPECT_FALSE(saveFileWhole(path, kBinary));
    EXPECT_EQ(bytesOf(path), kBinary);
    EXPECT_EQ(filesIn(dir), QStringList{QStringLiteral("cfg.P15")});

    // Written in pieces, as the PDF writer does.
    EXPECT_FALSE(saveFileWith(path, [](QIODevice& device) {
        for (int i = 0; i < 50; ++i)
            if (device.write("a\n") != 2)
                return false;
        return true;
    }));
    EXPECT_EQ(bytesOf(path), QByteArray("a\n").repeated(50));
}

TEST(FileSaveWindows, NamesInAnyScriptAreSavedUnderTheirOwnName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Greek, then letters no Western code page holds.
    for (const QString& name : {QStringLiteral("Κύμα σε σχοινί.P15"), QStringLiteral("波形.E33")}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = dir.filePath(name);
        EXPECT_FALSE(saveFileWhole(path, "premier"));
        EXPECT_FALSE(saveFileWhole(path, "second"));
        EXPECT_EQ(bytesOf(path), QByteArray("second"));
        EXPECT_TRUE(filesIn(dir).contains(name));
    }
    EXPECT_EQ(filesIn(dir).size(), 2);
}

TEST(FileSaveWindows, TheNullDeviceIsWrittenInPlaceAndNoFileIsMadeForIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    for (const QString& device : {QStringLiteral("NUL"), QStringLiteral("nul"), QStringLiteral("\\\\.\\NUL")}) {
        SCOPED_TRACE(device.toStdString());
        EXPECT_FALSE(saveFileWhole(device, QByteArray(100000, 'x')));
        EXPECT_FALSE(saveFileWith(device, [](QIODevice& d) { return d.write("morceau ") == 8; }));
    }
    QDir::setCurrent(before);
    EXPECT_TRUE(filesIn(dir).isEmpty()) << filesIn(dir).join(QLatin1Char(' ')).toStdString();
}

TEST(FileSaveWindows, AReadOnlyFileAFolderAndAMissingFolderAreRefusedAndNothingIsLeft)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("protégé.P15"));
    ASSERT_FALSE(saveFileWhole(path, "à garder"));
    ASSERT_TRUE(SetFileAttributesW(QDir::toNativeSeparators(path).toStdWString().c_str(), FILE_ATTRIBUTE_READONLY));
    const std::optional<QString> why = saveFileWhole(path, "écrasé");
    SetFileAttributesW(QDir::toNativeSeparators(path).toStdWString().c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(why);
    EXPECT_FALSE(why->isEmpty());
    EXPECT_EQ(bytesOf(path), QByteArray("à garder"));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("dossier")));
    EXPECT_TRUE(saveFileWhole(dir.filePath(QStringLiteral("dossier")), "x"));
    const std::optional<QString> missing = saveFileWhole(dir.filePath(QStringLiteral("absent/x.P15")), "x");
    ASSERT_TRUE(missing);
    EXPECT_FALSE(missing->isEmpty());
    EXPECT_EQ(filesIn(dir), QStringList{QStringLiteral("protégé.P15")});
}

TEST(FileSaveWindows, AFailedWriteKeepsThePreviousFileAndTheTemporaryFileFollowsTheNamingRule)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("garde.P15"));
    ASSERT_FALSE(saveFileWhole(path, "premier"));
    QStringList during;
    EXPECT_TRUE(saveFileWith(path, [&](QIODevice& device) {
        during = filesIn(dir);
        device.write("moitié");
        return false;
    }));
    EXPECT_EQ(bytesOf(path), QByteArray("premier"));
    EXPECT_EQ(filesIn(dir), QStringList{QStringLiteral("garde.P15")});
    ASSERT_EQ(during.size(), 2);
    EXPECT_TRUE(isSaveLeftover(during[1])) << during[1].toStdString();
    EXPECT_TRUE(during[1].startsWith(QStringLiteral("garde.P15.")));
    EXPECT_FALSE(QDir::match(QStringLiteral("*.P15"), during[1]));
}

TEST(FileSaveWindows, LeftoversOfKilledSavesAreRemovedOnceClearlyStale)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDateTime now = QDateTime::currentDateTime();
    auto make = [&](const QString& name, qint64 ageSeconds) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("moitié");
        EXPECT_TRUE(f.flush());
        EXPECT_TRUE(f.setFileTime(now.addSecs(-ageSeconds), QFileDevice::FileModificationTime));
        return path;
    };
    const QString stale = make(QStringLiteral("cfg.P15.Xa3bQ9.tolvi-tmp"), 2 * 3600);
    const QString fresh = make(QStringLiteral("cfg.P15.Kp0Lm1.tolvi-tmp"), 600);
    const QString notOurs = make(QStringLiteral("cfg.P15.CAvSBY"), 2 * 3600);
    ASSERT_FALSE(saveFileWhole(dir.filePath(QStringLiteral("cfg.P15")), "enregistré"));
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(fresh));
    EXPECT_TRUE(QFile::exists(notOurs));
}
