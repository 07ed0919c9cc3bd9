// Saving a file whole: regular files replaced atomically, links followed to
// their target, devices and FIFOs written in place.
#include "platform/file_save.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <atomic>
#include <chrono>
#include <thread>
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

TEST(FileSave, TemporaryFilesAreNamedAfterTheFileAndNoListOfConfigurationsShowsThem)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("cfg.P15"));
    ASSERT_FALSE(saveFileWhole(path, "ancien"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QStringList during;
    EXPECT_FALSE(saveFileWith(path, [&](QIODevice& device) {
        during = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        return device.write("nouveau") == 7;
    }));
    ASSERT_EQ(during.size(), 2);
    EXPECT_EQ(during[0], QStringLiteral("cfg.P15"));
    const QString temporary = during[1];
    EXPECT_TRUE(temporary.startsWith(QStringLiteral("cfg.P15."))) << temporary.toStdString();
    EXPECT_TRUE(temporary.endsWith(QStringLiteral(".tolvi-tmp")));
    EXPECT_TRUE(isSaveLeftover(temporary));
    EXPECT_FALSE(QDir::match(QStringLiteral("*.P15"), temporary));
    EXPECT_FALSE(QDir::match(QStringLiteral("*.E33"), temporary));
    // Done: only the file, with its content and its permissions.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("cfg.P15")});
    EXPECT_EQ(bytesOf(path), QByteArray("nouveau"));
    EXPECT_EQ(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadUser |
                                            QFile::WriteUser);

    for (const char* other : {"cfg.P15", "cfg.P15.tolvi-tmp", "cfg.P15.abc.tolvi-tmp", "cfg.P15.CAvSBY",
                              "cfg.P15.CAvSB-.tolvi-tmp", ".Xa3bQ9.tolvi-tmp"})
        EXPECT_FALSE(isSaveLeftover(QString::fromLatin1(other))) << other;
}

TEST(FileSave, LeftoversOfKilledSavesAreRemovedOnceClearlyStale)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDateTime now = QDateTime::currentDateTime();
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    // A file changed `ageSeconds` ago.
    auto make = [&](const QTemporaryDir& folder, const QString& name, qint64 ageSeconds) {
        const QString path = folder.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("moitié");
        EXPECT_TRUE(f.flush());
        EXPECT_TRUE(f.setFileTime(now.addSecs(-ageSeconds), QFileDevice::FileModificationTime));
        return path;
    };
    const QString stale = make(dir, QStringLiteral("cfg.P15.Xa3bQ9.tolvi-tmp"), 2 * 3600);
    const QString otherStale = make(dir, QStringLiteral("reponses.rtf.00zzAA.tolvi-tmp"), 3600 + 60);
    const QString fresh = make(dir, QStringLiteral("cfg.P15.Kp0Lm1.tolvi-tmp"), 600);  // another Tolvi saving
    const QString notOurs = make(dir, QStringLiteral("cfg.P15.CAvSBY"), 2 * 3600);
    const QString mine = make(dir, QStringLiteral("notes.tolvi-tmp"), 2 * 3600);
    const QString linked = dir.filePath(QStringLiteral("lien.P15.Ab12Cd.tolvi-tmp"));
    ASSERT_TRUE(QFile::link(notOurs, linked));
    const QString folder = dir.filePath(QStringLiteral("dossier.Ab12Cd.tolvi-tmp"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString farStale = make(elsewhere, QStringLiteral("a.P15.Zz9Yy8.tolvi-tmp"), 2 * 3600);

    ASSERT_FALSE(saveFileWhole(dir.filePath(QStringLiteral("cfg.P15")), "enregistré"));

    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_FALSE(QFile::exists(otherStale));
    // Young ones, other names, links, folders and other folders are left alone.
    for (const QString& kept : {fresh, notOurs, mine, linked, folder, farStale})
        EXPECT_TRUE(QFileInfo::exists(kept)) << kept.toStdString();
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("cfg.P15"))), QByteArray("enregistré"));
}

TEST(FileSave, AFifoNobodyReadsIsRefusedAtOnceAndOneThatIsReadIsWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("tube.P15"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Should the save block, a reader comes after a while and the test fails
    // instead of hanging.
    std::atomic<bool> done{false};
    std::thread rescue([&] {
        for (int i = 0; i < 200 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!done) {
            const int fd = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (fd >= 0)
                ::close(fd);
        }
    });
    const std::optional<QString> why = saveFileWhole(fifo, "jamais lu");
    done = true;
    rescue.join();
    ASSERT_TRUE(why);
    EXPECT_EQ(*why, QStringLiteral("aucun programme ne lit ce tube"));
    EXPECT_EQ(kindOf(fifo), mode_t(S_IFIFO));
}

TEST(FileSave, AFileNobodyMayWriteIsKeptAsItIs)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("prot.P15"));
    ASSERT_FALSE(saveFileWhole(path, "ancien"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    const std::optional<QString> why = saveFileWhole(path, "nouveau");
    ASSERT_TRUE(why);
    EXPECT_TRUE(why->contains(QStringLiteral("protégé en écriture"))) << why->toStdString();
    EXPECT_EQ(bytesOf(path), QByteArray("ancien"));
    // Through a link too; and writable again, it is replaced.
    const QString link = dir.filePath(QStringLiteral("lien.P15"));
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_TRUE(saveFileWhole(link, "nouveau"));
    EXPECT_EQ(bytesOf(path), QByteArray("ancien"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    EXPECT_FALSE(saveFileWhole(path, "nouveau"));
    EXPECT_EQ(bytesOf(path), QByteArray("nouveau"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("lien.P15"), QStringLiteral("prot.P15")}));
}

TEST(FileSave, TheLongestNamesAreSavedThroughAShortTemporaryName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const long longest = ::pathconf(QFile::encodeName(dir.path()).constData(), _PC_NAME_MAX);
    ASSERT_GE(longest, 255);
    for (const int length : {200, 238, 239, 254, 255}) {
        const QString path = dir.filePath(QString(length, QLatin1Char('a' + length % 26)));
        QStringList during;
        EXPECT_FALSE(saveFileWhole(path, "un")) << length;
        EXPECT_FALSE(saveFileWith(path, [&](QIODevice& device) {
            during = QDir(dir.path()).entryList(QDir::Files);
            return device.write("deux") == 4;
        })) << length;
        EXPECT_EQ(bytesOf(path), QByteArray("deux")) << length;
        ASSERT_EQ(during.size(), 2) << length;
        for (const QString& name : during)
            if (name != QFileInfo(path).fileName()) {
                EXPECT_TRUE(isSaveLeftover(name)) << name.toStdString();
                EXPECT_EQ(name.startsWith(QFileInfo(path).fileName()), length + 17 <= 255) << name.toStdString();
            }
        QFile::remove(path);
    }
}

TEST(FileSave, ARelativeNameIsRefusedWhenTheCurrentFolderIsGone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString before = QDir::currentPath();
    const QString gone = dir.filePath(QStringLiteral("parti"));
    ASSERT_TRUE(QDir().mkdir(gone));
    ASSERT_TRUE(QDir::setCurrent(gone));
    ASSERT_TRUE(currentFolder());
    ASSERT_EQ(::rmdir(QFile::encodeName(gone).constData()), 0);
    const std::optional<QString> folder = currentFolder();
    const std::optional<QString> why = saveFileWhole(QStringLiteral("cfg.P15"), "x");
    const std::optional<QString> absolute = saveFileWhole(dir.filePath(QStringLiteral("ici.txt")), "x");
    ASSERT_TRUE(QDir::setCurrent(before));
    EXPECT_FALSE(folder);
    ASSERT_TRUE(why);
    EXPECT_EQ(*why, QStringLiteral("le dossier courant n'existe plus"));
    EXPECT_FALSE(absolute);  // an absolute name still is
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("ici.txt"))), QByteArray("x"));
}
