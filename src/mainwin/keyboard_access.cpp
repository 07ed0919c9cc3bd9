#include "mainwin/keyboard_access.h"

#include "mainwin/feuille_p.h"
#include "mainwin/focus_marks.h"
#include "mainwin/hover_texts.h"
#include "mainwin/image_button.h"
#include "mainwin/pacing_controls.h"
#include "mainwin/param_box.h"
#include "mainwin/perturbation_panel.h"
#include "mainwin/rope_panel.h"
#include "mainwin/tab_strip.h"
#include "measure/chronometer_controls.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "measure/tools_panel.h"
#include "measure/up_down.h"
#include "sim/sim_state.h"
#include "sim/simulation.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>
#include <vector>

namespace tolvi {

namespace {

void describe(QWidget* widget, const QString& name, const QString& description)
{
    if (!name.isEmpty())
        widget->setAccessibleName(name);
    if (!description.isEmpty())
        widget->setAccessibleDescription(description);
}

// The focusable controls of a panel, in reading order: row by row from the
// top, and from left to right along a row.
void appendPanel(std::vector<QWidget*>& chain, QWidget* panel)
{
    std::vector<QWidget*> controls;
    for (QObject* child : panel->children())
        if (auto* widget = qobject_cast<QWidget*>(child); widget && (widget->focusPolicy() & Qt::TabFocus))
            controls.push_back(widget);
    std::stable_sort(controls.begin(), controls.end(), [](const QWidget* a, const QWidget* b) {
        const QRect ra = a->geometry();
        const QRect rb = b->geometry();
        // Controls whose rows overlap read as one row.
        const bool sameRow = ra.top() < rb.bottom() && rb.top() < ra.bottom();
        if (!sameRow)
            return ra.top() < rb.top();
        return ra.left() < rb.left();
    });
    chain.insert(chain.end(), controls.begin(), controls.end());
}

}  // namespace

namespace {

// The main window reads as a window with its title (a plain widget would
// read as a filler, named "Tolvi" and nothing else).
QAccessibleInterface* windowAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("tolvi::FeuilleP") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

}  // namespace

void nameControls(FeuilleP& w)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(windowAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    static QString (*const hints[7])() = {hover::command2, hover::command11, hover::command4, hover::command10,
                                          hover::command8, hover::command7,  hover::command1};
    for (int i = 0; i < 7; ++i) {
        QToolButton* button = w.topButton(i);
        QString name = button->text();
        name.remove(QLatin1Char('&'));
        // Two buttons read "Enregistrer": each says what it records.
        if (i == 1)
            name = QStringLiteral("Enregistrer la configuration");
        describe(button, name, button->toolTip() + QStringLiteral(" : ") + hints[i]());
    }

    // Buttons whose caption is their state keep the caption as their name.
    describe(w.demar(), {}, w.demar()->toolTip());
    describe(w.command16(), QStringLiteral("Pause"),
             QStringLiteral("Suspendre ou reprendre l'animation de la corde"));
    describe(w.chronometer()->command5(), QStringLiteral("Remise à zéro du chronomètre"),
             w.chronometer()->command5()->toolTip());
    describe(w.chronometer()->command3(), {}, w.chronometer()->command3()->toolTip());
    describe(w.chronometer()->label4(), {}, QStringLiteral("Chronomètre"));
    describe(w.command6(), {}, w.command6()->toolTip());
    describe(w.label1(), {}, QStringLiteral("Position du curseur sur la corde ou sur le graphe"));
    describe(w.infoLabel(), {}, QStringLiteral("Ligne d'aide"));

    describe(w.onglets(), QStringLiteral("Onglets de réglage"),
             QStringLiteral("Corde, Onde, Outils : flèches gauche et droite, ou Ctrl+Tab, Ctrl+1, Ctrl+2, Ctrl+3"));

    RopePanel* rope = w.picture3();
    describe(rope, QStringLiteral("Corde"), hover::picture3());
    describe(rope->textfreq(TfMasse), QStringLiteral("Masse linéïque (50 à 500 g · m-1)"), hover::picture3());
    describe(rope->textfreq(TfTension), QStringLiteral("Tension de la corde (0,1 N à 10 N)"), hover::picture3());
    for (int i = 0; i < 3; ++i)
        describe(rope->optbout(i), {}, hover::picture3());

    PerturbationPanel* wave = w.frame2();
    describe(wave, QStringLiteral("Onde"), hover::frame2());
    describe(wave->textfreq(TfAmplitude), QStringLiteral("Amplitude de la déformation (1 cm à 40 cm)"),
             hover::frame2());
    describe(wave->textfreq(TfDuree), QStringLiteral("Durée de la déformation (100 ms à 1 000 ms)"),
             hover::frame2());
    describe(wave->textfreq(TfFrequence), QStringLiteral("Fréquence (0,1 Hz à 5 Hz)"), hover::frame2());
    describe(wave->checksi(), {}, hover::frame2());
    for (int i = 0; i < 3; ++i)
        describe(wave->optpert(i), {}, hover::frame2());

    ToolsPanel* tools = w.picture1();
    describe(tools, QStringLiteral("Outils"), hover::picture1());
    describe(tools->check1(), {}, hover::picture1());
    describe(tools->check2(), {}, hover::picture1());
    // Read as a duration: its seconds, with the unit, never the step's rank.
    describe(tools->upDown1(), QStringLiteral("Durée de l'enregistrement en secondes"),
             QStringLiteral("Flèches haut et bas, page précédente et page suivante : choisir la durée du graphe"));
    tools->upDown1()->setSpokenQuantity([](int index) { return double(Simulation::durationSeconds(index)); });
    tools->upDown1()->setValueText(
        [](int index) { return QStringLiteral("%1 s").arg(Simulation::durationSeconds(index)); });
    describe(tools->labelg(), {}, QStringLiteral("Durée de l'enregistrement"));
    describe(tools->labeli(0), {}, QStringLiteral("Abscisse du marqueur bleu"));
    describe(tools->labeli(1), {}, QStringLiteral("Abscisse du marqueur rouge"));

    describe(w.btexo(), QStringLiteral("Exercices"), hover::btexo());
    describe(w.fich(), QStringLiteral("Fichier de l'exercice"), {});
    describe(w.supertext(), QStringLiteral("Texte de l'exercice"),
             QStringLiteral("L'énoncé, la correction ou le texte ouvert depuis le menu Exercices"));
}

void orderTabFocus(FeuilleP& w)
{
    // Whatever has the focus, here or in a dialog, shows a mark that stands
    // out, from the start.
    installFocusMarks();
    std::vector<QWidget*> chain;
    for (int i = 0; i < 7; ++i)
        chain.push_back(w.topButton(i));
    chain.insert(chain.end(), {w.animpic(), w.demar(), w.command16(), w.pacing()->pasAPas(),
                               w.pacing()->ralenti(), w.chronometer()->command5(), w.chronometer()->command3(),
                               w.picture2(), w.command6(), w.onglets()});
    appendPanel(chain, w.picture3());
    appendPanel(chain, w.frame2());
    appendPanel(chain, w.picture1());
    chain.insert(chain.end(), {w.btexo(), w.supertext()});
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void installTabShortcuts(FeuilleP& w)
{
    FeuilleP* window = &w;
    const auto choose = [window](auto change) {
        return [window, change] {
            TabStrip* strip = window->onglets();
            QWidget* focus = window->focusWidget();
            // A focus inside the panel about to go comes back to the strip
            // first: hidden with its panel, it would pass on to the next
            // control of the window (and be announced there) on the way.
            if (focus && focus != strip && strip->isAncestorOf(focus) && change(*strip, false))
                strip->setFocus(Qt::ShortcutFocusReason);
            change(*strip, true);
        };
    };
    const auto add = [window](const QList<QKeySequence>& keys, auto slot) {
        auto* shortcut = new QShortcut(window);
        shortcut->setKeys(keys);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, window, slot);
        // One press can be read several ways: X11 gives Ctrl+Maj+Tab as both
        // Ctrl+Shift+Tab and Ctrl+Backtab, and Qt calls a press that matches
        // two keys ambiguous even when they are the same shortcut's. Those
        // keys all mean the same here.
        QObject::connect(shortcut, &QShortcut::activatedAmbiguously, window, slot);
    };
    // Each change says, when not asked to act, whether it would show
    // another panel.
    const auto next = choose([](TabStrip& strip, bool act) {
        if (act)
            strip.nextTab(1);
        return true;
    });
    const auto previous = choose([](TabStrip& strip, bool act) {
        if (act)
            strip.nextTab(-1);
        return true;
    });
    add({QKeySequence(Qt::CTRL | Qt::Key_Tab)}, next);
    add({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
         QKeySequence(Qt::CTRL | Qt::Key_Backtab)},
        previous);
    for (int n = 1; n <= 3; ++n)
        add({QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + n))}, choose([n](TabStrip& strip, bool act) {
                if (act)
                    strip.selectTab(n);
                return strip.currentTab() != n;
            }));
}

}  // namespace tolvi
