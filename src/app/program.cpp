#include "app/program.h"

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
}

}  // namespace tolvi
