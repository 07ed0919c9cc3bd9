#pragma once
// optionexo, the exercise menu, and the life of the exercise window: the
// menu's commands are run by the window (fichexo.h), created hidden when the
// menu is touched and destroyed when a command unloads it.

#include "exercises/fichexo.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <memory>

class QAction;
class QMenu;

namespace tolvi {

// The exercise menu and the life of the exercise window: lives as long as
// the program.
class ExerciseMenu : public QObject {
    Q_OBJECT
public:
    explicit ExerciseMenu(ExerciseContext context);
    ~ExerciseMenu() override;

    ExerciseContext& context() { return ctx_; }

    // btexo_Click: sets the enabling rules, then pops the menu up at `global`.
    void btexo_Click(const QPoint& global);
    // optionexo_Click: the correction command's rule, as the menu opens.
    void optionexo_Click();
    // Sets both enabling rules (opencor, Closexo).
    void updateEnabled();

    QMenu* optionexo() const { return menu_.get(); }
    QAction* action(const QString& name) const;  // "PRISENMAIN", "opencor", ...

    // The exercise window, loaded (hidden) when needed.
    Fichexo& window();
    bool windowLoaded() const { return window_ != nullptr; }

    // Runs a command of the window, then destroys the window when it unloaded.
    void run(void (Fichexo::*command)());
    // The launcher's request: opens the exercise file at `path`.
    void openRequest(const QString& path);

private:
    void fich_Change();

    ExerciseContext ctx_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<Fichexo> window_;
};

}  // namespace tolvi
