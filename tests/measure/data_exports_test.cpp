// Data out of the window: the copy menu's and the pictures' data commands,
// their files against what the command line writes, the clipboard text, the
// shortcuts, and LibreOffice Calc reading them as French numbers.
#include "app/program.h"
#include "mainwin/feuille_p.h"
#include "measure/copy_menu.h"
#include "measure/data_exports.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "measure/values_window.h"
#include "sim/rope_profile.h"
#include "same_file.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tolvi;

namespace {
QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int runTolvi(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TOLVI_PROGRAM_DIR "/tolvi"), arguments);
    process.waitForFinished(60000);
    return process.exitCode();
}

class DataOut : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        window().setProgramDirectory(dir.path());
        window().endProgram = [] {};
        // As the command line starts the program.
        window().Form_Load();
        window().Form_Activate();
        ASSERT_NE(exports(), nullptr);
        exports()->askSaveName = [this](const QString&, const QString& suggested, const QString&,
                                        const QString&) {
            suggestions << suggested;
            return answer.isEmpty() ? QString() : dir.filePath(answer);
        };
    }
    void TearDown() override { window().timer1().stop(); }
    FeuilleP& window() { return program.window(); }
    Simulation& sim() { return program.simulation(); }
    DataExports* exports() { return window().findChild<DataExports*>(QStringLiteral("donnees")); }
    CopyMenu* menucop() { return window().findChild<CopyMenu*>(QStringLiteral("menucop")); }
    QAction* command(DataExports::Command c) { return exports()->action(c); }
    void record(double seconds)
    {
        sim().Command6_Click();
        sim().demar_Click();
        sim().advance(seconds);
    }

    ScriptedMessages messages;
    // The seed of batch runs: the damper's speckles are the same.
    Program program{messages, 1};
    QTemporaryDir dir;
    QString answer;
    QStringList suggestions;
};
}  // namespace

TEST_F(DataOut, FilesSavedFromTheWindowAreThoseTheCommandLineWrites)
{
    const QStringList names = {"batch-graphe.csv", "batch-corde.csv", "batch-corde.png", "batch-graphe.png"};
    ASSERT_EQ(runTolvi({"--record", "--start", "--advance", "1,5", "--graph-csv", dir.filePath(names[0]),
                        "--rope-csv", dir.filePath(names[1]), "--rope-image", dir.filePath(names[2]),
                        "--graph-image", dir.filePath(names[3])}),
              0);
    record(1.5);
    const struct {
        DataExports::Command command;
        const char* file;
        const char* suggested;
        const QString& batch;
    } saves[] = {
        {DataExports::SaveGraphValues, "graphe.csv", "graphe.csv", names[0]},
        {DataExports::SaveRopeProfile, "corde.csv", "corde.csv", names[1]},
        {DataExports::SaveRopeImage, "corde.png", "corde.png", names[2]},
        {DataExports::SaveGraphImage, "graphe.png", "graphe.png", names[3]},
    };
    for (const auto& s : saves) {
        answer = QString::fromLatin1(s.file);
        command(s.command)->trigger();
        EXPECT_EQ(suggestions.value(suggestions.size() - 1), QString::fromLatin1(s.suggested));
        const QByteArray mine = read(dir.filePath(answer));
        ASSERT_FALSE(mine.isEmpty()) << s.file;
        EXPECT_EQ(mine, read(dir.filePath(s.batch))) << s.file;
        EXPECT_TRUE(window().info().endsWith(QStringLiteral(" dans ") + tolvi::testing::shownPath(dir.filePath(answer))))
            << window().info().toStdString();
    }
    EXPECT_TRUE(read(dir.filePath(QStringLiteral("graphe.csv"))).startsWith("t (s);u1 (cm);u2 (cm)\n0,000;"));
    EXPECT_TRUE(read(dir.filePath(QStringLiteral("corde.csv"))).startsWith("x (m);u (cm)\n0,00;"));

    // Cancelling the dialog writes nothing and says nothing.
    answer.clear();
    const QString before = window().info();
    EXPECT_FALSE(exports()->saveGraphValues());
    EXPECT_EQ(window().info(), before);
    EXPECT_TRUE(messages.asked().empty());
}

TEST_F(DataOut, CopiedTextIsTabSeparatedWithDecimalCommas)
{
    record(1);
    QApplication::clipboard()->clear();
    command(DataExports::CopyGraphValues)->trigger();
    const QString graph = QApplication::clipboard()->text();
    EXPECT_EQ(graph, sim().graph().csv().replace(QLatin1Char(';'), QLatin1Char('\t')));
    EXPECT_TRUE(graph.startsWith(QStringLiteral("t (s)\tu1 (cm)\tu2 (cm)\n0,000\t")));
    EXPECT_EQ(window().info(), textCopiedMessage());

    command(DataExports::CopyRopeProfile)->trigger();
    const QString rope = QApplication::clipboard()->text();
    const QStringList lines = rope.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 701);
    EXPECT_EQ(lines[0], QStringLiteral("x (m)\tu (cm)"));
    EXPECT_EQ(lines[251], QStringLiteral("2,50\t") + lines[251].section(QLatin1Char('\t'), 1));
    EXPECT_EQ(rope, ropeCsv(sim().state(), QLatin1Char('\t')));
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+,[0-9]+$"));
    for (qsizetype i = 1; i < lines.size(); ++i)
        for (const QString& field : lines[i].split(QLatin1Char('\t')))
            ASSERT_TRUE(number.match(field).hasMatch()) << lines[i].toStdString();

    // The pictures from the right-click menus, with the copy confirmation.
    command(DataExports::CopyGraphImage)->trigger();
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              sim().graphImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(window().info(), program.shared().messageCopie);
}

TEST_F(DataOut, WithoutARecordingTheValueCommandsSayWhyAndChangeNothing)
{
    QApplication::clipboard()->setText(QStringLiteral("avant"));
    answer = QStringLiteral("vide.csv");
    bool shown = false;
    exports()->showValues = [&](ValuesWindow&) { shown = true; };
    EXPECT_FALSE(exports()->copyGraphValues());
    EXPECT_FALSE(exports()->saveGraphValues());
    EXPECT_FALSE(exports()->showValuesTable());
    EXPECT_FALSE(shown);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("avant"));
    EXPECT_FALSE(QFile::exists(dir.filePath(answer)));
    ASSERT_EQ(messages.asked().size(), 3u);
    for (const auto& asked : messages.asked()) {
        EXPECT_EQ(asked.title, QStringLiteral("Commande impossible"));
        EXPECT_TRUE(asked.text.contains(QStringLiteral("aucune valeur")));
    }
    // The rope's profile needs no recording.
    EXPECT_TRUE(exports()->copyRopeProfile());
}

TEST_F(DataOut, CopyMenuKeepsItsTwoCopiesFirstAndTheDataCommandsConfirmThemselves)
{
    const QList<QAction*> items = menucop()->actions();
    ASSERT_GE(items.size(), 4);
    EXPECT_EQ(items[0], menucop()->cop001());
    EXPECT_EQ(items[1], menucop()->cop002());
    EXPECT_TRUE(items[2]->isSeparator());
    QStringList texts;
    for (QAction* a : items.mid(3)) {
        texts << a->text();
        EXPECT_FALSE(a->statusTip().isEmpty()) << a->text().toStdString();
        EXPECT_EQ(a->toolTip(), a->statusTip());
    }
    EXPECT_EQ(texts, (QStringList{"Copier les valeurs du graphe", "Copier le profil de la corde",
                                  "Enregistrer l'image de la corde (PNG)...", "Enregistrer l'image du graphe (PNG)...",
                                  "Enregistrer les valeurs du graphe (CSV)...",
                                  "Enregistrer le profil de la corde (CSV)...", "Tableau de valeurs..."}));

    // Chosen from the menu: its own confirmation stays, not messageCopie.
    // The animation paused: no tick adds values while the menu is open.
    record(0.5);
    sim().setTimerEnabled(false);
    const std::size_t recorded = sim().graph().points().size();
    auto choose = [&](QAction* item) {
        QTimer::singleShot(50, [item] {
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(popup, nullptr);
            popup->setActiveAction(item);
            QTest::keyClick(popup, Qt::Key_Return);
        });
        menucop()->Command4_Click(QPoint(10, 10));
    };
    choose(command(DataExports::CopyGraphValues));
    EXPECT_EQ(window().info(), textCopiedMessage());
    EXPECT_EQ(sim().graph().points().size(), recorded);
    EXPECT_EQ(QApplication::clipboard()->text(), sim().graph().csv(QLatin1Char('\t')));
    choose(menucop()->cop002());
    EXPECT_EQ(window().info(), program.shared().messageCopie);

    // Left with Escape: nothing was copied, and nothing says it was.
    const QString before = QStringLiteral("Vous pouvez modifier les paramètres");
    window().setInfo(before);
    QTimer::singleShot(0, [] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        QTest::keyClick(popup, Qt::Key_Escape);
    });
    menucop()->Command4_Click(QPoint(10, 10));
    EXPECT_EQ(window().info(), before);
}

TEST_F(DataOut, RightClickOnThePicturesOffersTheirCommands)
{
    QList<QMenu*> shown;
    auto keep = [&shown](QMenu* menu, const QPoint&) { shown << menu; };
    RopePicture* rope = window().animpic();
    GraphPicture* graph = window().picture2();
    rope->showMenu = keep;
    graph->showMenu = keep;
    auto release = [](QWidget* w, QPoint at, Qt::MouseButton button) {
        at += PictureBox::origin();
        QMouseEvent e(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    };

    // On the rope: the marker menu's items, then the rope's commands.
    release(rope, QPoint(200, 50), Qt::RightButton);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(rope->posMarque(), 200);
    const QList<QAction*> both = shown[0]->actions();
    ASSERT_EQ(both.size(), 5 + 1 + 6);  // marker items, separator, photographs and exports
    EXPECT_EQ(both.mid(0, 5), rope->menupoint()->actions());
    EXPECT_TRUE(both[5]->isSeparator());
    EXPECT_EQ(both.mid(6), exports()->ropeActions());
    both[1]->trigger();  // "Marquer en rouge" still places the marker
    EXPECT_EQ(sim().state().marqueRouge, 200);
    // The left button keeps the marker menu alone; off the rope the right
    // button gives the commands alone.
    release(rope, QPoint(200, 50), Qt::LeftButton);
    EXPECT_EQ(shown.last(), rope->menupoint());
    release(rope, QPoint(20, 50), Qt::RightButton);
    EXPECT_EQ(shown.last()->actions(), exports()->ropeActions());
    // The Menu key, which the window system sends as a keyboard context
    // menu event: the right click's whole menu, at the keyboard cursor.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5), rope->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(rope, &key);
    EXPECT_EQ(shown.last(), rope->markerAndExportMenu());
    EXPECT_EQ(shown.last()->actions(), both);
    EXPECT_EQ(rope->posMarque(), rope->cursorColumn());
    const qsizetype before = shown.size();
    QContextMenuEvent mouse(QContextMenuEvent::Mouse, QPoint(5, 5), rope->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(rope, &mouse);
    EXPECT_EQ(shown.size(), before) << "the rope answers the release, not the press";

    // The graph: its commands, with the values table.
    QContextMenuEvent onGraph(QContextMenuEvent::Mouse, QPoint(100, 40), graph->mapToGlobal(QPoint(100, 40)));
    QCoreApplication::sendEvent(graph, &onGraph);
    EXPECT_EQ(shown.last()->actions(), exports()->graphActions());
    EXPECT_TRUE(exports()->graphActions().contains(command(DataExports::ShowValuesTable)));
    // Hovering an item writes its hover text in the hint line.
    QAction* item = command(DataExports::SaveGraphValues);
    emit shown.last()->hovered(item);
    EXPECT_EQ(window().info(), item->statusTip());
}

TEST_F(DataOut, ShortcutsReachTheCommandsFromTheWindow)
{
    record(0.5);
    QList<ValuesWindow*> tables;
    exports()->showValues = [&](ValuesWindow& w) {
        tables << &w;
        EXPECT_EQ(w.tableView()->model()->rowCount(), int(sim().graph().points().size()));
    };
    window().show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QApplication::clipboard()->clear();
    QTest::keyClick(&window(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), sim().graph().csv(QLatin1Char('\t')));
    QTest::keyClick(&window(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), ropeCsv(sim().state(), QLatin1Char('\t')));
    QTest::keyClick(&window(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(tables.size(), 1);
    answer = QStringLiteral("raccourci.csv");
    QTest::keyClick(&window(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(read(dir.filePath(answer)), sim().graph().csv().toUtf8());
    // No two data commands share a key.
    QList<QKeySequence> keys;
    for (QAction* a : exports()->shortcutActions()) {
        EXPECT_FALSE(keys.contains(a->shortcut())) << a->text().toStdString();
        keys << a->shortcut();
    }
    window().hide();
}

// LibreOffice Calc, in French, reads a CSV file and the copied text as numbers.
TEST_F(DataOut, CalcReadsTheCsvAndTheCopiedTextAsFrenchNumbers)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice (LibreOffice) is not installed";
    record(1);
    answer = QStringLiteral("valeurs.csv");
    ASSERT_TRUE(exports()->saveGraphValues());
    ASSERT_TRUE(exports()->copyGraphValues());
    {
        QFile pasted(dir.filePath(QStringLiteral("colle.csv")));
        ASSERT_TRUE(pasted.open(QIODevice::WriteOnly));
        pasted.write(QApplication::clipboard()->text().toUtf8());
    }
    const QString profile = QStringLiteral("file://") + dir.filePath(QStringLiteral("lo-profile"));
    // Separator 59 (;) or 9 (tab), text quote 34, UTF-8 (76), from line 1,
    // language 1036 (French).
    const struct {
        const char* file;
        const char* filter;
    } inputs[] = {{"valeurs.csv", "CSV:59,34,76,1,,1036"}, {"colle.csv", "CSV:9,34,76,1,,1036"}};
    const QStringList points = GraphRecording::csvFields(sim().graph().points()[10]);
    for (const auto& in : inputs) {
        QProcess lo;
        lo.setWorkingDirectory(dir.path());
        lo.start(soffice, {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
                           QStringLiteral("--infilter=") + QString::fromLatin1(in.filter), QStringLiteral("--convert-to"),
                           QStringLiteral("fods"), QStringLiteral("--outdir"), dir.path(),
                           dir.filePath(QString::fromLatin1(in.file))});
        ASSERT_TRUE(lo.waitForFinished(180000));
        const QString out = dir.filePath(QString::fromLatin1(in.file).section(QLatin1Char('.'), 0, 0) + ".fods");
        const QString xml = QString::fromUtf8(read(out));
        ASSERT_FALSE(xml.isEmpty()) << in.file << " " << lo.readAllStandardError().toStdString();
        // Every t, u1 and u2 of the recording is a number cell: the header's
        // three texts are the only text cells.
        EXPECT_EQ(xml.count(QStringLiteral("office:value-type=\"string\"")), 3) << in.file;
        EXPECT_TRUE(xml.contains(QStringLiteral("office:value-type=\"float\""))) << in.file;
        // Row 11 (point 10): t = 0,5 read as 0.5.
        const QString t = QString(points[0]).replace(QLatin1Char(','), QLatin1Char('.'));
        EXPECT_TRUE(xml.contains(QStringLiteral("office:value=\"%1\"").arg(QString::number(t.toDouble()))))
            << in.file;
    }
}
