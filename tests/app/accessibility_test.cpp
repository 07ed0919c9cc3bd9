// What a screen reader finds in the main window: every control that can be
// used has a French name (never an internal control name) and the focusable
// ones a description; the tab strip is a tab list of three tabs and the
// up-down control a spin box whose value is the duration shown beside it.
#include "app/program.h"
#include "mainwin/feuille_p.h"
#include "mainwin/tab_strip.h"
#include "measure/tools_panel.h"
#include "mainwin/image_button.h"
#include "measure/up_down.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
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
                                        QStringLiteral("Démarrer"), QStringLiteral("Arrêter"), QStringLiteral("Ralenti")};
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
    for (const char* expected : {"Ouvrir", "Enregistrer", "Copier", "Imprimer", "Calculatrice", "Aide", "Fermer",
                                 "Corde", "Graphe", "Pause", "Exercices", "Onglet Corde", "Onglet Onde",
                                 "Onglet Outils", "Durée de l'enregistrement", "Fréquence (0,1 Hz à 5 Hz)",
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
    EXPECT_EQ(value->currentValue().toInt(), 4);
    EXPECT_EQ(spin->text(QAccessible::Value), QStringLiteral("10 s"));
    value->setCurrentValue(7);  // a screen reader may set it
    EXPECT_EQ(window.picture1()->labelg()->text(), QStringLiteral("1 min"));
    EXPECT_EQ(spin->text(QAccessible::Value), QStringLiteral("1 min"));
    EXPECT_EQ(value->minimumValue().toInt(), 1);
    EXPECT_EQ(value->maximumValue().toInt(), 10);

    // The pause picture tells its state.
    QAccessibleInterface* pause = QAccessible::queryAccessibleInterface(static_cast<QObject*>(window.command16()));
    ASSERT_NE(pause, nullptr);
    EXPECT_EQ(pause->role(), QAccessible::PushButton);
    const QString first = pause->text(QAccessible::Name);
    program.simulation().command16_Click();
    EXPECT_NE(pause->text(QAccessible::Name), first);
}
