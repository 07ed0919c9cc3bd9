#include "mainwin/panel_painters.h"

#include "sim/rope_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <cmath>

namespace tolvi {

namespace {

// The running text position: each text is written with its top at y and
// the position moves right by the text's width. Without a painter it only
// measures, with the metrics of the device the panel is shown on.
class TextPen {
public:
    TextPen(QPainter* p, QPaintDevice* device, int x, int y) : p_(p), device_(device), x(x), y(y) {}

    void print(const QString& text, const QFont& font)
    {
        const QFontMetrics metrics(font, device_);
        if (p_) {
            p_->setFont(font);
            p_->drawText(QPoint(x, y + metrics.ascent()), text);
        }
        x += metrics.horizontalAdvance(text);
    }
    // An exponent: three pixels higher, then back on the line.
    void raised(const QString& text, const QFont& font)
    {
        y -= 3;
        print(text, font);
        y += 3;
    }
    int width(const QString& text, const QFont& font) const
    {
        return QFontMetrics(font, device_).horizontalAdvance(text);
    }

private:
    QPainter* p_;
    QPaintDevice* device_;

public:
    int x;
    int y;
};

QFont italic(QFont font)
{
    font.setItalic(true);
    return font;
}

// The Greek letters: "Symbol" is mapped to a font that has them.
QFont greek()
{
    QFont font(QStringLiteral("Symbol"));
    font.setPointSize(8);
    return font;
}

void begin(QPainter* painter, QSize panel)
{
    if (!painter)
        return;
    QPainter& p = *painter;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(QRect(QPoint(0, 0), panel), panelColour());
    p.setPen(qbColor(0));
}

}  // namespace

QFont panelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    font.setBold(false);
    font.setItalic(false);
    return font;
}

namespace {

void runFrame2(QPainter* p, QPaintDevice* d, QSize panel, Frame2Boxes& boxes)
{
    begin(p, panel);
    const QFont font = panelFont();

    TextPen amplitude(p, d, 24, boxes.amplitude.top() + 2);
    amplitude.print(QStringLiteral("Amplitude de la déformation (1 cm à 40 cm) : "), font);
    amplitude.print(QStringLiteral("A"), italic(font));
    amplitude.print(QStringLiteral(" = "), font);
    boxes.amplitude.moveLeft(amplitude.x);
    amplitude.x = boxes.amplitude.left() + boxes.amplitude.width();
    amplitude.print(QStringLiteral(" cm"), font);

    TextPen duree(p, d, 24, boxes.duree.top() + 2);
    duree.print(QStringLiteral("Durée de la déformation (100 ms à 1 000 ms) : "), font);
    duree.print(QStringLiteral("\u0394"), greek());
    duree.print(QStringLiteral("t"), italic(font));
    duree.print(QStringLiteral(" = "), font);
    boxes.duree.moveLeft(duree.x);
    duree.x = boxes.duree.left() + boxes.duree.width();
    duree.print(QStringLiteral(" ms"), font);

    // Right-aligned on the frequency box, measured with the text the label
    // was designed with.
    TextPen frequence(p, d, 0, boxes.frequence.top() + 2);
    frequence.x = boxes.frequence.left() - frequence.width(QStringLiteral("Fréquence (0,1 Hz à 5 Hz) : ƒ = "), font);
    frequence.print(QStringLiteral("Fréquence (0,1 Hz à 5 Hz) : "), font);
    frequence.print(QStringLiteral("\u03C5"), greek());
    frequence.print(QStringLiteral(" ="), font);
    frequence.x = boxes.frequence.left() + boxes.frequence.width();
    frequence.print(QStringLiteral(" Hz"), font);

    // The brace grouping the periodic and sinusoidal waves, pointing at the
    // frequency line.
    if (!p)
        return;
    p->setPen(QPen(qbColor(0), 1));
    const auto arc = [p](double cx, double cy, double r, double from, double to) {
        const double degrees = 180.0 / 3.14159265358979;
        p->drawArc(QRectF(cx - r, cy - r, 2 * r, 2 * r), int(std::lround(from * degrees * 16)),
                  int(std::lround((to - from) * degrees * 16)));
    };
    arc(170, 120, 5, 0.0, 1.57);
    arc(170, 148, 5, 4.71, 6.28);
    p->drawLine(175, 119, 175, 149);
    p->drawLine(175, 134, 178, 134);
}

}  // namespace

void paintFrame2(QPainter& p, QSize panel, Frame2Boxes& boxes)
{
    p.save();
    runFrame2(&p, p.device(), panel, boxes);
    p.restore();
}

void layoutFrame2(QPaintDevice* device, Frame2Boxes& boxes)
{
    runFrame2(nullptr, device, QSize(), boxes);
}

QStringList picture3MassePieces()
{
    return {QStringLiteral("Masse linéïque (50 g · m"), QStringLiteral("-1"), QStringLiteral(" à 500 g · m"),
            QStringLiteral("-1"), QStringLiteral(") : µ = ")};
}

namespace {

void runPicture3(QPainter* p, QPaintDevice* d, QSize panel, Picture3Boxes& boxes)
{
    begin(p, panel);
    const QFont font = panelFont();
    const QStringList pieces = picture3MassePieces();

    TextPen masse(p, d, 24, boxes.masse.top() + 2);
    masse.print(pieces[0], font);
    masse.raised(pieces[1], font);
    masse.print(pieces[2], font);
    masse.raised(pieces[3], font);
    masse.print(pieces[4], font);
    boxes.masse.moveLeft(masse.x);
    masse.x = boxes.masse.left() + boxes.masse.width();
    masse.print(QStringLiteral(" g · m"), font);
    masse.raised(QStringLiteral("-1"), font);

    TextPen tension(p, d, 24, boxes.tension.top() + 2);
    tension.print(QStringLiteral("Tension de la corde (0,1 N à 10 N) : "), font);
    tension.print(QStringLiteral("T"), italic(font));
    tension.print(QStringLiteral(" = "), font);
    boxes.tension.moveLeft(tension.x);
    tension.x = boxes.tension.left() + boxes.tension.width();
    tension.print(QStringLiteral(" N"), font);
}

}  // namespace

void paintPicture3(QPainter& p, QSize panel, Picture3Boxes& boxes)
{
    p.save();
    runPicture3(&p, p.device(), panel, boxes);
    p.restore();
}

void layoutPicture3(QPaintDevice* device, Picture3Boxes& boxes)
{
    runPicture3(nullptr, device, QSize(), boxes);
}

void paintPicture1(QPainter& p, QSize panel, const Picture1Labels& labels)
{
    p.save();
    begin(&p, panel);
    QFont font = panelFont();
    font.setBold(true);
    TextPen heading(&p, p.device(), 24, 12);
    heading.print(QStringLiteral("Déclenchement automatique"), font);
    heading = TextPen(&p, p.device(), 24, 60);
    heading.print(QStringLiteral("Graphe"), font);

    const auto prefix = [&](const QRect& label, const QColor& colour, const QString& digit) {
        p.setPen(colour);
        TextPen pen(&p, p.device(), 0, label.top());
        pen.x = label.left() - pen.width(QStringLiteral("x") + digit + QStringLiteral(" = "), font);
        pen.print(QStringLiteral("x"), font);
        pen.y += 3;
        pen.print(digit, font);
        pen.y -= 3;
        pen.print(QStringLiteral(" ="), font);
    };
    prefix(labels.labeli0, labels.colour0, QStringLiteral("1"));
    prefix(labels.labeli1, labels.colour1, QStringLiteral("2"));
    p.restore();
}

}  // namespace tolvi
