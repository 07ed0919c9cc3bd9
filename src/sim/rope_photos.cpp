#include "sim/rope_photos.h"

#include "sim/rope_profile.h"
#include "text/french_numbers.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace tolvi {

QString photoLabel(double seconds)
{
    return QStringLiteral("t = %1 s").arg(formatPattern(seconds, QStringLiteral("0.00")));
}

QColor photoColour(int style)
{
    // Dark blue, dark green and purple: apart from each other, from the
    // yellow rope and from the red and blue markers.
    static const QColor colours[kMostPhotos] = {QColor(0, 60, 140), QColor(0, 105, 40), QColor(120, 30, 120)};
    return colours[std::clamp(style, 0, kMostPhotos - 1)];
}

namespace {
Qt::PenStyle penStyle(int style)
{
    static const Qt::PenStyle styles[kMostPhotos] = {Qt::DashLine, Qt::DotLine, Qt::DashDotLine};
    return styles[std::clamp(style, 0, kMostPhotos - 1)];
}
}  // namespace

void paintPhotos(QPainter& p, const std::vector<RopePhoto>& photos)
{
    if (photos.empty())
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    font.setBold(true);
    p.setFont(font);
    for (std::size_t i = 0; i < photos.size(); ++i) {
        const RopePhoto& photo = photos[i];
        QColor faint = photoColour(photo.style);
        faint.setAlpha(170);
        QPainterPath path;
        for (int c = rope::kSourceColumn; c <= rope::kFarEndColumn; ++c) {
            const double d = photo.deplacement[std::size_t(c)];
            const double row = rope::kRestRow - (std::isfinite(d) ? std::clamp(d, -200.0, 200.0) : 0.0);
            const QPointF at(c + 0.5, row + 0.5);
            if (c == rope::kSourceColumn)
                path.moveTo(at);
            else
                path.lineTo(at);
        }
        QPen pen(faint, 1.5, penStyle(photo.style), Qt::FlatCap, Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        // The label, top left, one after the other, with a sample of the line.
        const double x = 60.0 + 120.0 * double(i);
        p.drawLine(QPointF(x, 8.5), QPointF(x + 18.0, 8.5));
        p.setPen(photoColour(photo.style));
        p.drawText(QPointF(x + 22.0, 12.0), photoLabel(photo.seconds));
    }
    p.restore();
}

QString ropeCsvWithPhotos(const SimState& s, const std::vector<RopePhoto>& photos, QChar separator)
{
    if (photos.empty())
        return ropeCsv(s, separator);
    QString text = QStringLiteral("x (m)") + separator + QStringLiteral("u (cm)");
    for (const RopePhoto& photo : photos)
        text += separator + QStringLiteral("u à ") + photoLabel(photo.seconds) + QStringLiteral(" (cm)");
    text += QLatin1Char('\n');
    for (int column = rope::kSourceColumn; column <= rope::kFarEndColumn; ++column) {
        text += formatPattern(rope::abscissa(column), QStringLiteral("0.00"));
        text += separator;
        text += formatPattern(s.deplacement[std::size_t(column)], QStringLiteral("0.0000"));
        for (const RopePhoto& photo : photos) {
            text += separator;
            text += formatPattern(photo.deplacement[std::size_t(column)], QStringLiteral("0.0000"));
        }
        text += QLatin1Char('\n');
    }
    return text;
}

}  // namespace tolvi
