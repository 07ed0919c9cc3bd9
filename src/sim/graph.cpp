#include "sim/graph.h"

#include "sim/rope_painter.h"
#include "text/french_numbers.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

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
    image_.fill(qbColor(15));
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // Grid.
    p.setPen(QPen(qbColor(7), 1));
    for (int i = 0; i <= 8; ++i)
        p.drawLine(30, 14 + 10 * i, 730, 14 + 10 * i);
    for (int i = 0; i <= 10; ++i)
        p.drawLine(30 + 70 * i, 14, 30 + 70 * i, 94);
    // Blank strip under the zero line for the time labels.
    p.fillRect(QRect(QPoint(31, 55), QPoint(731, 63)), qbColor(15));

    QFont font(QStringLiteral("Arial"));
    font.setPointSize(7);
    p.setFont(font);
    p.setPen(qbColor(8));
    QFontMetrics small(font, &image_);
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
    QFontMetrics normal(font, &image_);
    QFont italic = font;
    italic.setItalic(true);
    QFontMetrics italicMetrics(italic, &image_);
    p.setPen(QPen(qbColor(0), 1));
    // Time axis with its arrow.
    p.drawLine(30, 54, 745, 54);
    p.drawLine(739, 51, 745, 54);
    p.drawLine(739, 57, 745, 54);
    p.setFont(italic);
    p.drawText(QPoint(750, 40 + italicMetrics.ascent()), QStringLiteral("t"));
    p.setFont(font);
    p.drawText(QPoint(750 + italicMetrics.horizontalAdvance(QStringLiteral("t")), 40 + normal.ascent()),
               QStringLiteral(" (s)"));
    // Displacement axis with its arrow.
    p.drawLine(30, 4, 30, 94);
    p.drawLine(30, 4, 33, 10);
    p.drawLine(30, 4, 27, 10);
    p.setFont(italic);
    p.drawText(QPoint(39, -1 + italicMetrics.ascent()), QStringLiteral("u"));
    p.setFont(font);
    p.drawText(QPoint(39 + italicMetrics.horizontalAdvance(QStringLiteral("u")), -1 + normal.ascent()),
               QStringLiteral(" (cm)"));
}

void GraphRecording::record(const GraphPoint& point)
{
    points_.push_back(point);
}

void GraphRecording::plotDot(double x, double y, bool red)
{
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int xi = int(roundEven(x));
    const int yi = int(roundEven(y));
    p.fillRect(QRect(xi - 1, yi - 1, 2, 2), qbColor(red ? 12 : 9));
}

void GraphRecording::plotLine(double x1, double y1, double x2, double y2, bool red)
{
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(qbColor(red ? 12 : 9), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
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
