// What a screen reader finds in the main window: every control that can be
// used has a French name (never an internal control name) and the focusable
// ones a description; the tab strip is a tab list of three tabs and the
// up-down control a spin box whose value is the duration shown beside it.
#include "app/program.h"
#include "app/program_folder.h"
#include "config/open_dialog.h"
#include "config/save_dialog.h"
#include "exercises/exercise_menu.h"
#include "mainwin/hover_texts.h"
#include "mainwin/pacing_controls.h"
#include "mainwin/shared_state.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "sim/simulation.h"
#include "text/french_numbers.h"
#include "mainwin/feuille_p.h"
#include "mainwin/tab_strip.h"
#include "measure/tools_panel.h"
#include "mainwin/image_button.h"
#include "measure/up_down.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleTextInterface>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

using namespace tolvi;

namespace {

bool interactive(const QAccessibleInterface* a)
{
    switch (a->role()) {
    case QAccessible::PushButton:
    case QAccessible::ButtonMenu:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::ComboBox:
    case QAccessible::PageTab:
    case QAccessible::PageTabList:
    case QAccessible::List:
        return true;
    default:
        return a->state().focusable;
    }
}

// Walks the tree below `root`, depth first.
void walk(QAccessibleInterface* root, const std::function<void(QAccessibleInterface*)>& visit, int depth = 0)
{
    ASSERT_LT(depth, 30);
    visit(root);
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        ASSERT_NE(child, nullptr) << root->text(QAccessible::Name).toStdString() << " child " << i;
        EXPECT_EQ(root->indexOfChild(child), i);
        walk(child, visit, depth + 1);
    }
}

// Internal control names that must never be read out.
bool looksLikeAControlName(const QString& name)
{
    static const QRegularExpression code(QStringLiteral("^[A-Za-z]+[0-9_]*$"));
    static const QSet<QString> words = {QStringLiteral("Pause"),  QStringLiteral("Corde"),  QStringLiteral("Onde"),
                                        QStringLiteral("Outils"), QStringLiteral("Graphe"),
                                        QStringLiteral("Exercices"), QStringLiteral("Ouvrir"), QStringLiteral("Enregistrer"),
                                        QStringLiteral("Imprimer"), QStringLiteral("Aide"), QStringLiteral("Fermer"),
                                        QStringLiteral("Calculatrice"), QStringLiteral("Copier"), QStringLiteral("Marche"),
                                        QStringLiteral("Démarrer"), QStringLiteral("Arrêter"), QStringLiteral("Ralenti"),
                                        QStringLiteral("Amortissement")};
    return code.match(name).hasMatch() && !words.contains(name);
}

}  // namespace

TEST(Accessibility, EveryControlOfTheWindowHasAFrenchNameAndTheFocusableOnesADescription)
{
    ScriptedMessages messages;
    Program program{messages, 1};
    QTemporaryDir dir;
    program.window().setProgramDirectory(dir.path());
    program.window().endProgram = [] {};
    program.window().Form_Load();

    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&program.window());
    ASSERT_NE(root, nullptr);
    int controls = 0;
    QSet<QString> names;
    walk(root, [&](QAccessibleInterface* a) {
        if (!interactive(a))
            return;
        ++controls;
        const QString name = a->text(QAccessible::Name);
        QObject* object = a->object();
        const std::string who = object ? object->objectName().toStdString() : name.toStdString();
        EXPECT_FALSE(name.trimmed().isEmpty()) << who;
        EXPECT_FALSE(name.contains(QLatin1Char('&'))) << who;
        EXPECT_FALSE(looksLikeAControlName(name)) << who << ": " << name.toStdString();
        if (object) {
            EXPECT_NE(name, object->objectName()) << who;
        }
        if (a->state().focusable) {
            EXPECT_FALSE(a->text(QAccessible::Description).trimmed().isEmpty()) << who;
        }
        names.insert(name);
    });
    // The window's buttons, pictures, tabs, panels' boxes and options.
    EXPECT_GE(controls, 35);
    for (const char* expected : {"Ouvrir", "Enregistrer la configuration", "Enregistrer le graphe", "Copier", "Imprimer", "Calculatrice", "Aide", "Fermer",
                                 "Corde", "Graphe", "Pause", "Exercices", "Onglet Corde", "Onglet Onde",
                                 "Onglet Outils", "Durée de l'enregistrement en secondes", "Fréquence (0,1 Hz à 5 Hz)",
                                 "Tension de la corde (0,1 N à 10 N)", "Onde solitaire", "Extrémité fixe",
                                 "Enregistrement continu", "Remise à zéro du chronomètre", "Texte de l'exercice"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(expected))) << expected;
}

TEST(Accessibility, TabListAndSpinBoxFollowWhatTheyShow)
{
    ScriptedMessages messages;
    Program program{messages, 1};
    QTemporaryDir dir;
    program.window().setProgramDirectory(dir.path());
    program.window().endProgram = [] {};
    program.window().Form_Load();
    FeuilleP& window = program.window();

    QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(window.onglets());
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->role(), QAccessible::PageTabList);
    ASSERT_GE(strip->childCount(), 4);  // three tabs, then the panel shown
    const auto selected = [strip] {
        int found = 0;
        for (int i = 0; i < 3; ++i)
            if (strip->child(i)->state().selected)
                found = found * 10 + i + 1;
        return found;
    };
    window.selectTab(2);
    EXPECT_EQ(selected(), 2);
    window.selectTab(3);
    EXPECT_EQ(selected(), 3);
    EXPECT_EQ(strip->child(2)->role(), QAccessible::PageTab);
    EXPECT_EQ(strip->child(2)->parent(), strip);
    EXPECT_TRUE(strip->child(0)->rect().isValid());

    UpDown* upDown = window.picture1()->upDown1();
    QAccessibleInterface* spin = QAccessible::queryAccessibleInterface(upDown);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->role(), QAccessible::SpinBox);
    QAccessibleValueInterface* value = spin->valueInterface();
    ASSERT_NE(value, nullptr);
    // The duration in seconds, never the step's rank (4 for 10 s).
    EXPECT_EQ(value->currentValue().toDouble(), 10.0);
    EXPECT_EQ(spin->text(QAccessible::Value), QStringLiteral("10 s"));
    value->setCurrentValue(60);  // a screen reader may set it
    EXPECT_EQ(window.picture1()->labelg()->text(), QStringLiteral("1 min"));
    EXPECT_EQ(spin->text(QAccessible::Value), QStringLiteral("60 s"));
    EXPECT_EQ(value->minimumValue().toDouble(), 1.0);
    EXPECT_EQ(value->maximumValue().toDouble(), 600.0);
    value->setCurrentValue(250);  // between two steps: the nearest one
    EXPECT_EQ(value->currentValue().toDouble(), 300.0);
    QTest::keyClick(upDown, Qt::Key_Up);
    EXPECT_EQ(value->currentValue().toDouble(), 600.0);
    EXPECT_EQ(spin->text(QAccessible::Value), QStringLiteral("600 s"));
    EXPECT_TRUE(spin->text(QAccessible::Name).contains(QStringLiteral("secondes")));

    // The pause picture tells its state.
    QAccessibleInterface* pause = QAccessible::queryAccessibleInterface(static_cast<QObject*>(window.command16()));
    ASSERT_NE(pause, nullptr);
    EXPECT_EQ(pause->role(), QAccessible::PushButton);
    const QString first = pause->text(QAccessible::Name);
    program.simulation().command16_Click();
    EXPECT_NE(pause->text(QAccessible::Name), first);
}

namespace {

class ProgramAccess : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.window().setProgramDirectory(folder.path());
        program.window().endProgram = [] {};
        program.window().Form_Load();
    }
    FeuilleP& window() { return program.window(); }
    static QString nameOf(QObject* object)
    {
        return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
    }

    ScriptedMessages messages;
    Program program{messages, 1};
    tolvi::testing::ProgramFolder folder;
};

}  // namespace

TEST_F(ProgramAccess, MainWindowReadsAsAWindowWithItsTitle)
{
    QAccessibleInterface* main = QAccessible::queryAccessibleInterface(&window());
    EXPECT_EQ(main->role(), QAccessible::Window);
    EXPECT_FALSE(window().windowTitle().isEmpty());
    EXPECT_EQ(main->text(QAccessible::Name), window().windowTitle());
}

TEST_F(ProgramAccess, PicturesNameTheirKeyboardCursorReadingWhileFocused)
{
    window().show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    RopePicture* rope = window().animpic();
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(rope);
    // Arrows change its value, read as its text: a spin box for screen readers.
    EXPECT_EQ(a->role(), QAccessible::SpinBox);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Corde"));
    EXPECT_EQ(a->text(QAccessible::Value), QString());
    rope->setFocus(Qt::TabFocusReason);
    QTest::keyClick(rope, Qt::Key_Home);
    QTest::keyClick(rope, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(rope, Qt::Key_Right, Qt::NoModifier);
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("x = 0,11 m ; u = 0,0 cm"));
    QAccessibleTextInterface* text = a->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()), QStringLiteral("x = 0,11 m ; u = 0,0 cm"));
    ASSERT_NE(a->valueInterface(), nullptr);
    EXPECT_EQ(a->valueInterface()->currentValue().toInt(), 61);

    // A pulse on its way: the displacement under the cursor, in cm.
    program.simulation().demar_Click();
    for (int i = 0; i < 6; ++i)
        program.simulation().Timer1_Timer();
    const double d = program.simulation().state().deplacement[61];
    ASSERT_GT(d, 0.5);
    QTest::keyClick(rope, Qt::Key_Left);
    QTest::keyClick(rope, Qt::Key_Right);
    EXPECT_EQ(a->text(QAccessible::Value),
              QStringLiteral("x = 0,11 m ; u = ") + formatPattern(d, QStringLiteral("0.0")) + QStringLiteral(" cm"));

    // The graph: the date, and the curves where a recording reached.
    GraphPicture* graph = window().picture2();
    graph->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(a->text(QAccessible::Value), QString());  // the rope has no cursor any more
    EXPECT_NE(window().info(), hover::animpicKeys());
    QAccessibleInterface* g = QAccessible::queryAccessibleInterface(graph);
    QTest::keyClick(graph, Qt::Key_Home);
    EXPECT_EQ(g->text(QAccessible::Value), QStringLiteral("t = 0,00 s ; pas de valeur enregistrée"));
    program.simulation().Command6_Click();
    for (int i = 0; i < 20; ++i)
        program.simulation().Timer1_Timer();
    const std::vector<GraphPoint>& points = program.simulation().graph().points();
    ASSERT_GE(points.size(), 2u);
    // Column 37 is 0,1 s on the 10 s graph.
    QTest::keyClick(graph, Qt::Key_Right, Qt::NoModifier);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(graph, Qt::Key_Right, Qt::NoModifier);
    const QString reading = g->text(QAccessible::Value);
    EXPECT_TRUE(reading.startsWith(QStringLiteral("t = 0,10 s ; u\u2081 = "))) << reading.toStdString();
    EXPECT_TRUE(reading.contains(QStringLiteral(" cm ; u\u2082 = "))) << reading.toStdString();
    EXPECT_EQ(g->text(QAccessible::Name), QStringLiteral("Graphe"));
    QTest::keyClick(graph, Qt::Key_End);
    EXPECT_EQ(g->text(QAccessible::Value), QStringLiteral("t = 10,00 s ; pas de valeur enregistrée"));
}

TEST_F(ProgramAccess, DialogsAndTheExerciseChooserNameEveryControl)
{
    const auto named = [](QWidget* dialog) {
        QStringList names;
        for (QWidget* w : dialog->findChildren<QWidget*>())
            if ((w->focusPolicy() & Qt::TabFocus) && !w->isWindow()) {
                const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
                EXPECT_FALSE(name.trimmed().isEmpty()) << w->metaObject()->className() << " "
                                                       << w->objectName().toStdString();
                names << name;
            }
        return names;
    };
    SharedState shared;
    SaveDialog save(program.simulation(), shared, messages, {}, &window());
    const QStringList saveNames = named(&save);
    for (const char* n : {"Répertoire", "Fichiers enregistrés", "Nom du fichier"})
        EXPECT_TRUE(saveNames.contains(QString::fromUtf8(n))) << n;
    // A drop-down list reads its choice as its name, and its label through
    // the label relation.
    const auto labelOf = [](QWidget* dialog) {
        QComboBox* drives = dialog->findChild<QComboBox*>();
        const auto labels = QAccessible::queryAccessibleInterface(drives)->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
    };
    EXPECT_EQ(labelOf(&save), QStringLiteral("Lecteur:"));
    OpenDialog open(program.simulation(), shared, messages, {}, &window());
    const QStringList openNames = named(&open);
    for (const char* n : {"Répertoire", "Fichiers", "Fichier à ouvrir"})
        EXPECT_TRUE(openNames.contains(QString::fromUtf8(n))) << n;
    EXPECT_EQ(labelOf(&open), QStringLiteral("Lecteur:"));

    // The chooser: named for what it is, its marks saying the level.
    Fichexo& chooser = program.exercises().window();
    EXPECT_EQ(nameOf(&chooser), QStringLiteral("Ouvrir un exercice"));
    named(&chooser);
    const QStringList files = chooser.files();
    const qsizetype tension = files.indexOf(QStringLiteral("TENSION.E33"));
    ASSERT_GE(tension, 0);
    chooser.selectFile(int(tension));
    int lit = 0;
    for (int i = 0; i < 3; ++i)
        lit += chooser.markLit(i) ? 1 : 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(nameOf(chooser.image4(i)), QStringLiteral("Niveau de difficulté : %1 sur 3").arg(lit));
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(chooser.image4(i))
                        ->text(QAccessible::Description)
                        .endsWith(chooser.markLit(i) ? QStringLiteral("allumée") : QStringLiteral("éteinte")));
    }
}

TEST_F(ProgramAccess, SlowMotionAndStepSayWhatTheyDo)
{
    ImageButton* ralenti = window().pacing()->ralenti();
    const auto description = [ralenti] {
        return QAccessible::queryAccessibleInterface(ralenti)->text(QAccessible::Description);
    };
    EXPECT_EQ(nameOf(ralenti), QStringLiteral("Ralenti"));
    EXPECT_TRUE(description().endsWith(QStringLiteral("Vitesse choisie : temps réel."))) << description().toStdString();
    ralenti->click();
    EXPECT_TRUE(description().endsWith(QStringLiteral("Vitesse choisie : 1/2 du temps réel.")));
    ralenti->click();
    ralenti->click();
    EXPECT_TRUE(description().endsWith(QStringLiteral("Vitesse choisie : 1/10 du temps réel.")));
    // "Pas à pas" pauses a running animation first: its text says so.
    const QString step = QAccessible::queryAccessibleInterface(window().pacing()->pasAPas())->text(
        QAccessible::Description);
    EXPECT_TRUE(step.contains(QStringLiteral("met en pause"))) << step.toStdString();
}
