#pragma once
// "Plein écran": the whole main window, its 800 × 600 layout kept, enlarged
// to fill the screen for projecting in class, its proportions kept. The
// window's widgets stay the real ones (they take the keyboard and the mouse
// as usual): the window is shown through a view that scales it, and draws
// its pictures at the enlarged resolution. F11, or the "Plein écran" entry
// of the window's right-click menu, enters and leaves; Escape leaves.
//
// On a screen too small for the window (a 1920 × 1080 screen at 200 % is
// 960 × 540), the same view shows the window reduced to fit the screen, in a
// normal window whose title bar is on the screen.

#include <QGraphicsView>
#include <QPointer>
#include <QRect>
#include <functional>

class QAction;
class QGraphicsProxyWidget;
class QScreen;

namespace tolvi {
class FeuilleP;

// The outer size a window of client size `client` needs on a screen whose
// usable area is `available`, with a title bar and borders of `frame`: fits
// when it does not exceed the area.
bool fitsOnScreen(const QRect& available, QSize client, QSize frame);

// The scale that shows a `client` layout whole in `area`, proportions kept.
double fittingScale(QSize area, QSize client);

// The view that shows one embedded window scaled to fill it.
class ScaledView : public QGraphicsView {
    Q_OBJECT
public:
    explicit ScaledView(QWidget* parent = nullptr);

    // Embeds `window` (a top-level widget); returns false when it cannot.
    bool embed(QWidget* window);
    // Gives the window back as a top-level widget.
    void release();
    QWidget* embedded() const;
    // The scale the window is shown at.
    double scale() const;

    // Asked to close: the embedded window decides (with its questions).
    std::function<void()> closeRequest;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fit();
    QPointer<QGraphicsProxyWidget> proxy_;
};

// Owned beside the window and destroyed before it.
class FullScreen : public QObject {
    Q_OBJECT
public:
    enum class Mode { Plain, Fitted, Full };

    explicit FullScreen(FeuilleP& window);
    ~FullScreen() override;

    // Shows the window: as it is, or fitted to a screen too small for it.
    void show();
    // F11 and the menu entry.
    void toggle();
    void enter();
    void leave();

    Mode mode() const { return mode_; }
    QAction* action() const { return action_; }
    ScaledView* view() const { return view_; }

    // The hover text of the menu entry.
    static QString hoverText();

private:
    bool screenTooSmall() const;
    // Puts the window in the view (made on first use); false when it cannot.
    bool embedWindow();
    void showFitted();
    // Fits the framed view to `available` once the window manager framed
    // it, looking again `tries` times.
    void fitFrame(QRect available, int tries);
    void showPlain();

    static constexpr int kFrameTries = 40;  // 2 s

    FeuilleP& window_;
    QPointer<ScaledView> view_;
    QAction* action_ = nullptr;
    QAction* escape_ = nullptr;
    Mode mode_ = Mode::Plain;
    QPoint plainPosition_;
};

}  // namespace tolvi
