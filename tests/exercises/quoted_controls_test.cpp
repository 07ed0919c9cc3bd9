// The help page and the activities name the window's controls ("appuyer sur
// Démarrer", "l'onglet Outils", "Marquer en rouge"): every name they quote
// must be the text of a real control, menu command or tab of the program's
// windows, built offscreen.
#include "app/program.h"
#include "app/program_folder.h"
#include "calc/machine.h"
#include "exercises/exercise_menu.h"
#include "mainwin/feuille_p.h"
#include "mainwin/tab_strip_painter.h"
#include "measure/confimp.h"
#include "measure/graph_picture.h"
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"
#include "measure/values_table.h"
#include "measure/values_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace tolvi;

namespace {

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A caption as the eye reads it: no mnemonic mark, blanks made plain.
QString asRead(QString text)
{
    text.replace(QLatin1String("&&"), QStringLiteral("\u0001"));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(1), QLatin1Char('&'));
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    return text.simplified();
}

// Every name a user can see or hear on the widgets of `root`: captions,
// titles, menu commands, hover texts and accessible names.
void collectNames(QObject* root, QSet<QString>& names)
{
    auto add = [&](const QString& text) {
        if (!text.trimmed().isEmpty())
            names.insert(asRead(text));
    };
    QList<QObject*> objects = root->findChildren<QObject*>();
    objects.prepend(root);
    for (QObject* object : objects) {
        if (auto* widget = qobject_cast<QWidget*>(object)) {
            add(widget->accessibleName());
            add(widget->toolTip());
            add(widget->windowTitle());
            for (QAction* action : widget->actions())
                add(action->text());
        }
        if (auto* button = qobject_cast<QAbstractButton*>(object))
            add(button->text());
        if (auto* box = qobject_cast<QGroupBox*>(object))
            add(box->title());
        if (auto* action = qobject_cast<QAction*>(object))
            add(action->text());
    }
}

}  // namespace

TEST(QuotedControls, EveryControlTheHelpAndTheActivitiesNameIsInTheWindows)
{
    tolvi::testing::ProgramFolder programFolder;
    ASSERT_TRUE(programFolder.isValid());
    ScriptedMessages messages;
    Program program(messages, 1);
    FeuilleP& window = program.window();
    window.setProgramDirectory(programFolder.path());
    window.Form_Load();

    QSet<QString> names;
    collectNames(&window, names);
    // The captions that name a state show once the state is reached: a
    // running sine, a recording graph, a running chronometer.
    auto click = [&](const char* objectName) {
        auto* button = window.findChild<QAbstractButton*>(QString::fromLatin1(objectName));
        ASSERT_TRUE(button) << objectName;
        button->click();
    };
    click("Optpert2");
    click("Command6");
    click("Command3");
    collectNames(&window, names);
    for (int k = 1; k <= 3; ++k)
        names.insert(tabText(k));  // the painted tab strip
    collectNames(program.exercises().optionexo(), names);
    collectNames(&program.exercises().window(), names);
    Machine calculator(&window);
    collectNames(&calculator, names);
    Confimp print(QImage(), QImage(), messages, &window);
    collectNames(&print, names);
    ValuesWindow values(ValuesTable(), messages, &window);
    collectNames(&values, names);
    // Sanity: the collection sees the controls of every window.
    for (const char* known : {"Démarrer", "Corde", "Marquer en rouge", "Voir la correction", "EXE", "Imprimantes"})
        ASSERT_TRUE(names.contains(QString::fromUtf8(known))) << known;

    // The help page marks the controls it names with class="ui".
    const QString help = readAll(QStringLiteral(TOLVI_SOURCE_DIR "/data/aide/tolvi.html"));
    ASSERT_FALSE(help.isEmpty());
    QStringList quoted;
    static const QRegularExpression ui(QStringLiteral("<span class=\"ui\">([^<]*)</span>"));
    for (auto it = ui.globalMatch(help); it.hasNext();) {
        QString name = it.next().captured(1);
        name.replace(QLatin1String("&amp;"), QLatin1String("&")).replace(QLatin1String("&nbsp;"), QLatin1String(" "));
        quoted << QStringLiteral("aide : ") + asRead(name);
    }
    const qsizetype inHelp = quoted.size();
    EXPECT_GE(inHelp, 40);

    // The activities' sources write them [Démarrer].
    const QDir sources(QStringLiteral(TOLVI_SOURCE_DIR "/data-src/exercices"));
    static const QRegularExpression bracket(QStringLiteral("(?<!\\\\)\\[([^\\]\\n]+)\\]"));
    for (const QString& file : sources.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        const QString text = readAll(sources.filePath(file));
        for (auto it = bracket.globalMatch(text); it.hasNext();)
            quoted << file + QStringLiteral(" : ") + asRead(it.next().captured(1));
    }
    EXPECT_GE(quoted.size() - inHelp, 30);

    for (const QString& entry : quoted) {
        const QString name = entry.section(QStringLiteral(" : "), 1);
        EXPECT_TRUE(names.contains(name)) << entry.toStdString() << " : aucune commande de ce nom dans les fenêtres";
    }

    // A control named in plain words must be marked too: the names of the
    // buttons under the rope never appear unmarked in the activities.
    for (const QString& file : sources.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        QString text = readAll(sources.filePath(file));
        text.remove(bracket);
        for (const char* plain : {"Démarrer", "Pause", "Marquer en"})
            EXPECT_FALSE(text.contains(QString::fromUtf8(plain))) << file.toStdString() << " : « " << plain
                                                                   << " » sans crochets";
    }
}

// The help's calculator examples, typed on the keyboard of the real
// calculator window (with the key the help names clicked before or after),
// show the result the help gives.
TEST(QuotedControls, TheHelpsCalculatorExamplesGiveTheirResultWhenTyped)
{
    const QString help = readAll(QStringLiteral(TOLVI_SOURCE_DIR "/data/aide/tolvi.html"));
    static const QRegularExpression example(QStringLiteral("<code class=\"calcul\"([^>]*)>([^<]*)</code>"));
    static const QRegularExpression attribute(QStringLiteral("data-([a-z]+)=\"([^\"]*)\""));
    int tried = 0;
    for (auto it = example.globalMatch(help); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QMap<QString, QString> data;
        for (auto a = attribute.globalMatch(m.captured(1)); a.hasNext();) {
            const QRegularExpressionMatch am = a.next();
            data[am.captured(1)] = am.captured(2);
        }
        const QString typed = m.captured(2);
        SCOPED_TRACE(typed.toStdString());
        ASSERT_TRUE(data.contains(QStringLiteral("resultat")));
        Machine machine;
        auto click = [&](const QString& key) {
            if (key.isEmpty())
                return;
            QPushButton* button = machine.touche(key);
            ASSERT_TRUE(button) << key.toStdString();
            button->click();
        };
        auto press = [&](int key, const QString& text) {
            QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
            QApplication::sendEvent(machine.z1(), &event);
        };
        click(data.value(QStringLiteral("touche")));
        for (const QChar c : typed)
            press(c.toUpper().unicode(), QString(c));
        click(data.value(QStringLiteral("apres")));
        press(Qt::Key_Return, QStringLiteral("\r"));
        EXPECT_EQ(machine.z1()->text().trimmed(), data.value(QStringLiteral("resultat")));
        ++tried;
    }
    EXPECT_GE(tried, 4);
}

// What the help says the window does with its entries and keys, done by the
// window: the examples of out-of-range entries it gives, and the graph
// cursor's step with Maj.
TEST(QuotedControls, TheHelpsEntryExamplesAndGraphStepAreWhatTheWindowDoes)
{
    const QString help = readAll(QStringLiteral(TOLVI_SOURCE_DIR "/data/aide/tolvi.html"));
    ASSERT_FALSE(help.isEmpty());
    EXPECT_FALSE(help.contains(QStringLiteral("refusée avec un message")));

    static const QRegularExpression entry(QStringLiteral(
        "<span class=\"saisie\" data-case=\"(\\d)\" data-tape=\"([^\"]*)\" data-affiche=\"([^\"]*)\">"));
    int examples = 0;
    for (auto it = entry.globalMatch(help); it.hasNext(); ++examples) {
        const QRegularExpressionMatch m = it.next();
        SCOPED_TRACE(m.captured(0).toStdString());
        ScriptedMessages messages;
        SeededRandom random;
        Simulation sim(messages, random);
        const int index = m.captured(1).toInt();
        sim.setTextfreq(index, m.captured(2));
        sim.Textfreq_LostFocus(index);
        EXPECT_EQ(sim.controls().textfreq[std::size_t(index)], m.captured(3));
        EXPECT_TRUE(messages.asked().empty());
    }
    EXPECT_GE(examples, 2);

    static const QRegularExpression graphStep(QStringLiteral("<span class=\"pas-graphe\" data-pixels=\"(\\d+)\">"));
    const QRegularExpressionMatch step = graphStep.match(help);
    ASSERT_TRUE(step.hasMatch());
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim(messages, random);
    GraphPicture graph(sim);
    const auto press = [&graph](int key, Qt::KeyboardModifiers mods) {
        QKeyEvent event(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(&graph, &event);
    };
    press(Qt::Key_Home, Qt::NoModifier);
    const QPoint start = graph.keyboardCursor();
    press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(graph.keyboardCursor().x() - start.x(), step.captured(1).toInt());
    press(Qt::Key_Right, Qt::NoModifier);
    EXPECT_EQ(graph.keyboardCursor().x() - start.x(), step.captured(1).toInt() + 1);
    press(Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(graph.keyboardCursor().y(), start.y() + 1);  // one pixel: 1 cm
}
