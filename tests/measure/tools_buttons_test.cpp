// The main window's tools as a pupil meets them: the hint line, "Co&pier"
// and its confirmation, the pause image, the edited-text flag, "&Aide" and
// "&Calculatrice".
#include "app/help_command.h"
#include "app/program.h"
#include "calc/machine.h"
#include "mainwin/feuille_p.h"
#include "mainwin/hover_texts.h"
#include "mainwin/image_button.h"
#include "mainwin/perturbation_panel.h"
#include "mainwin/rope_panel.h"
#include "measure/copy_menu.h"
#include "measure/tools_panel.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tolvi;

namespace {
class ToolsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        program.window().setProgramDirectory(dir.path());
        program.window().endProgram = [] {};
        program.window().Form_Load();
    }
    void TearDown() override { program.window().timer1().stop(); }
    FeuilleP& window() { return program.window(); }
    static void hover(QWidget* w)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    // Runs `action` (which opens a menu or a modal window) and meanwhile
    // `inside` on the active popup or modal widget.
    static void whileOpen(const std::function<void()>& action, const std::function<void(QWidget*)>& inside)
    {
        bool ran = false;
        QTimer::singleShot(50, [&] {
            QWidget* w = QApplication::activePopupWidget();
            if (!w)
                w = QApplication::activeModalWidget();
            ran = true;
            inside(w);
        });
        action();
        EXPECT_TRUE(ran);
    }
    CopyMenu* menucop() { return window().findChild<CopyMenu*>(QStringLiteral("menucop")); }

    ScriptedMessages messages;
    Program program{messages, 7};
    QTemporaryDir dir;
};
}  // namespace

TEST_F(ToolsTest, EveryControlWritesItsHintAndTheBareWindowTheGeneralOne)
{
    const QString expected[7] = {
        QStringLiteral("Pour retrouver une situation enregistrée"),
        QStringLiteral("Pour conserver la configuration en cours"),
        QStringLiteral("Copier pour placer l'image dans le presse- papiers puis coller depuis Word, Paint..."),
        QStringLiteral("Pour configurer l'imprimante et imprimer l'image"),
        QStringLiteral("Machine à calculer"),
        QStringLiteral("Si vous rencontrez une difficulté avec cette application"),
        QStringLiteral("Pour retrouver le module principal et quitter cette application"),
    };
    for (int i = 0; i < 7; ++i) {
        hover(window().topButton(i));
        EXPECT_EQ(window().info(), expected[i]) << i;
    }
    hover(window().btexo());
    EXPECT_EQ(window().info(),
              QStringLiteral("Ouvrir un énoncé, enregistrer le texte, obtenir la correction, imprimer ou fermer."));
    window().selectTab(2);
    hover(window().frame2());
    EXPECT_EQ(window().info(),
              QStringLiteral("Définir les caractéristiques de la déformation (durée, amplitude, fréquence...)"));
    window().selectTab(1);
    hover(window().picture3());
    EXPECT_EQ(window().info(), QStringLiteral("Les caractéristiques de la corde sont modifiables"));
    window().selectTab(3);
    hover(window().picture1());
    EXPECT_EQ(window().info(), QStringLiteral("Paramètres du chronomètre et du graphe"));

    window().Form_MouseMove();
    EXPECT_EQ(window().info(),
              QStringLiteral("Vous pouvez modifier les paramètres,\nouvrir une configuration ou un exercice"));
}

TEST_F(ToolsTest, CopyPutsThePictureOnTheClipboardAndTheConfirmationStaysOverCopier)
{
    QToolButton* copier = window().topButton(2);
    ASSERT_NE(menucop(), nullptr);
    // The two picture copies come first (the data commands follow them).
    ASSERT_GE(menucop()->actions().size(), 2);
    EXPECT_EQ(menucop()->actions()[0]->text(), QStringLiteral("Copier l'animation"));
    EXPECT_EQ(menucop()->actions()[1]->text(), QStringLiteral("Copier le graphe"));

    // The rope as it stands after some ticks, through the button and its menu.
    program.simulation().demar_Click();
    program.simulation().advance(0.3);
    whileOpen([&] { copier->click(); },
              [](QWidget* menu) {
                  ASSERT_NE(qobject_cast<QMenu*>(menu), nullptr);
                  qobject_cast<QMenu*>(menu)->actions()[0]->trigger();
                  menu->close();
              });
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              program.simulation().ropeImage().convertToFormat(QImage::Format_RGB32));
    const QString confirmation = QStringLiteral(
        "L'image est copiée : vous pouvez la retrouver depuis toute application Windows (coller)");
    EXPECT_EQ(window().info(), confirmation);
    hover(copier);
    EXPECT_EQ(window().info(), confirmation) << "kept while the mouse is still on Co&pier";
    hover(window().topButton(3));
    EXPECT_EQ(window().info(), hover::command10());
    hover(copier);
    EXPECT_EQ(window().info(), hover::command4());

    // The graph, and a menu closed without a choice: nothing copied, so no
    // confirmation; the clipboard keeps what it had.
    menucop()->Cop002_Click();
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              program.simulation().graphImage().convertToFormat(QImage::Format_RGB32));
    window().setInfo(hover::command10());
    whileOpen([&] { copier->click(); }, [](QWidget* menu) { menu->close(); });
    EXPECT_EQ(window().info(), hover::command10());
    EXPECT_EQ(QApplication::clipboard()->image().size(), program.simulation().graphImage().size());
}

TEST_F(ToolsTest, PauseImageFreezesSimulatedTimeAndResumesWhereItStopped)
{
    Simulation& sim = program.simulation();
    sim.Command3_Click();  // chronometer running
    sim.demar_Click();
    ASSERT_TRUE(sim.timerEnabled());
    QTest::qWait(150);
    emit window().command16()->clicked();
    EXPECT_FALSE(sim.timerEnabled());
    EXPECT_FALSE(window().timer1().isActive());
    const double chrono = sim.state().chrono;
    const QImage rope = sim.ropeImage();
    QTest::qWait(200);
    EXPECT_EQ(sim.state().chrono, chrono);
    EXPECT_EQ(sim.ropeImage(), rope);

    emit window().command16()->clicked();
    EXPECT_TRUE(sim.timerEnabled());
    QTest::qWait(200);
    EXPECT_GT(sim.state().chrono, chrono);
}

TEST_F(ToolsTest, TextMarkedEditedOnlyWhenAnExerciseIsOpen)
{
    program.shared().texteModifie = 0;
    window().ecritIntro();
    window().supertext()->setPlainText(QStringLiteral("Un autre texte"));
    EXPECT_EQ(program.shared().texteModifie, 0);

    window().fich()->setText(QStringLiteral("exo1.E33"));
    window().supertext()->insertPlainText(QStringLiteral("réponse"));
    EXPECT_EQ(program.shared().texteModifie, 1);
    // Emptying the field again does not clear the mark.
    window().fich()->clear();
    window().supertext()->clear();
    EXPECT_EQ(program.shared().texteModifie, 1);
}

TEST_F(ToolsTest, HelpOpensTheShippedPageAndSaysSoWhenItCannot)
{
    HelpCommand help(program.simulation(), messages);
    QList<QUrl> opened;
    bool viewerWorks = true;
    help.openUrl = [&](const QUrl& url) {
        opened << url;
        return viewerWorks;
    };

    // The page beside the program, as the build ships it.
    const QString shipped = QStringLiteral(TOLVI_PROGRAM_DIR "/MEQA.hlp");
    ASSERT_TRUE(QFile::exists(helpPagePath(shipped))) << helpPagePath(shipped).toStdString();
    program.simulation().Command6_Click();  // a graph being recorded
    program.simulation().advance(0.5);
    const QImage graph = program.simulation().graphImage().copy();
    EXPECT_TRUE(help.Command7_Click(shipped));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(helpPagePath(shipped)));
    EXPECT_TRUE(messages.asked().empty());
    EXPECT_EQ(program.simulation().graphImage(), graph);

    // No viewer.
    viewerWorks = false;
    EXPECT_FALSE(help.Command7_Click(shipped));
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].kind, MessageKind::Critical);
    EXPECT_TRUE(messages.asked()[0].text.contains(helpPagePath(shipped)));

    // No page: said, and no viewer started.
    messages.clear();
    opened.clear();
    EXPECT_FALSE(help.Command7_Click(window().helpPath()));
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_TRUE(messages.asked()[0].text.contains(QStringLiteral("introuvable")));
}

TEST_F(ToolsTest, ShippedHelpDescribesTheControlsAndThePhysics)
{
    QFile page(helpPagePath(QStringLiteral(TOLVI_PROGRAM_DIR "/MEQA.hlp")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("lang=\"fr\"")));
    for (const char* word : {"Ouvrir", "Enregistrer", "Copier", "Imprimer", "Calculatrice", "Aide", "Fermer",
                             "Démarrer", "Marche", "Pause", "marqueur", "Outils", "Onde", "Corde",
                             "√", "µ", "λ", "réfléchi", "amortisseur"})
        EXPECT_TRUE(html.contains(QString::fromUtf8(word))) << word;
}

TEST_F(ToolsTest, CalculatorButtonShowsTheCalculatorModally)
{
    bool sawMachine = false;
    whileOpen([&] { window().topButton(4)->click(); },
              [&](QWidget* modal) {
                  sawMachine = qobject_cast<Machine*>(modal) != nullptr;
                  if (modal)
                      modal->close();
              });
    EXPECT_TRUE(sawMachine);

    // Closing the program while it is open closes it too.
    bool closedByUnload = false;
    whileOpen([&] { window().topButton(4)->click(); },
              [&](QWidget*) {
                  window().unloadCalculatorHook();
                  closedByUnload = QApplication::activeModalWidget() == nullptr ||
                                   !qobject_cast<Machine*>(QApplication::activeModalWidget())->isVisible();
              });
    EXPECT_TRUE(closedByUnload);
}
