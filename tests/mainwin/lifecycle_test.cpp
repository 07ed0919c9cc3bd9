#include "config/record_file.h"
#include "mainwin/hover_texts.h"
#include "window_fixture.h"

#include <QFile>
#include <QLabel>
#include <QTest>
#include <QToolButton>

using namespace tolvi;
using tolvi::testing::WindowTest;

namespace {

QString record(const QString& path, int n)
{
    const RecordText r = readRecord(path, n);
    EXPECT_TRUE(r.ok() || r.status.error == RecordError::Missing) << r.status.message.toStdString();
    return r.text;
}

}  // namespace

TEST_F(WindowTest, FlagFileSaysOuiWhileRunningAndNonAfter)
{
    ASSERT_FALSE(QFile::exists(flagPath()));
    // The launcher's other records are left alone.
    ASSERT_TRUE(writeRecord(flagPath(), 2, QStringLiteral("AUTRE")).ok());

    window->Form_Load();
    EXPECT_EQ(record(flagPath(), 3), QStringLiteral("OUI"));
    window->Form_Activate();
    EXPECT_EQ(record(flagPath(), 3), QStringLiteral("OUI"));
    EXPECT_EQ(record(flagPath(), 31), QString());
    EXPECT_EQ(QFile(flagPath()).size(), 31 * 128);

    window->Form_Unload();
    EXPECT_EQ(record(flagPath(), 3), QStringLiteral("NON"));
    EXPECT_EQ(record(flagPath(), 2), QStringLiteral("AUTRE"));
    EXPECT_TRUE(messages.asked().empty());  // unloading asks nothing
}

TEST_F(WindowTest, FlagFileSaysOuiWhileAnyWindowOfTheFolderRuns)
{
    // A second window started from the same program folder.
    FeuilleP second(sim, shared, messages);
    second.setProgramDirectory(dir.path());
    window->Form_Load();
    second.Form_Load();
    EXPECT_EQ(record(flagPath(), 3), QStringLiteral("OUI"));
    window->Form_Unload();
    EXPECT_EQ(record(flagPath(), 3), QStringLiteral("OUI"));
    // A third one comes and goes while the second runs.
    {
        FeuilleP third(sim, shared, messages);
        third.setProgramDirectory(dir.path());
        third.Form_Load();
        third.Form_Unload();
        third.timer1().stop();
    }
    EXPECT_EQ(record(flagPath(), 3), QStringLiteral("OUI"));
    second.Form_Unload();
    second.timer1().stop();
    EXPECT_EQ(record(flagPath(), 3), QStringLiteral("NON"));
}

TEST_F(WindowTest, LauncherRequestIsServedOnceAndCleared)
{
    QStringList opened;
    window->openExerciseRequest = [&](const QString& path) { opened << path; };
    window->Form_Load();

    ASSERT_TRUE(writeRecord(flagPath(), 31, QStringLiteral("   ")).ok());
    window->Form_Activate();
    EXPECT_TRUE(opened.isEmpty());  // blanks only: nothing, but cleared
    EXPECT_EQ(record(flagPath(), 31), QString());
    EXPECT_EQ(shared.exoOuvert, 0);

    ASSERT_TRUE(writeRecord(flagPath(), 31, QStringLiteral("ONDES.E33  ")).ok());
    window->Form_Activate();
    const QString folder = dir.path() + QLatin1Char('/');
    EXPECT_EQ(opened, QStringList{folder + QStringLiteral("ONDES.E33")});
    EXPECT_EQ(shared.cheminExo, folder);
    EXPECT_EQ(shared.exoOuvert, 1);
    EXPECT_EQ(record(flagPath(), 31), QString());

    window->Form_Activate();  // the next activation finds nothing
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(WindowTest, RequestWithoutExerciseWindowIsClearedAllTheSame)
{
    window->Form_Load();
    ASSERT_TRUE(writeRecord(flagPath(), 31, QStringLiteral("ONDES.E33")).ok());
    window->Form_Activate();
    EXPECT_EQ(record(flagPath(), 31), QString());
    EXPECT_EQ(shared.exoOuvert, 0);
}

TEST_F(WindowTest, ActivationReReadsTheParametersAndClearsTheReadouts)
{
    window->Form_Load();
    sim.setTextfreq(TfAmplitude, QStringLiteral("30"));
    sim.setTextfreq(TfTension, QStringLiteral("0,9"));
    window->label1()->setText(QStringLiteral("x"));
    window->Form_Activate();
    EXPECT_FLOAT_EQ(sim.state().demiAmplitude, 15.0f);
    EXPECT_NEAR(sim.state().celerite, 3.0, 1e-6);
    EXPECT_TRUE(window->label1()->text().isEmpty());
}

TEST_F(WindowTest, CloseQuestionsInTurnAndCancelKeepsTheProgram)
{
    window->Form_Load();
    int cancel = 0;

    // Text edited: Cancel at the first question, the second is not asked.
    shared.texteModifie = 1;
    messages.script(Answer::Cancel);
    window->Form_QueryUnload(cancel);
    EXPECT_EQ(cancel, 1);
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].kind, MessageKind::QuestionOkCancel);
    EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Abandon des données?"));
    EXPECT_EQ(messages.asked()[0].text, QStringLiteral("Attention: perte des modifications du texte."));

    // OK to the first, Cancel to the second.
    messages.clear();
    cancel = 0;
    messages.script(Answer::Ok);
    messages.script(Answer::Cancel);
    window->Form_QueryUnload(cancel);
    EXPECT_EQ(cancel, 1);
    ASSERT_EQ(messages.asked().size(), 2u);
    EXPECT_EQ(messages.asked()[1].kind, MessageKind::QuestionOkCancel);
    EXPECT_EQ(messages.asked()[1].title, QStringLiteral("Fermer"));
    EXPECT_EQ(messages.asked()[1].text, QStringLiteral("Quitter vraiment Tolvi ?"));

    // Nothing edited: only the second question.
    messages.clear();
    cancel = 0;
    shared.texteModifie = 0;
    messages.script(Answer::Ok);
    window->Form_QueryUnload(cancel);
    EXPECT_EQ(cancel, 0);
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Fermer"));
}

TEST_F(WindowTest, FermerAndTheCloseBoxAskTheSameAndEndTheProgramOnOk)
{
    int calculatorUnloaded = 0;
    window->unloadCalculatorHook = [&] { ++calculatorUnloaded; };
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

    messages.script(Answer::Cancel);
    window->topButton(6)->click();  // "&Fermer"
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(record(flagPath(), 3), QStringLiteral("OUI"));
    EXPECT_EQ(programEnded, 0);

    messages.script(Answer::Cancel);
    window->close();  // the close box
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(messages.asked().size(), 2u);
    EXPECT_EQ(messages.asked()[0].text, messages.asked()[1].text);

    messages.script(Answer::Ok);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(programEnded, 1);
    EXPECT_EQ(calculatorUnloaded, 1);
    EXPECT_EQ(record(flagPath(), 3), QStringLiteral("NON"));
    EXPECT_FALSE(window->timer1().isActive());
}

TEST_F(WindowTest, StartUpShowsASolitaryWaveReadyAndTheGeneralHint)
{
    window->Form_Load();
    EXPECT_EQ(sim.state().typeOnde, OndeSolitaire);
    EXPECT_EQ(window->demar()->text(), QStringLiteral("Démarrer"));
    EXPECT_EQ(sim.state().marqueBleue, 300);
    EXPECT_EQ(sim.state().marqueRouge, 425);
    EXPECT_EQ(sim.durationIndex(), 4);
    EXPECT_EQ(sim.state().dureeGraphe, 10);
    EXPECT_EQ(window->info(), QStringLiteral("Vous pouvez modifier les paramètres,\nouvrir une configuration ou un exercice"));
    EXPECT_EQ(shared.messageCopie,
              QStringLiteral("L'image est copiée : vous pouvez la retrouver depuis toute application Windows (coller)"));
    EXPECT_EQ(window->currentTab(), 1);
    EXPECT_TRUE(window->timer1().isActive());
    EXPECT_EQ(window->timer1().timerType(), Qt::PreciseTimer);
}
