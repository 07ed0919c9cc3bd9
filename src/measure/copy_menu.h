#pragma once
// menucop, the pop-up menu of "Co&pier": "Copier l'animation" puts the rope
// picture on the clipboard, "Copier le graphe" the time graph, each as it
// stands at that moment. After such a copy the hint line shows messageCopie
// (a menu closed without a choice copied nothing and says nothing). Under
// them, the data commands (values and profile as text or CSV, pictures as
// PNG, the values table), which write their own confirmation.

#include <QMenu>
#include <functional>

namespace tolvi {
class Simulation;

class CopyMenu : public QMenu {
    Q_OBJECT
public:
    // `showConfirmation` writes messageCopie into the hint line.
    CopyMenu(Simulation& sim, std::function<void()> showConfirmation, QWidget* parent = nullptr);

    QAction* cop001() const { return cop001_; }
    QAction* cop002() const { return cop002_; }

    // Adds the data commands under the two copies, after a separator.
    void addDataActions(const QList<QAction*>& actions);

    // Pops the menu up at `global`; when it closes on one of the two picture
    // copies, the confirmation is shown.
    void Command4_Click(const QPoint& global);
    void cop001_Click();
    void Cop002_Click();

private:
    Simulation& sim_;
    std::function<void()> showConfirmation_;
    QAction* cop001_;
    QAction* cop002_;
    QList<QAction*> data_;
    bool copied_ = false;  // a picture was copied while the menu was open
};

}  // namespace tolvi
