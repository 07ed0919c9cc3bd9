// Opening a file to read it: regular files and links to them only, a FIFO
// never opened, reads bounded.
#include "platform/file_read.h"

#include "fifo_guard.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tolvi;
using Status = FileBytes::Status;

namespace {
void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}
}  // namespace

TEST(FileRead, RegularFilesAndLinksToThemAreReadAndNothingElseIsOpened)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plain = dir.filePath(QStringLiteral("texte.rtf"));
    write(plain, "{\\rtf1 abc}");
    const QString link = dir.filePath(QStringLiteral("lien.rtf"));
    ASSERT_TRUE(QFile::link(plain, link));
    const QString dangling = dir.filePath(QStringLiteral("vers-rien.rtf"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("absent")), dangling));
    const QString pipe = dir.filePath(QStringLiteral("tube.rtf"));
    const FifoGuard guard(pipe);
    ASSERT_TRUE(guard.made());
    const QString pipeLink = dir.filePath(QStringLiteral("lien-tube.rtf"));
    ASSERT_TRUE(QFile::link(pipe, pipeLink));

    EXPECT_EQ(fileNature(plain), FileNature::Regular);
    EXPECT_EQ(fileNature(link), FileNature::Regular);
    EXPECT_EQ(fileNature(dir.path()), FileNature::Folder);
    EXPECT_EQ(fileNature(pipe), FileNature::Special);
    EXPECT_EQ(fileNature(pipeLink), FileNature::Special);
    EXPECT_EQ(fileNature(dangling), FileNature::Missing);
    EXPECT_EQ(fileNature(QString()), FileNature::Missing);
    EXPECT_EQ(fileNature(QStringLiteral("/dev/null")), FileNature::Special);

    EXPECT_EQ(readWholeFile(link, 100).bytes, QByteArray("{\\rtf1 abc}"));
    QElapsedTimer clock;
    clock.start();
    for (const QString& refused : {pipe, pipeLink, dir.path(), QStringLiteral("/dev/zero")}) {
        SCOPED_TRACE(refused.toStdString());
        EXPECT_EQ(readWholeFile(refused, 100).status, Status::NotRegular);
        EXPECT_EQ(readFileHead(refused, 10).status, Status::NotRegular);
        QFile file;
        EXPECT_FALSE(openRegularFile(file, refused));
        EXPECT_FALSE(file.isOpen());
    }
    EXPECT_EQ(readWholeFile(dangling, 100).status, Status::Missing);
    EXPECT_EQ(readWholeFile(dir.filePath(QStringLiteral("absent")), 100).status, Status::Missing);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(guard.rescued());
}

TEST(FileRead, HeadsAndWholeFilesStayWithinTheirBounds)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("dix.txt"));
    write(path, "0123456789");

    FileBytes head = readFileHead(path, 4);
    EXPECT_EQ(head.status, Status::Ok);
    EXPECT_EQ(head.bytes, QByteArray("0123"));
    EXPECT_EQ(head.size, 10);
    EXPECT_EQ(readFileHead(path, 50).bytes, QByteArray("0123456789"));
    EXPECT_TRUE(readFileHead(path, 0).bytes.isEmpty());

    // The limit itself is allowed; one byte more is refused, unread.
    EXPECT_EQ(readWholeFile(path, 10).bytes, QByteArray("0123456789"));
    const FileBytes over = readWholeFile(path, 9);
    EXPECT_EQ(over.status, Status::TooLarge);
    EXPECT_EQ(over.size, 10);
    EXPECT_TRUE(over.bytes.isEmpty());

    // 100 MB with a hole: refused at once, only the head read.
    const QString big = dir.filePath(QStringLiteral("gros.rtf"));
    write(big, "{\\rtf1");
    QFile grow(big);
    ASSERT_TRUE(grow.resize(qint64(100) << 20));
    QElapsedTimer clock;
    clock.start();
    const FileBytes refused = readWholeFile(big, qint64(64) << 20);
    EXPECT_EQ(refused.status, Status::TooLarge);
    EXPECT_EQ(refused.size, qint64(100) << 20);
    EXPECT_EQ(readFileHead(big, 6).bytes, QByteArray("{\\rtf1"));
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST(FileRead, NamesThatAreNotUtf8AreFoundByTheBytesGivenOnTheCommandLine)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // "café.P15" with its "é" as the one Latin-1 byte 0xE9, in a folder whose
    // name is UTF-8 ("élève").
    const QByteArray folder = QFile::encodeName(dir.path()) + "/\xc3\xa9l\xc3\xa8ve";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    const QByteArray latin1 = folder + "/caf\xe9.P15";
    {
        const int fd = ::open(latin1.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "contenu", 7), 7);
        ::close(fd);
    }
    const QString argument = argumentText(latin1.constData());
    EXPECT_EQ(localFileName(argument), latin1);
    EXPECT_TRUE(isRegularFile(argument));
    const FileBytes read = readWholeFile(argument, 100);
    EXPECT_EQ(read.status, Status::Ok);
    EXPECT_EQ(read.bytes, QByteArray("contenu"));

    // Valid UTF-8 stays UTF-8, found or not.
    const QByteArray utf8 = folder + "/caf\xc3\xa9.P15";
    EXPECT_EQ(argumentText(utf8.constData()), QFile::decodeName(utf8));
    EXPECT_EQ(localFileName(QFile::decodeName(utf8)), utf8);
    write(QFile::decodeName(utf8), "autre");
    EXPECT_EQ(readWholeFile(argumentText(utf8.constData()), 100).bytes, QByteArray("autre"));
    EXPECT_EQ(readWholeFile(argument, 100).bytes, QByteArray("contenu"));
    // QTemporaryDir cannot remove a name it cannot spell.
    EXPECT_EQ(::unlink(latin1.constData()), 0);
}
