// "tolvi FILE": what the file manager asks when the user opens a
// configuration or an exercise with Tolvi.
#include "app/open_arguments.h"
#include "app/program.h"
#include "config/config_loader.h"
#include "mainwin/feuille_p.h"
#include "exercises/exercise_file.h"
#include "platform/messages.h"

#include "fifo_guard.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace tolvi;

namespace {
class OpenArguments : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        program.window().setProgramDirectory(dir.path());
    }

    ScriptedMessages messages;
    Program program{messages, 1};
    QTemporaryDir dir;
};

const QString kData = QStringLiteral(TOLVI_PROGRAM_DIR "/");
}  // namespace

TEST(OpenArgumentsKind, ExtensionDecidesWhateverItsCase)
{
    EXPECT_EQ(fileKind(QStringLiteral("/a/CELERITE.E33")), FileKind::Exercise);
    EXPECT_EQ(fileKind(QStringLiteral("celerite.e33")), FileKind::Exercise);
    EXPECT_EQ(fileKind(QStringLiteral("/x/TOLVI.PEM")), FileKind::Exercise);
    EXPECT_EQ(fileKind(QStringLiteral("essai.P15")), FileKind::Configuration);
    EXPECT_EQ(fileKind(QStringLiteral("essai.p15")), FileKind::Configuration);
    // Anything else goes to the loader, which refuses what is not a configuration.
    EXPECT_EQ(fileKind(QStringLiteral("e33")), FileKind::Configuration);
    EXPECT_EQ(fileKind(QStringLiteral("/dossier.E33/essai")), FileKind::Configuration);
}

TEST_F(OpenArguments, ConfigurationLoadsAsTheOpenDialogDoes)
{
    const QString path = dir.filePath(QStringLiteral("essai.p15"));
    ASSERT_TRUE(QFile::copy(kData + QStringLiteral("TENSION.P15"), path));
    // A relative name, as typed in a terminal.
    const QString kept = QDir::currentPath();
    QDir::setCurrent(dir.path());
    openFromCommandLine(program, QStringLiteral("essai.p15"));
    QDir::setCurrent(kept);

    EXPECT_TRUE(messages.asked().empty());
    EXPECT_EQ(program.shared().cheminConfig, path);
    EXPECT_EQ(program.window().windowTitle(), configTitle(path));
    EXPECT_TRUE(program.simulation().controls().recording);
}

TEST_F(OpenArguments, MissingOrForeignConfigurationIsRefusedWithTheDialogsMessages)
{
    openFromCommandLine(program, dir.filePath(QStringLiteral("absent.P15")));
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].title, kOpenRefusedTitle);
    EXPECT_EQ(messages.asked()[0].kind, MessageKind::Critical);

    messages.clear();
    openFromCommandLine(program, kData + QStringLiteral("TENSION.RTF"));
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].kind, MessageKind::Critical);
    EXPECT_FALSE(program.window().windowTitle().contains(QStringLiteral("TENSION")));
}

TEST_F(OpenArguments, ExerciseOpensAsTheLaunchersRequestDoes)
{
    const QString path = kData + QStringLiteral("CELERITE.E33");
    openFromCommandLine(program, path);
    EXPECT_TRUE(messages.asked().empty());
    EXPECT_EQ(program.window().fich()->text(), path);
    EXPECT_EQ(program.shared().cheminExo, kData);
    EXPECT_EQ(program.shared().exoOuvert, 1);
    EXPECT_FALSE(program.window().supertext()->toPlainText().trimmed().isEmpty());
    EXPECT_EQ(program.window().windowTitle(), configTitle(kData + QStringLiteral("CELERITE.P15")));
}

TEST_F(OpenArguments, FifosAreRefusedWithoutBlocking)
{
    TOLVI_NEEDS_FIFOS();
    const FifoGuard exercise(dir.filePath(QStringLiteral("tube.E33")));
    const FifoGuard configuration(dir.filePath(QStringLiteral("tube.P15")));
    ASSERT_TRUE(exercise.made() && configuration.made());
    QElapsedTimer clock;
    clock.start();

    openFromCommandLine(program, dir.filePath(QStringLiteral("tube.E33")));
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].title, exofile::kReadErrorTitle);
    EXPECT_TRUE(program.window().fich()->text().isEmpty());

    messages.clear();
    openFromCommandLine(program, dir.filePath(QStringLiteral("tube.P15")));
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].title, kOpenRefusedTitle);
    EXPECT_EQ(messages.asked()[0].text, kOpenRefusedText);
    EXPECT_FALSE(program.window().windowTitle().contains(QStringLiteral("tube")));

    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(exercise.rescued() || configuration.rescued());
}
