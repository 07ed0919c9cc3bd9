#pragma once
// The painted tab strip Onglets: "Corde", "Onde", "Outils" above a panel
// area. Bounds come from the real font metrics, the current tab measured in
// bold.

#include <QColor>
#include <QRect>
#include <QString>
#include <array>

class QFont;
class QPainter;
class QPaintDevice;

namespace tolvi {

struct TabGeometry {
    int current = 1;                 // the tab drawn as current (1 .. 3)
    int h = 0;                       // height of the tab row: height of "W"
    double g = 0.0;                  // gap on each side of a tab's text
    std::array<int, 6> bounds{};     // tab k spans bounds[k-1] < x <= bounds[k]
    std::array<int, 4> textWidth{};  // widths of the texts, index 1 .. 3
};

constexpr QColor tabStripColour() { return QColor(210, 205, 200); }

QString tabText(int k);  // "Corde", "Onde", "Outils"; empty otherwise

// The font of the strip: Arial 8, not bold.
QFont tabFont();

// Geometry for an inner width W and a current tab (0 is taken as 1), with the
// metrics of `font` on `device` (the device's resolution matters).
TabGeometry tabGeometry(const QFont& font, QPaintDevice* device, int W, int current);

// The tab a release at (x, y) chooses: 0 outside the tab row's columns; -1
// when the release does not count (y outside 0 .. 15).
int tabAt(const TabGeometry& geometry, double x, double y);

// Where the keyboard-focus mark goes: around the current tab's caption.
QRect tabFocusRect(const TabGeometry& geometry);

// Where the current tab's panel goes inside a strip of W x H.
QRect panelRect(const TabGeometry& geometry, int W, int H);

// Onglets_Paint's drawing (outline, texts, frame of the panel area) on a
// strip of W x H already filled with its background colour.
void paintTabStrip(QPainter& painter, const TabGeometry& geometry, int W, int H);

}  // namespace tolvi
