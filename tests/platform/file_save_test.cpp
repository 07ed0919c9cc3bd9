// Saving a file whole: regular files replaced atomically, links followed to
// their target, devices and FIFOs written in place.
#include "platform/file_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace tolvi;

namespace {
QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

mode_t kindOf(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

// A private memory device (3 null, 7 full) when this user may make one.
QString memoryDevice(const QTemporaryDir& dir, const char* name, unsigned minor)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (::geteuid() == 0 && ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, minor)) == 0)
        return path;
    return ::geteuid() == 0 ? QString() : QString::fromLatin1(minor == 7 ? "/dev/full" : "/dev/null");
}
}  // namespace

TEST(FileSave, RegularFilesAreReplacedWholeAndLinksKeptPointingAtThem)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // New file, then replaced; no temporary file left beside it.
    const QString plain = dir.filePath(QStringLiteral("a.txt"));
    EXPECT_FALSE(saveFileWhole(plain, "un"));
    EXPECT_FALSE(saveFileWhole(plain, "deux"));
    EXPECT_EQ(bytesOf(plain), QByteArray("deux"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.txt")});

    // A chain of links: the final target is replaced, both links stay.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("loin")));
    const QString target = dir.filePath(QStringLiteral("loin/cible.txt"));
    const QString first = dir.filePath(QStringLiteral("lien1"));
    const QString second = dir.filePath(QStringLiteral("lien2"));
    ASSERT_FALSE(saveFileWhole(target, "ancien"));
    ASSERT_TRUE(QFile::link(target, first));
    ASSERT_TRUE(QFile::link(first, second));
    EXPECT_EQ(saveTarget(second), target);
    EXPECT_FALSE(saveFileWhole(second, "nouveau"));
    EXPECT_EQ(kindOf(first), mode_t(S_IFLNK));
    EXPECT_EQ(kindOf(second), mode_t(S_IFLNK));
    EXPECT_EQ(bytesOf(target), QByteArray("nouveau"));
    EXPECT_EQ(kindOf(target), mode_t(S_IFREG));

    // A link to nothing yet makes its target.
    const QString dangling = dir.filePath(QStringLiteral("vers-rien"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("loin/neuf.txt")), dangling));
    EXPECT_FALSE(saveFileWhole(dangling, "neuf"));
    EXPECT_EQ(kindOf(dangling), mode_t(S_IFLNK));
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("loin/neuf.txt"))), QByteArray("neuf"));

    // A folder or a missing folder: refused with a reason, nothing made.
    EXPECT_TRUE(saveFileWhole(dir.filePath(QStringLiteral("loin")), "x"));
    const std::optional<QString> why = saveFileWhole(dir.filePath(QStringLiteral("absent/x.txt")), "x");
    ASSERT_TRUE(why);
    EXPECT_FALSE(why->isEmpty());
}

TEST(FileSave, DevicesAndFifosAreWrittenInPlaceAndAFullDeviceFails)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString null = memoryDevice(dir, "null", 3);
    const QString full = memoryDevice(dir, "full", 7);
    if (null.isEmpty() || full.isEmpty())
        GTEST_SKIP() << "no character device can be made here";
    EXPECT_FALSE(saveFileWhole(null, QByteArray(100000, 'x')));
    EXPECT_EQ(kindOf(null), mode_t(S_IFCHR));
    // Written through a device as a PDF writer writes: in many pieces.
    EXPECT_FALSE(saveFileWith(null, [](QIODevice& device) {
        for (int i = 0; i < 100; ++i)
            if (device.write("morceau ") != 8)
                return false;
        return true;
    }));
    const std::optional<QString> why = saveFileWhole(full, "plein");
    ASSERT_TRUE(why);
    EXPECT_FALSE(why->isEmpty());
    EXPECT_EQ(kindOf(full), mode_t(S_IFCHR));
    // A writer that writes nothing noticed still fails on a full device.
    EXPECT_TRUE(saveFileWith(full, [](QIODevice& device) {
        device.write(QByteArray(10000, 'x'));
        return true;
    }));

    const QString fifo = dir.filePath(QStringLiteral("tube"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_FALSE(saveFileWhole(fifo, "par le tube"));
    char got[64] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 11);
    ::close(reader);
    EXPECT_STREQ(got, "par le tube");
    EXPECT_EQ(kindOf(fifo), mode_t(S_IFIFO));
}

TEST(FileSave, AFailedWriteKeepsThePreviousFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("garde.txt"));
    ASSERT_FALSE(saveFileWhole(path, "premier"));
    EXPECT_TRUE(saveFileWith(path, [](QIODevice& device) {
        device.write("moitié");
        return false;  // the writer gave up half-way
    }));
    EXPECT_EQ(bytesOf(path), QByteArray("premier"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("garde.txt")});
}
