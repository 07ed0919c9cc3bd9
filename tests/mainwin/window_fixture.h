#pragma once
// A main window over a fresh simulation, its program folder a temporary one.

#include "mainwin/feuille_p.h"
#include "mainwin/perturbation_panel.h"
#include "mainwin/rope_panel.h"
#include "mainwin/shared_state.h"
#include "mainwin/tab_strip.h"
#include "measure/tools_panel.h"
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

QT_BEGIN_NAMESPACE
// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tolvi::testing {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        window = std::make_unique<FeuilleP>(sim, shared, messages);
        window->setProgramDirectory(dir.path());
        window->endProgram = [this] { ++programEnded; };
    }
    void TearDown() override
    {
        window->timer1().stop();
        window.reset();
    }
    QString flagPath() const { return dir.path() + QStringLiteral("/TEMPQA.TMP"); }

    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
    SharedState shared;
    QTemporaryDir dir;
    std::unique_ptr<FeuilleP> window;
    int programEnded = 0;
};

}  // namespace tolvi::testing
