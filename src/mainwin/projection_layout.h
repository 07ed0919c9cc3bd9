#pragma once
// The projection layout of a full wide screen: the rope and the graph take
// the screen's whole width, one above the other, and below them, in large
// type, what a teacher drives during a demonstration: the wave's start,
// pause, step and slow motion, the graph's recording, the chronometer and
// the markers' abscissas. The parameter tabs and the exercise area wait in
// the normal layout, a button (or F9) away.
//
// The controls are the window's own, placed again; their designed places
// and fonts come back when the layout is left.

#include <QFont>
#include <QObject>
#include <QRect>
#include <QSize>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QWidget;

namespace tolvi {
class FeuilleP;

class ProjectionLayout : public QObject {
    Q_OBJECT
public:
    // `leave` brings the whole window back (the back button).
    ProjectionLayout(FeuilleP& window, std::function<void()> leave);
    ~ProjectionLayout() override;

    // Lays the window (full screen on `screen`) out for projecting.
    void apply(QSize screen);
    // Puts every control back in its designed place.
    void restore();
    bool isShown() const { return shown_; }

    // The zoom of the projection on a screen `screen` wide: the width of the
    // design across the whole screen.
    static double zoomFor(QSize screen);

    // The labels of the markers' abscissas ("x1 = 2,5 m") and the
    // chronometer's caption, and the button back to the whole window.
    QLabel* abscissa(int i) const { return abscissa_[i]; }
    QLabel* chronoCaption() const { return chronoCaption_; }
    QPushButton* backButton() const { return back_; }
    // The chronometer reading and the readout under the pointer.
    QLabel* chronoReading() const;

private:
    struct Saved {
        QWidget* widget;
        QRect design;
        bool ownFont;
        QFont font;
        bool hidden;
    };
    void move(QWidget* widget, const QRect& design, const QFont* font = nullptr);
    void syncAbscissas();

    FeuilleP& window_;
    bool shown_ = false;
    std::vector<Saved> saved_;
    QLabel* abscissa_[2] = {nullptr, nullptr};
    QLabel* chronoCaption_ = nullptr;
    QPushButton* back_ = nullptr;
};

}  // namespace tolvi
