#include "mainwin/projection_layout.h"

#include "mainwin/feuille_p.h"
#include "mainwin/image_button.h"
#include "mainwin/pacing_controls.h"
#include "mainwin/perturbation_panel.h"
#include "mainwin/zoom.h"
#include "measure/chronometer_controls.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "sim/simulation.h"
#include "text/french_numbers.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace tolvi {

namespace {
// Designed units across the screen: the window's width.
constexpr double kDesignWidth = 800.0;
// Designed units down to the last row's bottom, with no room to spare.
constexpr double kDesignHeight = 342.0;

QFont large(int pixels, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QLabel* newLabel(QWidget* parent, const char* name, const QColor& text, const QColor* background)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    setLabelColours(label, text, background);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->hide();
    return label;
}
}  // namespace

ProjectionLayout::ProjectionLayout(FeuilleP& window, std::function<void()> leave)
    : QObject(&window), window_(window)
{
    const QColor white(255, 255, 255);
    const QColor blue(0, 0, 255);
    const QColor red(210, 0, 0);
    abscissa_[0] = newLabel(&window, "projectionX1", blue, &white);
    abscissa_[1] = newLabel(&window, "projectionX2", red, &white);
    abscissa_[0]->setAccessibleName(QStringLiteral("Abscisse du marqueur bleu"));
    abscissa_[1]->setAccessibleName(QStringLiteral("Abscisse du marqueur rouge"));
    for (QLabel* label : abscissa_)
        label->setIndent(8);
    chronoCaption_ = newLabel(&window, "projectionChrono", white, nullptr);
    chronoCaption_->setText(QStringLiteral("Chronomètre :"));
    chronoCaption_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    back_ = new QPushButton(QStringLiteral("Tous les réglages (F9)"), &window);
    back_->setObjectName(QStringLiteral("projectionRetour"));
    back_->setToolTip(QStringLiteral("Revenir à toute la fenêtre, avec les onglets des réglages (F9)"));
    back_->setAccessibleName(QStringLiteral("Tous les réglages"));
    back_->hide();
    QObject::connect(back_, &QPushButton::clicked, this, [leave] {
        if (leave)
            leave();
    });
    for (auto signal : {&Simulation::controlsChanged, &Simulation::frameChanged})
        connect(&window_.simulation(), signal, this, [this] {
            if (shown_)
                syncAbscissas();
        });
}

ProjectionLayout::~ProjectionLayout() = default;

double ProjectionLayout::zoomFor(QSize screen)
{
    return screen.width() / kDesignWidth;
}

QLabel* ProjectionLayout::chronoReading() const
{
    return window_.chronometer()->label4();
}

void ProjectionLayout::syncAbscissas()
{
    const SimState& s = window_.simulation().state();
    const int columns[2] = {s.marqueBleue, s.marqueRouge};
    for (int i = 0; i < 2; ++i) {
        const int column = columns[i];
        const QString text =
            column < rope::kSourceColumn || column > rope::kFarEndColumn
                ? QStringLiteral("x%1 : pas de marqueur").arg(i + 1)
                : QStringLiteral("x%1 = %2 m").arg(i + 1).arg(formatGeneral(rope::abscissa(column)));
        if (abscissa_[i]->text() != text)
            abscissa_[i]->setText(text);
    }
}

void ProjectionLayout::move(QWidget* widget, const QRect& design, const QFont* font)
{
    if (std::none_of(saved_.begin(), saved_.end(), [widget](const Saved& s) { return s.widget == widget; }))
        saved_.push_back({widget, zoom::designRect(widget), zoom::hasDesignFont(widget), zoom::designFont(widget),
                          widget->isHidden()});
    zoom::place(widget, design);
    if (font)
        zoom::setDesignFont(widget, *font);
    widget->show();
}

void ProjectionLayout::apply(QSize screen)
{
    const double z = zoomFor(screen);
    window_.setZoom(z, QPointF(0, 0), true);
    window_.setPlainBackground(true);

    // Everything else waits in the normal layout.
    QList<QWidget*> ours{window_.animpic(), window_.picture2(), window_.demar(), window_.command16(),
                         window_.pacing()->pasAPas(), window_.pacing()->ralenti(), window_.command6(),
                         window_.chronometer()->label4(), window_.chronometer()->command5(),
                         window_.chronometer()->command3(), window_.label1(), abscissa_[0], abscissa_[1],
                         chronoCaption_, back_};
    for (QObject* child : window_.children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow() || ours.contains(w))
            continue;
        if (std::none_of(saved_.begin(), saved_.end(), [w](const Saved& s) { return s.widget == w; }))
            saved_.push_back({w, zoom::designRect(w), zoom::hasDesignFont(w), zoom::designFont(w), w->isHidden()});
        w->hide();
    }

    // The pictures across the screen, then the controls in rows below. The
    // height a wide screen has beyond them (a 16:9 screen: about a quarter)
    // goes to larger readings and to air between the rows, so that the
    // layout fills the screen from top to bottom.
    const double room = std::max(0.0, screen.height() / z - kDesignHeight);
    const int readingGrowth = int(std::min(room * 0.4, 16.0));
    const int gap = int(std::min((room - readingGrowth) / 4.0, 20.0));
    move(window_.animpic(), QRect(5, 4, 790, 110));
    const int graphTop = 118 + gap;
    move(window_.picture2(), QRect(7, graphTop, 785, 109));
    const QFont button = large(13, true);
    const QFont digits = large(18, true);
    const int rowA = graphTop + 118 + gap;
    move(window_.demar(), QRect(5, rowA, 110, 30), &button);
    move(window_.command16(), QRect(120, rowA, 30, 30));
    move(window_.pacing()->pasAPas(), QRect(155, rowA, 30, 30));
    move(window_.pacing()->ralenti(), QRect(190, rowA, 30, 30));
    move(window_.command6(), QRect(230, rowA, 110, 30), &button);
    const QFont caption = large(13, true);
    move(chronoCaption_, QRect(345, rowA, 105, 30), &caption);
    move(window_.chronometer()->label4(), QRect(455, rowA, 160, 30), &digits);
    move(window_.chronometer()->command5(), QRect(620, rowA, 30, 30), &button);
    move(window_.chronometer()->command3(), QRect(655, rowA, 140, 30), &button);
    const int rowB = rowA + 38 + gap;
    const int readingHeight = 32 + readingGrowth;
    const QFont reading = large(18 + readingGrowth / 2, true);
    move(abscissa_[0], QRect(5, rowB, 385, readingHeight), &reading);
    move(abscissa_[1], QRect(410, rowB, 385, readingHeight), &reading);
    const int rowC = rowB + readingHeight + 8 + gap;
    const QFont small = large(11, false);
    move(back_, QRect(5, rowC, 180, 24), &small);
    move(window_.label1(), QRect(200, rowC, 350, 24), &small);
    syncAbscissas();
    shown_ = true;
}

void ProjectionLayout::restore()
{
    if (!shown_)
        return;
    shown_ = false;
    for (const Saved& s : saved_) {
        zoom::place(s.widget, s.design);
        if (s.ownFont)
            zoom::setDesignFont(s.widget, s.font);
        else if (zoom::hasDesignFont(s.widget))
            zoom::clearDesignFont(s.widget);
        s.widget->setVisible(!s.hidden);
    }
    saved_.clear();
    for (QWidget* ours : {static_cast<QWidget*>(abscissa_[0]), static_cast<QWidget*>(abscissa_[1]),
                          static_cast<QWidget*>(chronoCaption_), static_cast<QWidget*>(back_)})
        ours->hide();
    window_.setPlainBackground(false);
}

}  // namespace tolvi
