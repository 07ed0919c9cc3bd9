#include "app/program.h"

#include "config/config_loader.h"
#include "config/open_dialog.h"
#include "config/save_dialog.h"
#include "exercises/exercise_menu.h"
#include "mainwin/feuille_p.h"
#include "mainwin/zoom_commands.h"
#include "app/help_command.h"
#include "calc/machine.h"
#include "measure/confimp.h"
#include "measure/data_exports.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "measure/copy_menu.h"

#include <QCursor>
#include <QPointer>

namespace tolvi {

Program::Program(Messages& messages, std::uint32_t seed)
    : messages_(messages), random_(seed), sim_(messages, random_)
{
    window_ = std::make_unique<FeuilleP>(sim_, shared_, messages_);
    connectFeatures();
}

Program::~Program() = default;

void Program::showWindow()
{
    zoom_->show();
}

void Program::connectFeatures()
{
    const auto setTitle = [this](const QString& title) { window_->setWindowTitle(title); };
    window_->openConfigurationHook = [this, setTitle] {
        OpenDialog dialog(sim_, shared_, messages_, setTitle, window_.get());
        dialog.exec();
    };
    window_->saveConfigurationHook = [this, setTitle] {
        SaveDialog dialog(sim_, shared_, messages_, setTitle, window_.get());
        dialog.exec();
    };

    // Exercises: the menu under btexo, the launcher's request, and the
    // configurations they name, loaded as "&Ouvrir" loads one.
    ConfigLoadHooks exerciseLoad;
    exerciseLoad.setTitle = setTitle;
    exercises_ = std::make_unique<ExerciseMenu>(ExerciseContext{
        *window_, shared_, messages_,
        [this, exerciseLoad] { chargeConfig(sim_, messages_, shared_.cheminConfig, exerciseLoad); }, {}});
    window_->exerciseMenuHook = [this](const QPoint& global) { exercises_->btexo_Click(global); };
    window_->openExerciseRequest = [this](const QString& path) { exercises_->openRequest(path); };

    // Tools: calculator, copy, printing and help.
    auto calculator = std::make_shared<QPointer<Machine>>();
    window_->calculatorHook = [this, calculator] {
        Machine machine(window_.get());
        *calculator = &machine;
        machine.exec();
    };
    window_->unloadCalculatorHook = [calculator] {
        if (*calculator)
            (*calculator)->reject();
    };
    auto* menucop = new CopyMenu(sim_, [this] { window_->setInfo(shared_.messageCopie); }, window_.get());
    window_->copyHook = [menucop] { menucop->Command4_Click(QCursor::pos()); };
    auto* exports = new DataExports(
        sim_, messages_, window_.get(), [this](const QString& text) { window_->setInfo(text); },
        [this] { return shared_.messageCopie; });
    menucop->addDataActions(exports->copyMenuActions());
    window_->animpic()->setExportActions(exports->ropeActions());
    window_->picture2()->setExportActions(exports->graphActions());
    window_->addActions(exports->shortcutActions());
    window_->printHook = [this] {
        Confimp confimp(PrintPictures{[this](double scale) { return sim_.ropeImage(scale); },
                                      [this](double scale) { return sim_.graphImage(scale); }},
                        messages_, window_.get());
        confimp.setValues([this] { return ValuesTable(sim_.graph().points()); });
        confimp.exec();
    };
    zoom_ = new ZoomCommands(*window_);
    auto help = std::make_shared<HelpCommand>(sim_, messages_);
    window_->helpHook = [help](const QString& helpFile) { help->Command7_Click(helpFile); };
}

}  // namespace tolvi
