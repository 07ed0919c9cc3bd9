#include "calc/machine_background.h"

#include "text/french_numbers.h"

#include <QColor>
#include <QPainter>

namespace tolvi {

int teinteFondMachine(int x)
{
    return 200 - int(roundEven(x / 2.0));
}

void peindreFondMachine(QPainter& p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int x = 0; x <= 301; ++x) {
        const int c = teinteFondMachine(x);
        p.fillRect(x, 0, 1, 431, QColor(c, c + 50, c + 50));
    }
    p.setBrush(Qt::NoBrush);
    auto cadre = [&](int x1, int y1, int x2, int y2, const QColor& couleur) {
        p.setPen(QPen(couleur, 0));
        p.drawRect(x1, y1, x2 - x1, y2 - y1);
    };
    cadre(1, 1, 299, 428, Qt::white);
    p.setPen(QPen(Qt::black, 0));
    p.drawLine(1, 1, 299, 1);
    p.drawLine(1, 1, 1, 427);
    // The key block: a white frame and, one pixel up and left, a dark cyan one.
    cadre(82, 290, 206, 421, Qt::white);
    cadre(81, 289, 205, 420, QColor(0, 128, 128));
    p.restore();
}

}  // namespace tolvi
