// Reading an RTF text file: the mark from the first bytes, the size bounded.
#include "exercises/rtf_file.h"

#include "fifo_guard.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tolvi;

namespace {
QString make(const QTemporaryDir& dir, const QString& name, const QByteArray& start, qint64 size = -1)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(start) != start.size() || (size >= 0 && !f.resize(size)))
        return {};
    return path;
}
}  // namespace

TEST(RtfFile, TheMarkIsLookedForAfterBlanksAsTheReaderDoes)
{
    EXPECT_TRUE(startsAsRtf("{\\rtf1\\ansi}"));
    EXPECT_TRUE(startsAsRtf(" \r\n\t{\\rtf"));
    EXPECT_FALSE(startsAsRtf("\f{\\rtf1"));  // not a blank for the reader
    EXPECT_FALSE(startsAsRtf("{\\rt"));
    EXPECT_FALSE(startsAsRtf("x{\\rtf1"));
    EXPECT_FALSE(startsAsRtf(""));
}

TEST(RtfFile, LargeTextsAreRefusedFromTheirFirstBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    constexpr qint64 k100Mo = qint64(100) << 20;
    const QString small = make(dir, QStringLiteral("petit.rtf"), "  {\\rtf1 Bonjour}");
    const QString foreign = make(dir, QStringLiteral("gros.dat"), "PK\x03\x04", k100Mo);
    const QString big = make(dir, QStringLiteral("gros.rtf"), "{\\rtf1\\ansi ", k100Mo);
    const QString edge = make(dir, QStringLiteral("juste.rtf"), "{\\rtf1 ", 1000);
    ASSERT_FALSE(small.isEmpty() || foreign.isEmpty() || big.isEmpty() || edge.isEmpty());

    QElapsedTimer clock;
    clock.start();
    RtfFileRead r = readRtfFile(small);
    EXPECT_EQ(r.status, RtfFileStatus::Ok);
    EXPECT_EQ(r.bytes, QByteArray("  {\\rtf1 Bonjour}"));

    r = readRtfFile(foreign);
    EXPECT_EQ(r.status, RtfFileStatus::NotRtf);
    EXPECT_TRUE(r.bytes.isEmpty());

    r = readRtfFile(big);
    EXPECT_EQ(r.status, RtfFileStatus::TooLarge);
    EXPECT_EQ(r.size, k100Mo);
    EXPECT_TRUE(r.bytes.isEmpty());
    EXPECT_LT(clock.elapsed(), 1000);

    // A limit of its own: the file at it is read, one byte less refuses it.
    EXPECT_EQ(readRtfFile(edge, 1000).bytes.size(), 1000);
    EXPECT_EQ(readRtfFile(edge, 999).status, RtfFileStatus::TooLarge);

    EXPECT_EQ(readRtfFile(dir.filePath(QStringLiteral("absent.rtf"))).status, RtfFileStatus::Unreadable);
    EXPECT_EQ(readRtfFile(dir.path()).status, RtfFileStatus::Unreadable);
#ifndef _WIN32  // no FIFOs in Windows folders
    const FifoGuard pipe(dir.filePath(QStringLiteral("tube.rtf")));
    ASSERT_TRUE(pipe.made());
    EXPECT_EQ(readRtfFile(dir.filePath(QStringLiteral("tube.rtf"))).status, RtfFileStatus::Unreadable);
    EXPECT_FALSE(pipe.rescued());
#endif
}

TEST(RtfFile, TheSizeIsGivenInWholeMoRoundedUp)
{
    EXPECT_EQ(rtffile::tooLargeText(QStringLiteral("/cle/ENONCE.RTF"), qint64(100) << 20),
              QStringLiteral("Le fichier /cle/ENONCE.RTF est trop grand (100 Mo) : Tolvi lit les textes jusqu'à 64 Mo."));
    EXPECT_EQ(rtffile::tooLargeText(QStringLiteral("a.rtf"), (qint64(64) << 20) + 1),
              QStringLiteral("Le fichier a.rtf est trop grand (65 Mo) : Tolvi lit les textes jusqu'à 64 Mo."));
    EXPECT_EQ(rtffile::tooLargeText(QStringLiteral("a.rtf"), qint64(1536) << 20),
              QStringLiteral("Le fichier a.rtf est trop grand (1 536 Mo) : Tolvi lit les textes jusqu'à 64 Mo."));
}
