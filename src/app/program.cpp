#include "app/program.h"

#include "config/open_dialog.h"
#include "config/save_dialog.h"
#include "mainwin/feuille_p.h"

namespace tolvi {

Program::Program(Messages& messages, std::uint32_t seed)
    : messages_(messages), random_(seed), sim_(messages, random_)
{
    window_ = std::make_unique<FeuilleP>(sim_, shared_, messages_);
    connectFeatures();
}

Program::~Program() = default;

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
}

}  // namespace tolvi
