#pragma once
// A whole program run in the test's process, in folders of its own: the
// current folder a temporary one (restored afterwards), the program folder a
// copy of the shipped data, its messages scripted.

#include "app/program.h"
#include "app/program_folder.h"
#include "mainwin/feuille_p.h"
#include "platform/messages.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>

namespace tolvi::testing {

class ProgramTest : public ::testing::Test {
protected:
    // `seed` makes the program's random choices repeatable.
    explicit ProgramTest(std::uint32_t seed) : program{messages, seed} {}

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        ASSERT_TRUE(programFolder.isValid());
        window().setProgramDirectory(programFolder.path());
        window().endProgram = [] {};
    }
    void TearDown() override
    {
        window().timer1().stop();
        window().hide();
        QDir::setCurrent(previousDir);
    }
    FeuilleP& window() { return program.window(); }

    ProgramFolder programFolder;
    ScriptedMessages messages;
    Program program;
    QTemporaryDir dir;
    QString previousDir;
};

}  // namespace tolvi::testing
