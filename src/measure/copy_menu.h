#pragma once
// menucop, the pop-up menu of "Co&pier": "Copier l'animation" puts the rope
// picture on the clipboard, "Copier le graphe" the time graph, each as it
// stands at that moment. Afterwards the hint line shows messageCopie.

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

    // Pops the menu up at `global`; when it closes, chosen item or not, the
    // confirmation is shown.
    void Command4_Click(const QPoint& global);
    void cop001_Click();
    void Cop002_Click();

private:
    Simulation& sim_;
    std::function<void()> showConfirmation_;
    QAction* cop001_;
    QAction* cop002_;
};

}  // namespace tolvi
