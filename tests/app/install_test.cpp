// The installed program: `cmake --install` into a scratch folder, then the
// program started through bin/tolvi as the desktop's menu starts it. It must
// find the files it ships in its own folder, through the link.
#include "app/batch.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QImage>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct Outcome {
    int code;
    QString out;
    QString err;
};

Outcome run(const QString& program, const QStringList& arguments, const QString& workingDirectory,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {-1, QString(), QStringLiteral("did not end: ") + process.errorString()};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The keys of a .desktop file's main group (no localised keys).
QMap<QString, QString> desktopEntry(const QString& path)
{
    QMap<QString, QString> keys;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inEntry = false;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (const qsizetype eq = line.indexOf(QLatin1Char('=')); inEntry && eq > 0)
            keys.insert(line.left(eq), line.mid(eq + 1));
    }
    return keys;
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

class Install : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
        const QString build = QFileInfo(QStringLiteral(TOLVI_PROGRAM_DIR "/..")).canonicalFilePath();
        if (cmake.isEmpty() || !QFileInfo::exists(build + QStringLiteral("/cmake_install.cmake")))
            GTEST_SKIP() << "no cmake or no install script in " << build.toStdString();
        ASSERT_TRUE(root_.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), root_.path());
        const Outcome r = run(cmake, {QStringLiteral("--install"), build, QStringLiteral("--prefix"), QStringLiteral("/usr")},
                              root_.path(), env);
        ASSERT_EQ(r.code, 0) << r.out.toStdString() << r.err.toStdString();
        usr_ = root_.path() + QStringLiteral("/usr");
        ASSERT_TRUE(work_.isValid());
    }

    Outcome tolvi(const QStringList& arguments) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return run(usr_ + QStringLiteral("/bin/tolvi"), arguments, work_.path(), env);
    }

    QTemporaryDir root_;
    QTemporaryDir work_;  // the user's current folder, away from the program's
    QString usr_;
};
}  // namespace

TEST_F(Install, ProgramGoesWithEveryShippedFileAndBinLinksToIt)
{
    const QString programDir = usr_ + QStringLiteral("/lib/tolvi");
    const QFileInfo link(usr_ + QStringLiteral("/bin/tolvi"));
    ASSERT_TRUE(link.isSymLink());
    // Relative, so that the package's tree works wherever it is unpacked.
    EXPECT_TRUE(QFileInfo(link.symLinkTarget()).exists());
    EXPECT_FALSE(QFile::symLinkTarget(link.filePath()).isEmpty());
    EXPECT_EQ(QFileInfo(link.canonicalFilePath()).canonicalPath(), QFileInfo(programDir).canonicalFilePath());
    EXPECT_TRUE(QFileInfo(programDir + QStringLiteral("/tolvi")).isExecutable());

    const QDir data(QStringLiteral(TOLVI_SOURCE_DIR "/data"));
    int files = 0;
    for (QDirIterator it(data.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString source = it.next();
        const QString installed = programDir + QLatin1Char('/') + data.relativeFilePath(source);
        EXPECT_EQ(contents(installed), contents(source)) << installed.toStdString();
        ++files;
    }
    EXPECT_GT(files, 0);
    EXPECT_TRUE(QFileInfo::exists(programDir + QStringLiteral("/TOLVI.PEM")));
}

TEST_F(Install, InstalledProgramRunsThroughTheLinkAndFindsItsData)
{
    const Outcome version = tolvi({QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, tolvi::versionText() + QLatin1Char('\n'));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Tolvi \\d+\\.\\d+\\.\\d+\n$")).match(version.out).hasMatch())
        << version.out.toStdString();

    // The getting-started activity is found only in the program's own folder.
    const Outcome started = tolvi({QStringLiteral("--getting-started"), QStringLiteral("--text-plain"), QStringLiteral("prise.txt")});
    EXPECT_EQ(started.code, 0) << started.err.toStdString();
    EXPECT_FALSE(contents(work_.filePath(QStringLiteral("prise.txt"))).trimmed().isEmpty());

    // A shipped exercise: its statement and configuration, then the rope.
    const Outcome exercise = tolvi({QStringLiteral("--exercise"), usr_ + QStringLiteral("/lib/tolvi/CELERITE.E33"),
                                    QStringLiteral("--text-plain"), QStringLiteral("enonce.txt"), QStringLiteral("--advance"),
                                    QStringLiteral("1"), QStringLiteral("--rope-csv"), QStringLiteral("corde.csv")});
    EXPECT_EQ(exercise.code, 0) << exercise.err.toStdString();
    EXPECT_TRUE(exercise.err.isEmpty()) << exercise.err.toStdString();
    EXPECT_FALSE(contents(work_.filePath(QStringLiteral("enonce.txt"))).trimmed().isEmpty());
    EXPECT_TRUE(contents(work_.filePath(QStringLiteral("corde.csv"))).startsWith("x (m);u (cm)"));
}

TEST_F(Install, ReadOnlyProgramFolderDoesNotStopThePupil)
{
    // Installed for everyone, the folder is not writable by pupils: the flag
    // file cannot be written, and the program goes on without a word.
    const QString programDir = usr_ + QStringLiteral("/lib/tolvi");
    QFile::remove(programDir + QStringLiteral("/TEMPQA.TMP"));
    const QFile::Permissions kept = QFile::permissions(programDir);
    QFile::setPermissions(programDir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::ExeOther);
    const Outcome r = tolvi({QStringLiteral("--getting-started"), QStringLiteral("--rope-csv"), QStringLiteral("corde.csv")});
    QFile::setPermissions(programDir, kept);
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

TEST_F(Install, DesktopEntryIconAndFileTypesAgree)
{
    const QString share = usr_ + QStringLiteral("/share");
    const QMap<QString, QString> desktop = desktopEntry(share + QStringLiteral("/applications/tolvi.desktop"));
    EXPECT_EQ(desktop.value(QStringLiteral("Name")), QStringLiteral("Tolvi"));
    EXPECT_EQ(desktop.value(QStringLiteral("Categories")), QStringLiteral("Education;Science;Physics;"));
    const QString exec = desktop.value(QStringLiteral("Exec"));
    EXPECT_EQ(exec, QStringLiteral("tolvi %f"));
    // The command the menu runs is the installed one.
    EXPECT_TRUE(QFileInfo::exists(usr_ + QStringLiteral("/bin/") + exec.section(QLatin1Char(' '), 0, 0)));

    const QString icon = desktop.value(QStringLiteral("Icon"));
    EXPECT_TRUE(QFileInfo::exists(share + QStringLiteral("/icons/hicolor/scalable/apps/") + icon + QStringLiteral(".svg")));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString png = share + QStringLiteral("/icons/hicolor/%1x%1/apps/").arg(size) + icon + QStringLiteral(".png");
        QImage image(png);
        EXPECT_EQ(image.size(), QSize(size, size)) << png.toStdString();
    }

    // Every type the entry opens is declared, with the extensions of both cases.
    const QString mime = QString::fromUtf8(contents(share + QStringLiteral("/mime/packages/tolvi.xml")));
    const QStringList types = desktop.value(QStringLiteral("MimeType")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    EXPECT_EQ(types.size(), 2);
    for (const QString& type : types)
        EXPECT_TRUE(mime.contains(QStringLiteral("type=\"%1\"").arg(type))) << type.toStdString();
    for (const char* glob : {"*.P15", "*.p15", "*.E33", "*.e33"})
        EXPECT_TRUE(mime.contains(QStringLiteral("pattern=\"%1\"").arg(QLatin1String(glob)))) << glob;
}
