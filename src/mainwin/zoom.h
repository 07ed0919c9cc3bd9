#pragma once
// The main window's zoom: every control of the 800 × 600 design laid out at
// zoom × its designed geometry, its font enlarged as much, and the painted
// controls drawing their design in a painter scaled by the zoom (so that
// pictures are made at zoom × the device pixel ratio, sharp at any size).
// At zoom 1 nothing differs from the design.
//
// Each control keeps its designed geometry and font beside it; code that
// moves a control while the program runs places it with `place`, in design
// units, and the zoom puts it where the design and the zoom say.

#include <QFont>
#include <QPointF>
#include <QRect>
#include <QRegion>

class QPainter;
class QWidget;

namespace tolvi::zoom {

// The zoom of the window that holds `widget` (1 when none was set).
double of(const QWidget* widget);
// Where the designed window lies in the window (in full screen the layout is
// centred on the screen): added to the place of the window's own children.
QPointF offset(const QWidget* window);

// A designed rectangle at zoom `z`, its edges rounded to whole pixels, so
// that neighbouring controls stay neighbours.
QRect scaled(const QRect& design, double z, QPointF at = QPointF());
// The designed units that a widget's rectangle covers, rounded outwards.
QRect toDesign(const QRect& widgetRect, double z);
// A region of designed units in widget pixels, rounded outwards.
QRegion toWidget(const QRegion& design, double z);

// The designed geometry of `widget` (its geometry when it has none yet).
QRect designRect(const QWidget* widget);
QSize designSize(const QWidget* widget);
// Places `widget` at `design` (designed units of its parent), now and at
// every later zoom.
void place(QWidget* widget, const QRect& design);
// Gives `widget` a designed font (used at zoom × its size from now on).
void setDesignFont(QWidget* widget, const QFont& font);
// Takes the designed font away: `widget` takes its parent's again.
void clearDesignFont(QWidget* widget);
// Whether `widget` has a designed font of its own.
bool hasDesignFont(const QWidget* widget);
QFont designFont(const QWidget* widget);
// Keeps `widget`'s font as it is at every zoom: the widget scales what it
// shows itself.
void keepDesignFont(QWidget* widget);
// A font enlarged by `z` (point or pixel size as it is given).
QFont scaledFont(QFont font, double z);

// Scales a painter that draws on `widget` by the widget's zoom: what is drawn
// next is in designed units.
void scalePainter(QPainter& painter, const QWidget* widget);

// Lays `window` and every control in it out at zoom `z`, the design's origin
// at `at` in the window. Controls met for the first time keep their present
// geometry and font as their design (the window is at its design then).
void apply(QWidget* window, double z, QPointF at = QPointF());
// Lays one control and what it holds out again at the window's zoom.
void relayout(QWidget* widget);

// Gives the check boxes and option buttons in `window` a style whose boxes
// and circles grow with the zoom (the application's style otherwise).
void scaleIndicators(QWidget* window);

// The zooms of the menu entries (Ctrl++ and Ctrl+−) in order.
double larger(double z);
double smaller(double z);
constexpr double kSmallest = 0.5;
constexpr double kLargest = 4.0;

}  // namespace tolvi::zoom
