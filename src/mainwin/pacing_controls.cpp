#include "mainwin/pacing_controls.h"

#include "mainwin/image_button.h"
#include "mainwin/layout.h"
#include "mainwin/tool_icons.h"
#include "sim/simulation.h"

#include <QEvent>
#include <QPainter>
#include <QShortcut>
#include <QWidget>
#include <algorithm>
#include <functional>

namespace tolvi {

namespace {

// A key in the look of the pause image: a light rounded square, its sign in
// blue. Drawn at the resolution it is shown at so it stays sharp.
QPixmap keyPixmap(qreal ratio, const std::function<void(QPainter&)>& sign)
{
    QPixmap pixmap = icons::canvas(QSize(24, 24), ratio);
    QPainter p(&pixmap);
    icons::keyFace(p);
    sign(p);
    return pixmap;
}

const QColor kSignColour(0, 60, 150);

QPixmap stepPixmap(qreal ratio)
{
    // One frame forward: a triangle against a bar.
    return keyPixmap(ratio, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kSignColour);
        p.drawPolygon(QPolygonF({{6, 6}, {14.5, 12}, {6, 18}}));
        p.drawRect(QRectF(15.5, 6, 3, 12));
    });
}

QPixmap speedPixmap(qreal ratio, const QString& label)
{
    return keyPixmap(ratio, [&label](QPainter& p) {
        QFont font(QStringLiteral("Arial"));
        font.setBold(true);
        // "1/10" is the widest text the key shows.
        font.setPixelSize(label.size() > 3 ? 9 : 11);
        p.setFont(font);
        p.setPen(kSignColour);
        p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, label);
    });
}

}  // namespace

PacingControls::PacingControls(Simulation& sim, QWidget* window) : QObject(window), sim_(sim)
{
    pasAPas_ = new ImageButton(window);
    pasAPas_->setObjectName(QStringLiteral("pasAPas"));
    pasAPas_->setGeometry(layout::kPasAPas);
    pasAPas_->setToolTip(QStringLiteral("Pas à pas (F6)"));
    pasAPas_->setAccessibleName(QStringLiteral("Pas à pas"));
    pasAPas_->setAccessibleDescription(pasAPasHint());
    pasAPas_->setPicture(&stepPixmap);
    pasAPas_->setMouseTracking(true);
    pasAPas_->installEventFilter(this);
    connect(pasAPas_, &ImageButton::clicked, this, &PacingControls::pasAPas_Click);

    ralenti_ = new ImageButton(window);
    ralenti_->setObjectName(QStringLiteral("ralenti"));
    ralenti_->setGeometry(layout::kRalenti);
    ralenti_->setMouseTracking(true);
    ralenti_->installEventFilter(this);
    connect(ralenti_, &ImageButton::clicked, this, &PacingControls::ralenti_Click);

    // Function keys: they never reach a text box, and F11 is full screen.
    pasAPasKey_ = new QShortcut(QKeySequence(Qt::Key_F6), window);
    pasAPasKey_->setContext(Qt::WindowShortcut);
    connect(pasAPasKey_, &QShortcut::activated, this, &PacingControls::pasAPas_Click);
    ralentiKey_ = new QShortcut(QKeySequence(Qt::Key_F7), window);
    ralentiKey_->setContext(Qt::WindowShortcut);
    connect(ralentiKey_, &QShortcut::activated, this, &PacingControls::ralenti_Click);

    showSpeed();
}

QString PacingControls::pasAPasHint()
{
    return QStringLiteral("Pas à pas (F6) : met en pause, puis chaque appui avance d'un intervalle de temps.");
}

QString PacingControls::ralentiHint()
{
    return QStringLiteral("Ralenti (F7) : l'animation va à 1, 1/2, 1/5 ou 1/10 du temps réel.");
}

void PacingControls::pasAPas_Click()
{
    tolvi::pasAPas(sim_);
}

void PacingControls::ralenti_Click()
{
    pacing_.nextSpeed();
    showSpeed();
    emit speedChanged();
}

bool PacingControls::setDivisor(int divisor)
{
    for (std::size_t i = 0; i < Pacing::kDivisors.size(); ++i)
        if (Pacing::kDivisors[i] == divisor) {
            pacing_.setSpeedIndex(int(i));
            showSpeed();
            emit speedChanged();
            return true;
        }
    return false;
}

void PacingControls::showSpeed()
{
    const QString label = pacing_.speedLabel();
    ralenti_->setPicture([label](qreal ratio) { return speedPixmap(ratio, label); });
    const QString speed = label == QLatin1String("1") ? QStringLiteral("temps réel")
                                                       : QStringLiteral("%1 du temps réel").arg(label);
    ralenti_->setToolTip(QStringLiteral("Ralenti : %1 (F7)").arg(speed));
    // A screen reader hears the speed chosen, after each F7 as on the key.
    ralenti_->setAccessibleName(QStringLiteral("Ralenti"));
    ralenti_->setAccessibleDescription(ralentiHint() + QStringLiteral(" Vitesse choisie : ") + speed +
                                       QLatin1Char('.'));
}

bool PacingControls::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == pasAPas_)
            emit hovered(pasAPasHint());
        else if (watched == ralenti_)
            emit hovered(ralentiHint());
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tolvi
