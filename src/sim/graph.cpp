#include "sim/graph.h"

#include "sim/rope_painter.h"
#include "text/french_numbers.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tolvi {

namespace {
// Values are recorded in double precision; the text keeps what a pupil needs.
QString csvNumber(double v, const char* pattern) { return formatPattern(v, QString::fromLatin1(pattern)); }
}  // namespace

GraphRecording::GraphRecording() : image_(kWidth, kHeight, QImage::Format_RGB32)
{
    image_.fill(Qt::white);
}

QStringList GraphRecording::timeLabels(int dureeGraphe)
{
    QStringList labels;
    for (int i = 1; i <= 10; ++i)
        labels << formatGeneral(dureeGraphe / 10.0 * i);
    return labels;
}

void GraphRecording::prepare(int dureeGraphe)
{
    points_.clear();
    strokes_.clear();
    dureeGraphe_ = dureeGraphe;
    ++generation_;
    drawnStrokes_ = 0;
    image_.fill(qbColor(15));
    QPainter p(&image_);
    paintFrame(p, dureeGraphe);
}

QImage GraphRecording::render(double scale) const
{
    QImage image(int(std::lround(kWidth * scale)), int(std::lround(kHeight * scale)), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(qbColor(15));
    QPainter p(&image);
    paintFrame(p, dureeGraphe_);
    paintStrokes(p, 0, strokes_.size());
    return image;
}

void GraphRecording::paintFrame(QPainter& p, int dureeGraphe)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QPaintDevice* device = p.device();

    // Grid.
    for (int i = 0; i <= 8; ++i)
        pixelLine(p, 30, 14 + 10 * i, 730, 14 + 10 * i, qbColor(7));
    for (int i = 0; i <= 10; ++i)
        pixelLine(p, 30 + 70 * i, 14, 30 + 70 * i, 94, qbColor(7));
    // Blank strip under the zero line for the time labels.
    p.fillRect(QRect(QPoint(31, 55), QPoint(731, 63)), qbColor(15));

    QFont font(QStringLiteral("Arial"));
    font.setPointSize(7);
    p.setFont(font);
    p.setPen(qbColor(8));
    QFontMetrics small(font, device);
    const QStringList labels = timeLabels(dureeGraphe);
    for (int i = 1; i <= 10; ++i) {
        const QString& label = labels[i - 1];
        const int w = small.horizontalAdvance(label);
        p.drawText(QPoint(30 + 70 * i - w / 2, 54 + small.ascent()), label);
    }
    for (int i = -4; i <= 4; ++i) {
        const QString label = QString::number(10 * i);
        const int w = small.horizontalAdvance(label);
        const int top = 54 - 10 * i - small.height() / 2;
        p.drawText(QPoint(27 - w, top + small.ascent()), label);
    }

    font.setPointSize(8);
    p.setFont(font);
    QFontMetrics normal(font, device);
    QFont italic = font;
    italic.setItalic(true);
    QFontMetrics italicMetrics(italic, device);
    // Time axis with its arrow.
    pixelLine(p, 30, 54, 745, 54, qbColor(0));
    pixelLine(p, 739, 51, 745, 54, qbColor(0));
    pixelLine(p, 739, 57, 745, 54, qbColor(0));
    p.setFont(italic);
    p.drawText(QPoint(750, 40 + italicMetrics.ascent()), QStringLiteral("t"));
    p.setFont(font);
    p.drawText(QPoint(750 + italicMetrics.horizontalAdvance(QStringLiteral("t")), 40 + normal.ascent()),
               QStringLiteral(" (s)"));
    // Displacement axis with its arrow.
    pixelLine(p, 30, 4, 30, 94, qbColor(0));
    pixelLine(p, 30, 4, 33, 10, qbColor(0));
    pixelLine(p, 30, 4, 27, 10, qbColor(0));
    p.setFont(italic);
    p.drawText(QPoint(39, -1 + italicMetrics.ascent()), QStringLiteral("u"));
    p.setFont(font);
    p.drawText(QPoint(39 + italicMetrics.horizontalAdvance(QStringLiteral("u")), -1 + normal.ascent()),
               QStringLiteral(" (cm)"));
    p.restore();
}

void GraphRecording::record(const GraphPoint& point)
{
    points_.push_back(point);
}

void GraphRecording::plotDot(double x, double y, bool red)
{
    addStroke({QPointF(x, y), QPointF(x, y), red, true});
}

void GraphRecording::plotLine(double x1, double y1, double x2, double y2, bool red)
{
    addStroke({QPointF(x1, y1), QPointF(x2, y2), red, false});
}

void GraphRecording::addStroke(const GraphStroke& stroke)
{
    strokes_.push_back(stroke);
}

const QImage& GraphRecording::image() const
{
    if (drawnStrokes_ < strokes_.size()) {
        QPainter p(&image_);
        paintStrokes(p, drawnStrokes_, strokes_.size());
        drawnStrokes_ = strokes_.size();
    }
    return image_;
}

void GraphRecording::paintStrokes(QPainter& p, std::size_t from, std::size_t to) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (std::size_t i = from; i < to && i < strokes_.size(); ++i) {
        const GraphStroke& stroke = strokes_[i];
        const QColor colour = qbColor(stroke.red ? 12 : 9);
        if (stroke.dot) {
            const int xi = int(roundEven(stroke.to.x()));
            const int yi = int(roundEven(stroke.to.y()));
            p.fillRect(QRect(xi - 1, yi - 1, 2, 2), colour);
        } else {
            p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(stroke.from, stroke.to);
        }
    }
    p.restore();
}

QStringList GraphRecording::csvHeader()
{
    return {QStringLiteral("t (s)"), QStringLiteral("u1 (cm)"), QStringLiteral("u2 (cm)")};
}

QStringList GraphRecording::csvFields(const GraphPoint& point)
{
    return {csvNumber(point.t, "0.000"), point.bleu ? csvNumber(*point.bleu, "0.0000") : QString(),
            point.rouge ? csvNumber(*point.rouge, "0.0000") : QString()};
}

QString GraphRecording::csvText(const std::vector<GraphPoint>& points, QChar separator, std::size_t first,
                                std::size_t count)
{
    QString out = csvHeader().join(separator) + QLatin1Char('\n');
    const std::size_t end = first + std::min(count, points.size() - std::min(first, points.size()));
    for (std::size_t i = first; i < end; ++i) {
        out += csvFields(points[i]).join(separator);
        out += QLatin1Char('\n');
    }
    return out;
}

QString GraphRecording::csv(QChar separator) const
{
    return csvText(points_, separator);
}

}  // namespace tolvi
