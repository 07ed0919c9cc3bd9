#include "mainwin/tab_strip.h"

#include <QMouseEvent>
#include <QPainter>

namespace tolvi {

TabStrip::TabStrip(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Onglets"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, tabStripColour());
    setPalette(pal);
    setFont(tabFont());
}

void TabStrip::setPanels(QWidget* corde, QWidget* onde, QWidget* outils)
{
    panels_ = {nullptr, corde, onde, outils};
    for (int k = 1; k <= 3; ++k)
        if (panels_[std::size_t(k)]) {
            panels_[std::size_t(k)]->setParent(this);
            panels_[std::size_t(k)]->hide();
        }
    placePanels(geometry());
}

TabGeometry TabStrip::geometry() const
{
    return tabGeometry(tabFont(), const_cast<TabStrip*>(this), width(), current_);
}

void TabStrip::placePanels(const TabGeometry& g)
{
    const QRect area = panelRect(g, width(), height());
    for (int k = 1; k <= 3; ++k) {
        QWidget* panel = panels_[std::size_t(k)];
        if (panel && k != g.current)
            panel->hide();
    }
    if (QWidget* panel = panels_[std::size_t(g.current)]) {
        if (panel->geometry() != area)
            panel->setGeometry(area);
        panel->show();
    }
}

void TabStrip::Onglets_MouseUp(double x, double y)
{
    const int choice = tabAt(geometry(), x, y);
    if (choice < 0 || choice == current_)
        return;
    current_ = choice;
    placePanels(geometry());
    update();
    emit tabChanged(current_ == 0 ? 1 : current_);
}

void TabStrip::selectTab(int n)
{
    if (n < 1 || n > 3)
        return;
    const TabGeometry g = geometry();
    const double x = (g.bounds[std::size_t(n - 1)] + g.bounds[std::size_t(n)]) / 2.0;
    Onglets_MouseUp(x, g.h / 2.0);
}

void TabStrip::paintEvent(QPaintEvent*)
{
    if (current_ == 0)
        current_ = 1;
    const TabGeometry g = geometry();
    QPainter p(this);
    paintTabStrip(p, g, width(), height());
    p.end();
    placePanels(g);
}

void TabStrip::mouseReleaseEvent(QMouseEvent* event)
{
    Onglets_MouseUp(event->position().x(), event->position().y());
}

}  // namespace tolvi
