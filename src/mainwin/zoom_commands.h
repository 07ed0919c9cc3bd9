#pragma once
// The window's zoom commands, in its right-click menu with their keys:
// "Agrandir" (Ctrl++), "Réduire" (Ctrl+−), "Taille normale" (Ctrl+0),
// "Plein écran" (F11; Échap or F11 to come back) and, for a full screen
// wider than the window's proportions, "Disposition pour projeter": the
// rope and the graph across the whole screen with the controls a teacher
// drives below them in large type.
//
// Full screen is the window itself, frameless, at the largest zoom the
// screen holds: its dialogs, menus and hover texts stay ordinary windows.

#include <QObject>
#include <QPointF>
#include <QRect>
#include <QSize>

class QAction;

namespace tolvi {
class FeuilleP;
class PopupZoom;
class ProjectionLayout;

// The outer size a window of client size `client` needs on a screen whose
// usable area is `available`, with a title bar and borders of `frame`: fits
// when it does not exceed the area.
bool fitsOnScreen(const QRect& available, QSize client, QSize frame);

// The scale that shows a `client` layout whole in `area`, proportions kept.
double fittingScale(QSize area, QSize client);

// How the window fills a screen of `screen` pixels: the zoom and where the
// designed layout's top-left lies (centred).
struct FullScreenPlan {
    double zoom = 1.0;
    QPointF at;
};
FullScreenPlan fullScreenPlan(QSize screen);
// Whether a screen is wide enough for the projection layout to gain room
// over the whole window zoomed (wider than the window's 4:3).
bool wideScreen(QSize screen);

class ZoomCommands : public QObject {
    Q_OBJECT
public:
    enum class Mode { Window, FullWindow, Projection };

    explicit ZoomCommands(FeuilleP& window);
    ~ZoomCommands() override;

    // Shows the window: at zoom 1, or smaller on a screen too small for it.
    void show();

    void zoomIn();
    void zoomOut();
    void zoomReset();
    // Zoom of the window outside full screen, kept in the range the screen
    // holds.
    void setZoom(double zoom);

    // F11 and the menu entry.
    void toggleFullScreen();
    // Full screen on `screen` (the window's screen when empty); laid out
    // only, not shown, unless `show` (batch runs write pictures of it).
    void enterFullScreen(QRect screen = QRect(), bool show = true);
    void leaveFullScreen();
    Mode mode() const { return mode_; }

    // The choice between the whole window zoomed and the projection layout
    // in full screen (taken at once when in full screen).
    void setProjectionPreferred(bool preferred);
    bool projectionPreferred() const { return projectionPreferred_; }
    ProjectionLayout* projection() const { return projection_; }

    QAction* zoomInAction() const { return zoomIn_; }
    QAction* zoomOutAction() const { return zoomOut_; }
    QAction* zoomResetAction() const { return zoomReset_; }
    QAction* fullScreenAction() const { return fullScreen_; }
    QAction* projectionAction() const { return projectionChoice_; }
    QAction* escapeAction() const { return escape_; }

private:
    QAction* addCommand(const char* name, const QString& text, const QString& hover);
    // The largest zoom at which the framed window fits the screen's usable area.
    double largestWindowZoom() const;
    void layOutFullScreen();
    void syncActions();

    FeuilleP& window_;
    QAction* zoomIn_ = nullptr;
    QAction* zoomOut_ = nullptr;
    QAction* zoomReset_ = nullptr;
    QAction* fullScreen_ = nullptr;
    QAction* projectionChoice_ = nullptr;
    QAction* escape_ = nullptr;
    Mode mode_ = Mode::Window;
    bool projectionPreferred_ = false;
    QRect screen_;
    double savedZoom_ = 1.0;
    QRect savedGeometry_;
    ProjectionLayout* projection_ = nullptr;  // made on first use, owned by the window
    PopupZoom* popups_ = nullptr;
};

}  // namespace tolvi
