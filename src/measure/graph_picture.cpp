#include "measure/graph_picture.h"

#include "mainwin/hover_texts.h"
#include "measure/readouts.h"
#include "sim/rope_painter.h"
#include "sim/simulation.h"

#include <QMouseEvent>

namespace tolvi {

GraphPicture::GraphPicture(Simulation& sim, QWidget* parent) : PictureBox(parent), sim_(sim)
{
    setObjectName(QStringLiteral("Picture2"));
    connect(&sim_, &Simulation::graphChanged, this, qOverload<>(&QWidget::update));
}

QImage GraphPicture::picture() const
{
    return sim_.graphImage();
}

void GraphPicture::Picture2_MouseMove(double x, double y)
{
    if (const auto text = graphReadout(x, y, sim_.state().dureeGraphe)) {
        setCursor(Qt::CrossCursor);
        emit readout(*text, qbColor(0), qbColor(15));
    } else {
        setCursor(Qt::ArrowCursor);
        emit readoutCleared();
    }
    emit hint(hover::picture2());
}

void GraphPicture::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position() - origin();
    Picture2_MouseMove(at.x(), at.y());
}

}  // namespace tolvi
