#include "measure/rope_picture.h"

#include "mainwin/hover_texts.h"
#include "measure/readouts.h"
#include "sim/rope_painter.h"
#include "sim/simulation.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

namespace tolvi {

RopePicture::RopePicture(Simulation& sim, QWidget* parent) : PictureBox(parent), sim_(sim)
{
    setObjectName(QStringLiteral("animpic"));
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("menupoint"));
    auto add = [this](const char* name, const QString& caption, void (RopePicture::*slot)()) {
        QAction* action = menu_->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
    };
    add("marqbleu", QStringLiteral("Marquer en bleu"), &RopePicture::marqbleu_Click);
    add("marqrou", QStringLiteral("Marquer en rouge"), &RopePicture::marqrou_Click);
    menu_->addSeparator()->setObjectName(QStringLiteral("sedzd"));
    add("effb", QStringLiteral("Effacer le point bleu"), &RopePicture::effb_Click);
    add("effr", QStringLiteral("Effacer le point rouge"), &RopePicture::effr_Click);

    connect(&sim_, &Simulation::frameChanged, this, qOverload<>(&QWidget::update));
    connect(&sim_, &Simulation::backgroundChanged, this, qOverload<>(&QWidget::update));
}

QImage RopePicture::picture() const
{
    return sim_.ropeImage();
}

void RopePicture::animpic_MouseMove(double x, double y)
{
    if (const auto text = ropeReadout(x, y)) {
        setCursor(Qt::CrossCursor);
        emit readout(*text, qbColor(15), qbColor(0));
    } else {
        setCursor(Qt::ArrowCursor);
        emit readoutCleared();
    }
    emit hint(hover::animpic());
}

bool RopePicture::animpic_MouseUp(double x, double y, const QPoint& global)
{
    Q_UNUSED(y);
    const auto column = tolvi::posMarque(x);
    if (!column)
        return false;
    posMarque_ = *column;
    if (showMenu)
        showMenu(menu_, global);
    return true;
}

void RopePicture::setExportActions(const QList<QAction*>& actions)
{
    PictureBox::setExportActions(actions);
    delete both_;
    both_ = nullptr;
    if (actions.isEmpty())
        return;
    both_ = newMenu(QStringLiteral("menupoint_export"));
    both_->addActions(menu_->actions());
    both_->addSeparator();
    both_->addActions(actions);
}

void RopePicture::animpic_RightUp(double x, double y, const QPoint& global)
{
    if (!both_) {
        animpic_MouseUp(x, y, global);
        return;
    }
    const auto column = tolvi::posMarque(x);
    if (column)
        posMarque_ = *column;
    if (showMenu)
        showMenu(column ? both_ : exportMenu_, global);
}

void RopePicture::marqbleu_Click() { sim_.setMarqueBleue(posMarque_); }
void RopePicture::marqrou_Click() { sim_.setMarqueRouge(posMarque_); }
void RopePicture::effb_Click() { sim_.setMarqueBleue(Simulation::kNoMarker); }
void RopePicture::effr_Click() { sim_.setMarqueRouge(Simulation::kNoMarker); }

void RopePicture::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position() - origin();
    animpic_MouseMove(at.x(), at.y());
}

void RopePicture::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = event->position() - origin();
    if (event->button() == Qt::RightButton)
        animpic_RightUp(at.x(), at.y(), event->globalPosition().toPoint());
    else
        animpic_MouseUp(at.x(), at.y(), event->globalPosition().toPoint());
}

void RopePicture::contextMenuEvent(QContextMenuEvent* event)
{
    // A mouse click is served when the button is released.
    if (event->reason() == QContextMenuEvent::Mouse) {
        event->accept();
        return;
    }
    PictureBox::contextMenuEvent(event);
}

}  // namespace tolvi
