// Reading on Windows: regular files only, byte for byte, names in any
// script; devices and pipes never opened; reads bounded.
#include "platform/file_read.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <windows.h>

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

TEST(FileReadWindows, RegularFilesAreReadByteForByteWhateverTheirName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A 0x1A in the middle: text mode would stop there, and turn CR LF into LF.
    constexpr char kText[] = "PEM\r\n\x1a" "suite\nfin";
    const QByteArray bytes(kText, sizeof kText - 1);
    ASSERT_EQ(bytes.size(), 15);
    for (const QString& name : {QStringLiteral("TOLVI.PEM"), QStringLiteral("Άσκηση.E33")}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = dir.filePath(name);
        write(path, bytes);
        EXPECT_EQ(fileNature(path), FileNature::Regular);
        EXPECT_EQ(readWholeFile(path, 100).bytes, bytes);
        EXPECT_EQ(readWholeFile(path, 100).size, 15);
        EXPECT_EQ(readFileHead(path, 8).bytes, bytes.left(8));
        QFile file;
        ASSERT_TRUE(openRegularFile(file, path));
        EXPECT_EQ(file.readAll(), bytes);
    }
}

TEST(FileReadWindows, FoldersDevicesAndPipesAreNotOpened)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A pipe server that no client may take: looking at the name must not
    // connect to it.
    const QString pipe = QStringLiteral("\\\\.\\pipe\\tolvi-test-%1").arg(GetCurrentProcessId());
    const HANDLE server = CreateNamedPipeW(pipe.toStdWString().c_str(), PIPE_ACCESS_OUTBOUND,
                                           PIPE_TYPE_BYTE | PIPE_NOWAIT, 1, 64, 64, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);

    EXPECT_EQ(fileNature(dir.path()), FileNature::Folder);
    EXPECT_EQ(fileNature(QStringLiteral("NUL")), FileNature::Special);
    EXPECT_EQ(fileNature(pipe), FileNature::Special);
    EXPECT_EQ(fileNature(dir.filePath(QStringLiteral("absent"))), FileNature::Missing);
    EXPECT_EQ(fileNature(QString()), FileNature::Missing);
    for (const QString& refused : {dir.path(), QStringLiteral("NUL"), pipe}) {
        SCOPED_TRACE(refused.toStdString());
        EXPECT_EQ(readWholeFile(refused, 100).status, Status::NotRegular);
        EXPECT_EQ(readFileHead(refused, 10).status, Status::NotRegular);
        QFile file;
        EXPECT_FALSE(openRegularFile(file, refused));
        EXPECT_FALSE(file.isOpen());
    }
    // Still free for a client: nobody connected.
    EXPECT_FALSE(ConnectNamedPipe(server, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PIPE_LISTENING));
    CloseHandle(server);
    EXPECT_EQ(readWholeFile(dir.filePath(QStringLiteral("absent")), 100).status, Status::Missing);
}

TEST(FileReadWindows, HeadsAndWholeFilesStayWithinTheirBounds)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("dix.txt"));
    write(path, "0123456789");
    EXPECT_EQ(readFileHead(path, 4).bytes, QByteArray("0123"));
    EXPECT_TRUE(readFileHead(path, 0).bytes.isEmpty());
    EXPECT_EQ(readWholeFile(path, 10).bytes, QByteArray("0123456789"));
    const FileBytes over = readWholeFile(path, 9);
    EXPECT_EQ(over.status, Status::TooLarge);
    EXPECT_EQ(over.size, 10);
    EXPECT_TRUE(over.bytes.isEmpty());

    const QString big = dir.filePath(QStringLiteral("gros.rtf"));
    write(big, "{\\rtf1");
    QFile grow(big);
    ASSERT_TRUE(grow.resize(qint64(20) << 20));
    const FileBytes refused = readWholeFile(big, qint64(16) << 20);
    EXPECT_EQ(refused.status, Status::TooLarge);
    EXPECT_EQ(refused.size, qint64(20) << 20);
    EXPECT_EQ(readFileHead(big, 6).bytes, QByteArray("{\\rtf1"));
}
