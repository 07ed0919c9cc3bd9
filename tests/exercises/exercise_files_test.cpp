// The files an exercise names, as a pupil's USB stick may hold them: FIFOs
// are refused without blocking, names never climb out of the exercise's
// folder, huge texts are refused from their first bytes.
#include "app/program.h"
#include "config/config_codec.h"
#include "config/config_loader.h"
#include "exercises/exercise_file.h"
#include "exercises/exercise_menu.h"
#include "exercises/rtf_file.h"
#include "exercises/rtf_writer.h"
#include "mainwin/feuille_p.h"

#include "fifo_guard.h"
#include "same_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace tolvi;

namespace {

class ExerciseFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(top.isValid());
        folder = top.path() + QStringLiteral("/cle/exos/");
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(QDir().mkpath(top.path() + QStringLiteral("/outside")));
        program.window().setProgramDirectory(QStringLiteral(TOLVI_PROGRAM_DIR));
        program.window().Form_Load();
        clock.start();
    }
    void TearDown() override
    {
        program.window().timer1().stop();
        EXPECT_LT(clock.elapsed(), 1000);
    }

    ExerciseMenu& menu() { return program.exercises(); }
    QString text() { return program.window().supertext()->toPlainText(); }
    QString fich() { return program.window().fich()->text(); }
    int farEnd() { return program.simulation().state().typeBout; }

    void writeText(const QString& path, const QString& content)
    {
        QTextDocument doc;
        doc.setPlainText(content);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(writeRtf(doc));
    }
    void writeConfig(const QString& path, int end)
    {
        ConfigRecords config;
        config.farEnd = {end == 0, end == 1, end == 2};
        ASSERT_TRUE(saveConfig(path, config).ok());
    }
    // A sparse file of `size` bytes beginning with `start`.
    void writeLarge(const QString& path, const QByteArray& start, qint64 size)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(start), start.size());
        ASSERT_TRUE(file.resize(size));
    }
    QString exercise(const QString& statement, const QString& configuration, const QString& correction = {},
                     const QString& correctionConfiguration = {})
    {
        ExerciseRecords r;
        r.statement = statement;
        r.configuration = configuration;
        r.correction = correction;
        r.correctionConfiguration = correctionConfiguration;
        const QString path = folder + QStringLiteral("EXO.E33");
        EXPECT_TRUE(saveExercise(path, r).ok());
        return path;
    }
    // The titles of the messages shown, in order.
    QStringList titles() const
    {
        QStringList t;
        for (const auto& a : messages.asked())
            t << a.title;
        return t;
    }

    ScriptedMessages messages;
    Program program{messages, 1};
    QTemporaryDir top;
    QString folder;
    QElapsedTimer clock;
};

}  // namespace

TEST_F(ExerciseFiles, FifosNamedByAnExerciseAreRefusedWithTheUsualMessages)
{
    TOLVI_NEEDS_FIFOS();
    writeText(folder + QStringLiteral("ENONCE.RTF"), QStringLiteral("Énoncé"));
    writeConfig(folder + QStringLiteral("ENONCE.P15"), 1);
    const FifoGuard config(folder + QStringLiteral("TUBE.P15"));
    const FifoGuard statement(folder + QStringLiteral("TUBE.RTF"));
    const FifoGuard whole(folder + QStringLiteral("TUBE.E33"));
    ASSERT_TRUE(config.made() && statement.made() && whole.made());

    // A configuration that is a FIFO: as the open dialog refuses it; the
    // statement is there and the simulator's settings are kept.
    const QString path = exercise(QStringLiteral("ENONCE.RTF"), QStringLiteral("tube.p15"));
    const int endBefore = farEnd();
    menu().openRequest(path);
    EXPECT_EQ(titles(), QStringList{kOpenRefusedTitle});
    EXPECT_EQ(messages.asked().back().text, kOpenRefusedText);
    EXPECT_EQ(fich(), path);
    EXPECT_EQ(text(), QStringLiteral("Énoncé"));
    EXPECT_FALSE(program.window().windowTitle().contains(QStringLiteral("TUBE")));
    EXPECT_EQ(farEnd(), endBefore);

    // Its correction names FIFOs too: the text is "absent", the configuration refused.
    messages.clear();
    exercise(QStringLiteral("ENONCE.RTF"), QStringLiteral("ENONCE.P15"), QStringLiteral("TUBE.RTF"));
    program.shared().exoOuvert = 1;
    menu().run(&Fichexo::opencor_Click);
    EXPECT_EQ(titles(), QStringList{exofile::kMissingTitle});
    messages.clear();
    exercise(QStringLiteral("ENONCE.RTF"), QStringLiteral("ENONCE.P15"), QString(), QStringLiteral("TUBE.P15"));
    menu().run(&Fichexo::opencor_Click);
    EXPECT_EQ(titles(), QStringList{kOpenRefusedTitle});

    // A statement that is a FIFO: "Fichier absent", nothing else changes.
    messages.clear();
    program.window().fich()->clear();
    menu().openRequest(exercise(QStringLiteral("TUBE.RTF"), QStringLiteral("ENONCE.P15")));
    EXPECT_EQ(titles(), QStringList{exofile::kMissingTitle});
    EXPECT_EQ(messages.asked().back().text, exofile::missingText(folder + QStringLiteral("TUBE.RTF")));
    EXPECT_TRUE(fich().isEmpty());
    EXPECT_EQ(text(), QStringLiteral("Énoncé"));

    // The exercise file itself: "Lecture impossible".
    messages.clear();
    menu().openRequest(folder + QStringLiteral("TUBE.E33"));
    EXPECT_EQ(titles(), QStringList{exofile::kReadErrorTitle});
    EXPECT_TRUE(fich().isEmpty());

    EXPECT_FALSE(config.rescued() || statement.rescued() || whole.rescued());
}

TEST_F(ExerciseFiles, NamesThatClimbOutOfTheFolderAreTakenBesideTheExercise)
{
    const QString outside = top.path() + QStringLiteral("/outside/");
    writeText(outside + QStringLiteral("SECRET.RTF"), QStringLiteral("Secret"));
    writeConfig(outside + QStringLiteral("OUT.P15"), 2);
    const QString path =
        exercise(QStringLiteral("../../outside/SECRET.RTF"), QStringLiteral("..\\..\\outside\\OUT.P15"));

    // Nothing beside it: the statement is missing, the outside one is not read.
    menu().openRequest(path);
    EXPECT_EQ(titles(), QStringList{exofile::kMissingTitle});
    EXPECT_NE(text(), QStringLiteral("Secret"));

    // Files of those names beside the exercise, letter case ignored.
    messages.clear();
    writeText(folder + QStringLiteral("Secret.rtf"), QStringLiteral("À côté"));
    writeConfig(folder + QStringLiteral("out.p15"), 1);
    menu().openRequest(path);
    EXPECT_TRUE(messages.asked().empty());
    EXPECT_EQ(text(), QStringLiteral("À côté"));
    EXPECT_SAME_FILE(program.shared().cheminConfig, folder + QStringLiteral("out.p15"));
    EXPECT_EQ(farEnd(), 1);
}

TEST_F(ExerciseFiles, HugeTextsAreRefusedAndTheTextShownIsKept)
{
    constexpr qint64 k100Mo = qint64(100) << 20;
    writeLarge(folder + QStringLiteral("GROS.RTF"), "{\\rtf1\\ansi Bonjour", k100Mo);
    writeLarge(folder + QStringLiteral("GROS.BIN"), "\x7f" "ELF", k100Mo);
    const QString shown = text();
    ASSERT_FALSE(shown.isEmpty());  // the introduction

    // As a statement: the size is told, the exercise is not opened.
    menu().openRequest(exercise(QStringLiteral("gros.rtf"), QString()));
    ASSERT_EQ(titles(), QStringList{rtffile::kTooLargeTitle});
    EXPECT_SAME_FILE(messages.asked().back().text, rtffile::tooLargeText(folder + QStringLiteral("GROS.RTF"), k100Mo));
    EXPECT_EQ(text(), shown);
    EXPECT_TRUE(fich().isEmpty());

    // As a text to open: refused the same way; a file that is not RTF gets
    // the command's read error. The text shown stays.
    const auto openText = [this](const QString& name) {
        messages.clear();
        menu().context().dialogs.openText = [this, name](QWidget*) -> std::optional<QString> { return folder + name; };
        menu().run(&Fichexo::opentexte_Click);
    };
    openText(QStringLiteral("GROS.RTF"));
    EXPECT_EQ(titles(), QStringList{rtffile::kTooLargeTitle});
    EXPECT_EQ(text(), shown);
    openText(QStringLiteral("GROS.BIN"));
    EXPECT_EQ(titles(), QStringList{exotext::kTextReadErrorTitle});
    EXPECT_EQ(text(), shown);
}
