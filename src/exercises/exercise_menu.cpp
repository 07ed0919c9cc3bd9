#include "exercises/exercise_menu.h"

#include "mainwin/feuille_p.h"
#include "mainwin/flag_file.h"
#include "mainwin/shared_state.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>

namespace tolvi {

ExerciseMenu::ExerciseMenu(ExerciseContext context) : ctx_(std::move(context)), menu_(std::make_unique<QMenu>())
{
    menu_->setObjectName(QStringLiteral("optionexo"));
    menu_->setTitle(QStringLiteral("optionexo"));
    // Read aloud as what it is, not by its internal title.
    menu_->setAccessibleName(QStringLiteral("Menu Exercices"));
    struct Item {
        const char* name;
        QString caption;
        void (Fichexo::*command)();
    };
    const Item items[] = {
        {"PRISENMAIN", QStringLiteral("Prise en main"), &Fichexo::PRISENMAIN_Click},
        {"separons1", QString(), nullptr},
        {"openexo", QStringLiteral("Ouvrir un exercice (énoncé + configuration)"), &Fichexo::openexo_Click},
        {"opencor", QStringLiteral("Voir la correction"), &Fichexo::opencor_Click},
        {"separons2", QString(), nullptr},
        {"savetexte", QStringLiteral("Enregistrer le contenu de la fenêtre exercice"), &Fichexo::savetexte_Click},
        {"opentexte", QStringLiteral("Retrouver un texte"), &Fichexo::opentexte_Click},
        {"imprimetexte", QStringLiteral("Imprimer le contenu de la fenêtre exercice"), &Fichexo::imprimetexte_Click},
        {"separons3", QString(), nullptr},
        {"Closexo", QStringLiteral("Fermer l'exercice"), &Fichexo::Closexo_Click},
    };
    for (const Item& item : items) {
        QAction* action = item.command ? menu_->addAction(item.caption) : menu_->addSeparator();
        action->setObjectName(QString::fromLatin1(item.name));
        if (item.command) {
            const auto command = item.command;
            connect(action, &QAction::triggered, this, [this, command] { run(command); });
        }
    }
    connect(menu_.get(), &QMenu::aboutToShow, this, [this] { optionexo_Click(); });

    // fich_Change: the end of a long path stays visible; the whole path is the tooltip.
    QLineEdit* fich = ctx_.main.fich();
    connect(fich, &QLineEdit::textChanged, this, [this] { fich_Change(); });
}

ExerciseMenu::~ExerciseMenu() = default;

void ExerciseMenu::fich_Change()
{
    QLineEdit* fich = ctx_.main.fich();
    fich->setCursorPosition(static_cast<int>(fich->text().size()));
    fich->setToolTip(fich->text());
}

QAction* ExerciseMenu::action(const QString& name) const
{
    for (QAction* a : menu_->actions())
        if (a->objectName() == name)
            return a;
    return nullptr;
}

void ExerciseMenu::optionexo_Click()
{
    action(QStringLiteral("opencor"))->setEnabled(ctx_.shared.exoOuvert == 1);
}

void ExerciseMenu::updateEnabled()
{
    optionexo_Click();
    action(QStringLiteral("Closexo"))->setEnabled(!ctx_.main.fich()->text().isEmpty());
}

void ExerciseMenu::btexo_Click(const QPoint& global)
{
    updateEnabled();
    window();
    menu_->popup(global);
}

Fichexo& ExerciseMenu::window()
{
    if (!window_) {
        window_ = std::make_unique<Fichexo>(ctx_, &ctx_.main);
        window_->setWindowFlag(Qt::Window);
        window_->Form_Load();
    }
    return *window_;
}

void ExerciseMenu::run(void (Fichexo::*command)())
{
    Fichexo& w = window();
    (w.*command)();
    if (window_ && window_->unloaded())
        window_.reset();
}

void ExerciseMenu::openRequest(const QString& path)
{
    Fichexo& w = window();
    w.fichierexo()->setText(path);
    // The exercise's own folder: the names it holds are beside it.
    ctx_.shared.cheminExo = withSlash(QFileInfo(path).absolutePath());
    run(&Fichexo::ouvreur_Click);
}

}  // namespace tolvi
