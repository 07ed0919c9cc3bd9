#include "measure/graph_picture.h"
#include "mainwin/zoom.h"

#include "mainwin/hover_texts.h"
#include "measure/readouts.h"
#include "sim/rope_painter.h"
#include "sim/simulation.h"
#include "text/french_numbers.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tolvi {

GraphPicture::GraphPicture(Simulation& sim, QWidget* parent) : PictureBox(parent), sim_(sim)
{
    setObjectName(QStringLiteral("Picture2"));
    connect(&sim_, &Simulation::graphChanged, this, [this] { animationMoved(); });
    setAccessibleName(QStringLiteral("Graphe"));
    setAccessibleDescription(QStringLiteral(
        "Flèches : déplacer le curseur sur le graphe (Maj : 10 pixels) et lire t et u sous la corde"));
}

void GraphPicture::askChanges()
{
    bool all = false;
    const QRect part = follower_.changes(sim_.graph(), all);
    if (all)
        update();
    else if (!part.isEmpty())
        updatePicture({part});
}

QImage GraphPicture::picture() const
{
    return sim_.graphImage();
}

void GraphPicture::paintPicture(QPainter& painter, const QRect&)
{
    const double scale = drawingScale(painter);
    const GraphRecording& graph = sim_.graph();
    if (scale == 1.0) {
        fine_ = QImage();
        painter.drawImage(0, 0, graph.image());
        return;
    }
    if (fine_.isNull() || fine_.devicePixelRatio() != scale || fineGeneration_ != graph.generation() ||
        fineStrokes_ > graph.strokes().size()) {
        fine_ = graph.render(scale);
        fineGeneration_ = graph.generation();
        fineStrokes_ = graph.strokes().size();
    } else if (fineStrokes_ < graph.strokes().size()) {
        QPainter p(&fine_);
        graph.paintStrokes(p, fineStrokes_, graph.strokes().size());
        fineStrokes_ = graph.strokes().size();
    }
    painter.drawImage(0, 0, fine_);
}

void GraphPicture::Picture2_MouseMove(double x, double y)
{
    readoutAt(x, y);
    emit hint(hover::picture2());
}

void GraphPicture::readoutAt(double x, double y)
{
    if (const auto text = graphReadout(x, y, sim_.state().dureeGraphe)) {
        setCursor(Qt::CrossCursor);
        emit readout(*text, qbColor(0), qbColor(15));
    } else {
        setCursor(Qt::ArrowCursor);
        emit readoutCleared();
    }
}

QPoint GraphPicture::clampCursor(QPoint at) const
{
    if (at.isNull())
        at = QPoint(30, 54);
    return QPoint(std::clamp(at.x(), 30, 730), std::clamp(at.y(), 14, 94));
}

void GraphPicture::cursorReadout()
{
    // The keys' hint only, never the pointer's in between.
    const QPoint at = keyboardCursor();
    readoutAt(at.x(), at.y());
    emit hint(hover::picture2Keys());
}

void GraphPicture::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier) {
        PictureBox::keyPressEvent(event);
        return;
    }
    const int step = mods == Qt::ShiftModifier ? 10 : 1;
    QPoint at = keyboardCursor();
    switch (event->key()) {
    case Qt::Key_Left: at.rx() -= step; break;
    case Qt::Key_Right: at.rx() += step; break;
    case Qt::Key_Up: at.ry() -= step; break;
    case Qt::Key_Down: at.ry() += step; break;
    case Qt::Key_Home: at.setX(30); break;
    case Qt::Key_End: at.setX(730); break;
    default: PictureBox::keyPressEvent(event); return;
    }
    setKeyboardCursor(at);
    cursorMovedByKey();
}

QString GraphPicture::readingAtCursor() const
{
    const double t = (keyboardCursor().x() - GraphRecording::kOriginX) * sim_.state().dureeGraphe /
                     double(GraphRecording::kSpanX);
    QString text = QStringLiteral("t = ") + formatPattern(t, QStringLiteral("##0.00")) + QStringLiteral(" s");
    const std::vector<GraphPoint>& points = sim_.graph().points();
    const auto after = std::lower_bound(points.begin(), points.end(), t,
                                        [](const GraphPoint& p, double time) { return p.t < time; });
    if (points.empty() || after == points.end() || (after == points.begin() && after->t > t)) {
        return text + QStringLiteral(" ; pas de valeur enregistrée");
    }
    const GraphPoint& b = *after;
    const GraphPoint& a = after == points.begin() ? b : *(after - 1);
    const double share = b.t > a.t ? (t - a.t) / (b.t - a.t) : 0.0;
    const auto at = [share](const std::optional<double>& from, const std::optional<double>& to) {
        return from && to ? std::optional<double>(*from + (*to - *from) * share) : std::nullopt;
    };
    const std::optional<double> u1 = at(a.bleu, b.bleu);
    const std::optional<double> u2 = at(a.rouge, b.rouge);
    if (u1)
        text += QStringLiteral(" ; u\u2081 = ") + formatPattern(*u1, QStringLiteral("0.0")) + QStringLiteral(" cm");
    if (u2)
        text += QStringLiteral(" ; u\u2082 = ") + formatPattern(*u2, QStringLiteral("0.0")) + QStringLiteral(" cm");
    return text;
}

void GraphPicture::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position() / zoom::of(this) - origin();
    Picture2_MouseMove(at.x(), at.y());
}

}  // namespace tolvi
