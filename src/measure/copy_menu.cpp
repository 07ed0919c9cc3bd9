#include "measure/copy_menu.h"

#include "measure/clipboard.h"
#include "sim/simulation.h"

namespace tolvi {

CopyMenu::CopyMenu(Simulation& sim, std::function<void()> showConfirmation, QWidget* parent)
    : QMenu(parent), sim_(sim), showConfirmation_(std::move(showConfirmation))
{
    setObjectName(QStringLiteral("menucop"));
    cop001_ = addAction(QStringLiteral("Copier l'animation"), this, &CopyMenu::cop001_Click);
    cop001_->setObjectName(QStringLiteral("cop001"));
    cop002_ = addAction(QStringLiteral("Copier le graphe"), this, &CopyMenu::Cop002_Click);
    cop002_->setObjectName(QStringLiteral("Cop002"));
}

void CopyMenu::addDataActions(const QList<QAction*>& actions)
{
    if (actions.isEmpty())
        return;
    setToolTipsVisible(true);
    addSeparator();
    addActions(actions);
    data_ += actions;
}

void CopyMenu::Command4_Click(const QPoint& global)
{
    copied_ = false;
    exec(global);
    // Only a picture copy is confirmed: a data command has written what it
    // did, and a menu left without a choice copied nothing.
    if (copied_ && showConfirmation_)
        showConfirmation_();
}

void CopyMenu::cop001_Click()
{
    copyImageToClipboard(sim_.ropeImage());
    copied_ = true;
}

void CopyMenu::Cop002_Click()
{
    copyImageToClipboard(sim_.graphImage());
    copied_ = true;
}

}  // namespace tolvi
