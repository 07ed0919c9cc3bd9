#include "config/record_file.h"

#include "fifo_guard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace tolvi;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void putBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A record as the launcher or another program would write it: length, text,
// then padding bytes that carry no meaning.
QByteArray rawRecord(quint16 length, const QByteArray& text, char padding = 'x')
{
    QByteArray r;
    r += char(length & 0xFF);
    r += char(length >> 8);
    r += text;
    r += QByteArray(kRecordSize - r.size(), padding);
    return r;
}

}  // namespace

TEST(RecordFile, LayoutOfWrittenRecordsByteForByte)
{
    RecordImage image;
    ASSERT_TRUE(buildRecordImage({"TOLVI", "", QString::fromUtf8("é€œ’…")}, image).ok());
    const QByteArray& b = image.bytes();
    ASSERT_EQ(b.size(), 3 * 128);  // whole records only

    EXPECT_EQ(b.mid(0, 7), QByteArray("\x05\x00TOLVI", 7));
    EXPECT_EQ(b.mid(7, 121), QByteArray(121, '\0'));
    EXPECT_EQ(b.mid(128, 2), QByteArray("\x00\x00", 2));
    // Windows-1252, not Latin-1 nor UTF-8: é E9, € 80, œ 9C, ’ 92, … 85.
    EXPECT_EQ(b.mid(256, 7), QByteArray("\x05\x00\xE9\x80\x9C\x92\x85", 7));

    // A text of 300 bytes needs a high length byte: 126 is the most a record holds.
    const QString longest(126, QLatin1Char('a'));
    ASSERT_TRUE(image.write(2, longest).ok());
    EXPECT_EQ(image.bytes().mid(128, 2), QByteArray("\x7E\x00", 2));
    EXPECT_EQ(image.read(2).text, longest);
    EXPECT_EQ(image.read(3).text, QString::fromUtf8("é€œ’…"));
}

TEST(RecordFile, ReadingRecordsPastTheEndCutOrDamaged)
{
    // Record 1 whole, record 2 stops right after its text.
    QByteArray bytes = rawRecord(3, "abc") + QByteArray("\x02\x00hi", 4);
    RecordImage image(bytes);
    EXPECT_EQ(image.recordCount(), 2);
    EXPECT_EQ(image.read(1).text, "abc");  // padding ignored
    EXPECT_TRUE(image.read(2).ok());
    EXPECT_EQ(image.read(2).text, "hi");
    for (int n : {3, 18, 31, 1000}) {
        EXPECT_TRUE(image.read(n).ok()) << n;
        EXPECT_EQ(image.read(n).text, "") << n;
    }
    EXPECT_TRUE(RecordImage().read(1).ok());
    EXPECT_EQ(RecordImage().read(1).text, "");

    // A length above 126 is a damaged record, reported with its number;
    // the records around it still read.
    for (quint16 length : {quint16(127), quint16(128), quint16(0xFFFF)}) {
        RecordImage d(rawRecord(1, "a") + rawRecord(length, "") + rawRecord(1, "c"));
        const RecordText r = d.read(2);
        EXPECT_EQ(r.status.error, RecordError::Damaged) << length;
        EXPECT_EQ(r.status.record, 2);
        EXPECT_EQ(d.read(1).text, "a");
        EXPECT_EQ(d.read(3).text, "c");
    }
    // A text cut by the end of the file, and a length field cut in half.
    EXPECT_EQ(RecordImage(rawRecord(0, "") + QByteArray("\x05\x00" "ab", 4)).read(2).status.error,
              RecordError::Damaged);
    EXPECT_EQ(RecordImage(rawRecord(0, "") + QByteArray("\x05", 1)).read(2).status.error,
              RecordError::Damaged);
    // Every byte decodes: the five bytes Windows leaves undefined too.
    EXPECT_EQ(RecordImage(QByteArray("\x02\x00\x81\x8D", 4)).read(1).text.size(), 2);
}

TEST(RecordFile, TextsThatDoNotFitAreRefusedNeverTruncated)
{
    RecordImage image;
    ASSERT_TRUE(image.write(1, "avant").ok());
    const QByteArray before = image.bytes();

    const RecordStatus greek = image.write(1, QString::fromUtf8("2,0 Ω"));
    EXPECT_EQ(greek.error, RecordError::Unencodable);
    EXPECT_EQ(greek.record, 1);
    EXPECT_TRUE(greek.message.contains(QString::fromUtf8("« Ω »"))) << greek.message.toStdString();
    EXPECT_TRUE(greek.message.contains(QString::fromUtf8("2,0 Ω")));

    const RecordStatus emoji = image.write(1, QString::fromUtf8("a😀"));
    EXPECT_EQ(emoji.error, RecordError::Unencodable);
    EXPECT_TRUE(emoji.message.contains(QString::fromUtf8("😀")));

    const RecordStatus tooLong = image.write(1, QString(127, QLatin1Char('z')));
    EXPECT_EQ(tooLong.error, RecordError::TooLong);
    EXPECT_TRUE(tooLong.message.contains("126"));
    EXPECT_EQ(image.bytes(), before);  // left as it was

    // A whole image is refused when one text is, naming that record.
    RecordImage whole;
    const RecordStatus s = buildRecordImage({"a", "b", QString::fromUtf8("œ ok"), QString::fromUtf8("č")}, whole);
    EXPECT_EQ(s.error, RecordError::Unencodable);
    EXPECT_EQ(s.record, 4);
    EXPECT_TRUE(whole.bytes().isEmpty());
}

TEST(RecordFile, SaveReplacesTheWholeFileAndRefusesBadTextsWithoutTouchingIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("essai.P15");
    ASSERT_TRUE(saveRecordFile(path, {"un", "deux", "trois"}).ok());
    EXPECT_EQ(fileBytes(path).size(), 3 * 128);
    ASSERT_TRUE(saveRecordFile(path, {"seul"}).ok());
    const QByteArray saved = fileBytes(path);
    EXPECT_EQ(saved.size(), 128);  // replaced, not overwritten in place
    EXPECT_EQ(readRecord(path, 1).text, "seul");
    EXPECT_EQ(readRecord(path, 2).text, "");

    const RecordStatus refused = saveRecordFile(path, {"seul", QString(200, QLatin1Char('x'))});
    EXPECT_EQ(refused.error, RecordError::TooLong);
    EXPECT_EQ(refused.record, 2);
    EXPECT_EQ(fileBytes(path), saved);
    EXPECT_FALSE(saveRecordFile(dir.filePath("neuf.P15"), {QString::fromUtf8("→")}).ok());
    EXPECT_FALSE(QFile::exists(dir.filePath("neuf.P15")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no temporary file left
}

TEST(RecordFile, FailedSaveKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("garde.P15");
    ASSERT_TRUE(saveRecordFile(path, {"ancien", "contenu"}).ok());
    const QByteArray old = fileBytes(path);

    // The write fails half-way: the file-size limit of the process stops it
    // (works whoever runs the tests, root included). Windows has no such
    // limit.
#ifndef _WIN32
    {
        struct rlimit saved {};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = 200;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        QStringList many;
        for (int i = 0; i < 18; ++i)
            many << QStringLiteral("nouveau %1").arg(i);
        const RecordStatus s = saveRecordFile(path, many);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(s.error, RecordError::Unwritable);
        EXPECT_TRUE(s.message.contains(QString::fromUtf8("n'a pas été modifié"))) << s.message.toStdString();
    }
#endif
    EXPECT_EQ(fileBytes(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"garde.P15"});

    // A folder that does not exist.
    EXPECT_EQ(saveRecordFile(dir.filePath("absent/x.P15"), {"a"}).error, RecordError::Unwritable);

    // A folder the user may not write into (meaningless for root, who may;
    // on Windows, rights are the folder's access list, not these bits).
#ifndef _WIN32
    if (geteuid() != 0) {
        ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const RecordStatus s = saveRecordFile(path, {"nouveau"});
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(s.error, RecordError::Unwritable);
        EXPECT_EQ(fileBytes(path), old);
    }
#endif
}

TEST(RecordFile, ReadingFilesMissingUnreachableOrLarge)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("rien.P15");
    RecordFileRead r = readRecordFile(missing, 18);
    EXPECT_EQ(r.status.error, RecordError::Missing);
    EXPECT_EQ(r.image.read(1).text, "");
    EXPECT_FALSE(QFile::exists(missing));  // reading never creates

    EXPECT_EQ(readRecordFile(dir.filePath("pas/ici.P15"), 18).status.error, RecordError::Unreadable);
    EXPECT_EQ(readRecordFile(dir.path(), 18).status.error, RecordError::Unreadable);
    EXPECT_EQ(readRecordFile(QString(), 18).status.error, RecordError::Unreadable);

    // Only the records asked for are read, however large the file.
    const QString big = dir.filePath("gros.bin");
    putBytes(big, QByteArray(100 * 128, '\x7F'));
    r = readRecordFile(big, 18);
    EXPECT_TRUE(r.status.ok());
    EXPECT_EQ(r.image.bytes().size(), 18 * 128);
    EXPECT_EQ(r.image.read(1).status.error, RecordError::Damaged);  // length 0x7F7F
}

TEST(RecordFile, FlagFileRecordsWrittenAndTakenInPlace)
{
    QTemporaryDir dir;
    const QString flag = dir.filePath("TEMPQA.TMP");

    // Start-up on a machine without the file creates it.
    ASSERT_TRUE(writeRecord(flag, 3, "OUI").ok());
    QByteArray b = fileBytes(flag);
    ASSERT_EQ(b.size(), 3 * 128);
    EXPECT_EQ(b.left(256), QByteArray(256, '\0'));  // records 1 and 2 empty
    EXPECT_EQ(b.mid(256, 5), QByteArray("\x03\x00OUI", 5));
    RecordText poll = takeRecord(flag, 31);
    EXPECT_TRUE(poll.ok());
    EXPECT_EQ(poll.text, "");
    EXPECT_EQ(readRecord(flag, 3).text, "OUI");
    EXPECT_EQ(fileBytes(flag).size(), 31 * 128);

    // The launcher's file, with its own records and padding: only the records
    // written change, byte for byte.
    QByteArray launcher;
    for (int n = 1; n <= 40; ++n)
        launcher += rawRecord(2, QByteArray::number(n % 10) + "z", char('A' + n % 26));
    launcher.replace(30 * 128, 128, rawRecord(12, "EXERCI~1.E33", '#'));
    putBytes(flag, launcher);

    ASSERT_TRUE(writeRecord(flag, 3, "NON").ok());
    poll = takeRecord(flag, 31);
    EXPECT_EQ(poll.text, "EXERCI~1.E33");
    b = fileBytes(flag);
    ASSERT_EQ(b.size(), launcher.size());
    for (int n = 1; n <= 40; ++n) {
        const QByteArray rec = b.mid((n - 1) * 128, 128);
        if (n == 3)
            EXPECT_EQ(rec, QByteArray("\x03\x00NON", 5) + QByteArray(123, '\0'));
        else if (n == 31)
            EXPECT_EQ(rec, QByteArray(128, '\0'));
        else
            EXPECT_EQ(rec, launcher.mid((n - 1) * 128, 128)) << n;
    }
    EXPECT_EQ(takeRecord(flag, 31).text, "");  // served once

    // A damaged request is reported and cleared all the same.
    b.replace(30 * 128, 2, QByteArray("\xC8\x00", 2));
    putBytes(flag, b);
    poll = takeRecord(flag, 31);
    EXPECT_EQ(poll.status.error, RecordError::Damaged);
    EXPECT_EQ(poll.status.record, 31);
    EXPECT_TRUE(takeRecord(flag, 31).ok());

    // An unencodable text is refused before the file is touched.
    const QByteArray kept = fileBytes(flag);
    EXPECT_EQ(writeRecord(flag, 3, QString::fromUtf8("ŒUI✓")).error, RecordError::Unencodable);
    EXPECT_EQ(fileBytes(flag), kept);

    // A flag file in a folder that cannot be reached fails without a crash.
    EXPECT_FALSE(writeRecord(dir.filePath("x/TEMPQA.TMP"), 3, "OUI").ok());
    EXPECT_FALSE(takeRecord(dir.filePath("x/TEMPQA.TMP"), 31).ok());
}

TEST(RecordFile, BlanksTrimmedAreSpacesOnly)
{
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("\ta\t"), "\ta\t");
}

TEST(RecordFile, FlagFileThatIsAPipeOrAFolderIsLeftAlone)
{
    TOLVI_NEEDS_FIFOS();
    QTemporaryDir dir;
    const QString pipe = dir.filePath("TEMPQA.TMP");
    FifoGuard guard(pipe, std::chrono::milliseconds(500));
    ASSERT_TRUE(guard.made());
    EXPECT_EQ(writeRecord(pipe, 3, "OUI").error, RecordError::Unwritable);
    EXPECT_EQ(takeRecord(pipe, 31).status.error, RecordError::Unreadable);
    EXPECT_FALSE(guard.rescued());

    const QString folder = dir.filePath("dossier");
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_EQ(writeRecord(folder, 3, "OUI").error, RecordError::Unwritable);
    EXPECT_EQ(takeRecord(folder, 31).status.error, RecordError::Unreadable);
    EXPECT_TRUE(QFileInfo(folder).isDir());
}
