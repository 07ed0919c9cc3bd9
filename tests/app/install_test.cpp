// The installed program: `cmake --install` into a scratch folder, then the
// program started through bin/tolvi as the desktop's menu starts it. It must
// find the files it ships in its own folder, through the link.
#include "app/batch.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFont>
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

QString tool(const char* name)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

// The entries of a --help text: "  --option VALUE" or "  command ARGS".
QStringList helpEntries(const QString& help)
{
    QStringList entries;
    static const QRegularExpression entry(QStringLiteral("^  (\\S+)"), QRegularExpression::MultilineOption);
    for (auto it = entry.globalMatch(help); it.hasNext();)
        entries << it.next().captured(1);
    return entries;
}

// The descriptions of a --help text: its lines indented by six blanks.
QStringList helpDescriptions(const QString& help)
{
    QStringList lines;
    static const QRegularExpression line(QStringLiteral("^      (.+)$"), QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(help); it.hasNext();)
        lines << it.next().captured(1).simplified();
    return lines;
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
    const QMap<QString, QString> desktop = desktopEntry(share + QStringLiteral("/applications/" TOLVI_APP_ID ".desktop"));
    EXPECT_EQ(desktop.value(QStringLiteral("Name")), QStringLiteral("Tolvi"));
    // One main category, so that menus list Tolvi once.
    EXPECT_EQ(desktop.value(QStringLiteral("Categories")), QStringLiteral("Education;Physics;"));
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

TEST_F(Install, ManualPagesListEveryEntryOfTheHelpTexts)
{
    // The pages are made from --help when the programs are built: every
    // option of tolvi and every command of tolvi-author is there, with its
    // description, however many are added.
    const QString gzip = tool("gzip");
    if (gzip.isEmpty())
        GTEST_SKIP() << "no gzip";
    const QString man = tool("man");
    for (const char* program : {"tolvi", "tolvi-author"}) {
        SCOPED_TRACE(program);
        const QString name = QString::fromLatin1(program);
        const Outcome help = run(usr_ + QStringLiteral("/bin/") + name, {QStringLiteral("--help")}, work_.path());
        ASSERT_EQ(help.code, 0) << help.err.toStdString();
        const QStringList entries = helpEntries(help.out);
        EXPECT_GE(entries.size(), 3);

        const QString page = usr_ + QStringLiteral("/share/man/man1/") + name + QStringLiteral(".1.gz");
        const Outcome roff = run(gzip, {QStringLiteral("-dc"), page}, work_.path());
        ASSERT_EQ(roff.code, 0) << page.toStdString() << roff.err.toStdString();
        EXPECT_TRUE(roff.out.startsWith(QStringLiteral(".\\\" ")));
        EXPECT_TRUE(roff.out.contains(QStringLiteral(".TH ") + name.toUpper() + QStringLiteral(" 1 ")));
        for (const QString& entry : entries) {
            QString bold = entry;
            bold.replace(QLatin1Char('-'), QStringLiteral("\\-"));
            EXPECT_TRUE(roff.out.contains(QStringLiteral(".TP\n\\fB") + bold + QStringLiteral("\\fR"))) << entry.toStdString();
        }

        // Read as a person reads it: the same descriptions, and no complaint
        // from the formatter.
        if (man.isEmpty())
            continue;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
        const Outcome shown = run(man, {QStringLiteral("--warnings"), QStringLiteral("-l"), page}, work_.path(), env);
        EXPECT_EQ(shown.code, 0);
        EXPECT_TRUE(shown.err.isEmpty()) << shown.err.toStdString();
        const QString text = shown.out.simplified();
        for (const QString& entry : entries)
            EXPECT_TRUE(text.contains(entry)) << entry.toStdString();
        for (const QString& description : helpDescriptions(help.out))
            EXPECT_TRUE(text.contains(description)) << description.toStdString();
    }
}

TEST_F(Install, DesktopEntryAndMetainfoPassTheirValidators)
{
    const QString desktopFile = usr_ + QStringLiteral("/share/applications/" TOLVI_APP_ID ".desktop");
    const QString metainfo = usr_ + QStringLiteral("/share/metainfo/" TOLVI_APP_ID ".metainfo.xml");
    ASSERT_TRUE(QFileInfo::exists(desktopFile));
    ASSERT_TRUE(QFileInfo::exists(metainfo));
    const QString desktopValidate = tool("desktop-file-validate");
    const QString appstream = tool("appstreamcli");
    if (desktopValidate.isEmpty() && appstream.isEmpty())
        GTEST_SKIP() << "neither desktop-file-validate (desktop-file-utils) nor appstreamcli (appstream)";
    if (!desktopValidate.isEmpty()) {
        // Silent when clean: any hint, warning or error is printed.
        const Outcome r = run(desktopValidate, {desktopFile}, work_.path());
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out + r.err, QString());
    }
    if (!appstream.isEmpty()) {
        const Outcome r = run(appstream, {QStringLiteral("validate"), QStringLiteral("--pedantic"), QStringLiteral("--no-net"),
                                          QStringLiteral("--no-color"), metainfo},
                              work_.path());
        EXPECT_EQ(r.code, 0) << r.out.toStdString() << r.err.toStdString();
        // Errors, warnings, infos and pedantic remarks all start "X: ". The
        // one remark allowed: the developer is named both ways, for AppStream
        // 0.16 (Debian 12, which does not know <developer>) and 1.0 (Debian
        // 13, which calls <developer_name> deprecated).
        static const QRegularExpression remark(QStringLiteral("^[EWIP]: .*$"), QRegularExpression::MultilineOption);
        static const QRegularExpression allowed(
            QStringLiteral("^I: [^ ]+ (unknown-tag developer|developer-name-tag-deprecated)$"));
        for (auto it = remark.globalMatch(r.out + r.err); it.hasNext();) {
            const QString line = it.next().captured(0);
            EXPECT_TRUE(allowed.match(line).hasMatch()) << line.toStdString();
        }
    }
}

TEST_F(Install, MetainfoAgreesWithTheDesktopEntryThePackageAndTheScreenshots)
{
    const QString share = usr_ + QStringLiteral("/share");
    const QString xml = QString::fromUtf8(contents(share + QStringLiteral("/metainfo/" TOLVI_APP_ID ".metainfo.xml")));
    const QMap<QString, QString> desktop = desktopEntry(share + QStringLiteral("/applications/" TOLVI_APP_ID ".desktop"));
    auto all = [&xml](const QString& pattern) {
        QStringList found;
        for (auto it = QRegularExpression(pattern).globalMatch(xml); it.hasNext();)
            found << it.next().captured(1);
        return found;
    };
    EXPECT_EQ(all(QStringLiteral("<id>([^<]+)</id>")), QStringList{QStringLiteral(TOLVI_APP_ID)});
    EXPECT_EQ(all(QStringLiteral("<launchable type=\"desktop-id\">([^<]+)</launchable>")),
              QStringList{QStringLiteral(TOLVI_APP_ID ".desktop")});
    EXPECT_EQ(all(QStringLiteral("<icon type=\"stock\">([^<]+)</icon>")), QStringList{desktop.value(QStringLiteral("Icon"))});

    // What it says it provides is what is installed.
    const QStringList binaries = all(QStringLiteral("<binary>([^<]+)</binary>"));
    EXPECT_EQ(binaries, (QStringList{QStringLiteral("tolvi"), QStringLiteral("tolvi-author")}));
    for (const QString& binary : binaries)
        EXPECT_TRUE(QFileInfo(usr_ + QStringLiteral("/bin/") + binary).isExecutable()) << binary.toStdString();
    EXPECT_EQ(all(QStringLiteral("<mediatype>([^<]+)</mediatype>")),
              desktop.value(QStringLiteral("MimeType")).split(QLatin1Char(';'), Qt::SkipEmptyParts));
    QStringList categories = desktop.value(QStringLiteral("Categories")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    EXPECT_EQ(all(QStringLiteral("<category>([^<]+)</category>")), categories);

    // One version everywhere: the program, the newest release of the
    // metainfo and the newest entry of the package's changelog.
    const QString version = tolvi::versionText().section(QLatin1Char(' '), 1);
    const QStringList releases = all(QStringLiteral("<release version=\"([^\"]+)\""));
    ASSERT_FALSE(releases.isEmpty());
    EXPECT_EQ(releases.first(), version);
    const QString changelog = QString::fromUtf8(contents(QStringLiteral(TOLVI_SOURCE_DIR "/packaging/debian/changelog")));
    EXPECT_TRUE(changelog.startsWith(QStringLiteral("tolvi (") + version + QLatin1Char('-'))) << changelog.left(40).toStdString();

    // Every screenshot is one of the committed pictures, of the size given.
    static const QRegularExpression image(
        QStringLiteral("<image type=\"source\" width=\"(\\d+)\" height=\"(\\d+)\">[^<]*/([^/<]+)</image>"));
    int shots = 0;
    for (auto it = image.globalMatch(xml); it.hasNext(); ++shots) {
        const auto m = it.next();
        const QString file = QStringLiteral(TOLVI_SOURCE_DIR "/packaging/screenshots/") + m.captured(3);
        EXPECT_EQ(QImage(file).size(), QSize(m.captured(1).toInt(), m.captured(2).toInt())) << file.toStdString();
    }
    EXPECT_GE(shots, 1);
    EXPECT_EQ(xml.count(QStringLiteral("<screenshot")), shots + 1);  // <screenshots> itself
}

TEST(PackageDependencies, EveryFontTheProgramAsksForComesFromADeclaredPackage)
{
    // The fonts put in place of the Windows ones must be on the pupils'
    // machines: each comes from a package the Debian package depends on.
    const QString fcList = tool("fc-list");
    const QString dpkg = tool("dpkg");
    if (fcList.isEmpty() || dpkg.isEmpty())
        GTEST_SKIP() << "no fc-list or no dpkg";
    // "a (>= 1) | b, c": the names a, b and c.
    QStringList depends;
    for (const QString& alternative : QStringLiteral(TOLVI_PACKAGE_DEPENDS).split(QRegularExpression(QStringLiteral("[,|]"))))
        depends << alternative.section(QLatin1Char('('), 0, 0).trimmed();
    QStringList families;
    for (const QString& asked : QFont::substitutions())
        families << QFont::substitutes(asked);
    families.removeDuplicates();
    EXPECT_GE(families.size(), 3);
    for (const QString& family : families) {
        const Outcome files = run(fcList, {QStringLiteral("--format=%{file}\\n"), family}, QDir::tempPath());
        const QStringList paths = files.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_FALSE(paths.isEmpty()) << family.toStdString() << " is not installed";
        // "package: path" for each file that a package owns.
        const Outcome owners = run(dpkg, QStringList{QStringLiteral("-S")} + paths, QDir::tempPath());
        bool declared = false;
        for (const QString& line : owners.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            declared = declared || depends.contains(line.section(QLatin1Char(':'), 0, 0));
        EXPECT_TRUE(declared) << family.toStdString() << " comes from no package of " << TOLVI_PACKAGE_DEPENDS;
    }
}

// Started as the menu starts it, on a real display under a window manager:
// the window carries the program's icon (taskbars, Alt+Tab) and its class
// is the one the desktop entry names, so that docks tie it to the entry.
TEST_F(Install, WindowOnARealDisplayCarriesTheIconAndTheEntrysClass)
{
    const QString xvfb = tool("xvfb-run");
    const QString xprop = tool("xprop");
    const QString xwininfo = tool("xwininfo");
    if (xvfb.isEmpty() || xprop.isEmpty() || xwininfo.isEmpty())
        GTEST_SKIP() << "xvfb-run, xprop and xwininfo (x11-utils) are needed";
    // The window manager when there is one (openbox): it reparents the
    // window as a desktop would. The window is the one titled Tolvi, not
    // Qt's 1 x 1 leader window of the same name.
    const QString script = QStringLiteral(
        "command -v openbox >/dev/null && { openbox --sm-disable >/dev/null 2>&1 & sleep 1; }\n"
        "'%1' >/dev/null 2>&1 & pid=$!\n"
        "wid=\n"
        "for i in $(seq 1 150); do\n"
        "  wid=$(xwininfo -root -tree | awk '$2 == \"\\\"Tolvi\\\":\" && !/ 1x1\\+/ {print $1; exit}')\n"
        "  [ -n \"$wid\" ] && break; sleep 0.2\n"
        "done\n"
        "sleep 1\n"
        "[ -n \"$wid\" ] && xprop -id \"$wid\" WM_CLASS && xprop -id \"$wid\" _NET_WM_ICON | head -c 200\n"
        "kill $pid; wait $pid 2>/dev/null; true\n")
                               .arg(usr_ + QStringLiteral("/bin/tolvi"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const Outcome r = run(xvfb, {"-a", "-s", "-screen 0 1024x768x24", "sh", "-c", script}, work_.path(), env);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    ASSERT_TRUE(r.out.contains(QStringLiteral("WM_CLASS"))) << "no Tolvi window: " << r.out.toStdString()
                                                            << r.err.toStdString();

    // WM_CLASS(STRING) = "tolvi", "Tolvi": the entry names that class.
    static const QRegularExpression wmClass(QStringLiteral("WM_CLASS\\(STRING\\) = \"([^\"]*)\", \"([^\"]*)\""));
    const QRegularExpressionMatch m = wmClass.match(r.out);
    ASSERT_TRUE(m.hasMatch()) << r.out.toStdString();
    const QMap<QString, QString> desktop =
        desktopEntry(usr_ + QStringLiteral("/share/applications/" TOLVI_APP_ID ".desktop"));
    EXPECT_EQ(desktop.value(QStringLiteral("StartupWMClass")), m.captured(2));
    // The icon is set, in several sizes.
    EXPECT_TRUE(r.out.contains(QStringLiteral("_NET_WM_ICON(CARDINAL) = "))) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(QStringLiteral("_NET_WM_ICON:  not found"))) << r.out.toStdString();
}
