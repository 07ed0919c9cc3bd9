#pragma once
// Onglets: the painted tab strip "Corde", "Onde", "Outils" that shows one of
// the three panels (Picture3, Frame2, Picture1) in its panel area.
// With the keyboard focus the arrows, Home and End choose a tab as a tab bar
// does; screen readers see a tab list of three tabs.

#include "mainwin/tab_strip_painter.h"

#include <QWidget>
#include <array>

namespace tolvi {

class TabStrip : public QWidget {
    Q_OBJECT
public:
    explicit TabStrip(QWidget* parent = nullptr);

    // The panels of tabs 1, 2 and 3; they become children of the strip.
    void setPanels(QWidget* corde, QWidget* onde, QWidget* outils);

    // 0 at creation (drawn as tab 1), then the last tab chosen.
    int currentTab() const { return current_; }
    // The geometry for the current tab, from the strip's font metrics.
    TabGeometry geometry() const;

    // A mouse release at (x, y) in the strip's pixels.
    void Onglets_MouseUp(double x, double y);
    // As a click in the middle of tab n (1 .. 3) would do.
    void selectTab(int n);
    // The next or previous tab, going round (Ctrl+Tab, Ctrl+Shift+Tab).
    void nextTab(int step);
    // Where tab n (1 .. 3) lies in the strip's pixels.
    QRect tabRect(int n) const;

signals:
    void tabChanged(int tab);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Hides the other panels, places the current one and shows it.
    void placePanels(const TabGeometry& geometry);

    int current_ = 0;
    std::array<QWidget*, 4> panels_{};
};

}  // namespace tolvi
