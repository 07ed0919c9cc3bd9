#include "mainwin/full_screen.h"

#include "mainwin/feuille_p.h"
#include "mainwin/layout.h"

#include <QAction>
#include <QCloseEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QPaintEngine>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace tolvi {

namespace {
// Borders and title bar a window manager usually adds, for the first
// placement before the real ones are known.
const QSize kUsualFrame(12, 40);
}  // namespace

bool fitsOnScreen(const QRect& available, QSize client, QSize frame)
{
    const QSize outer = client + frame;
    return outer.width() <= available.width() && outer.height() <= available.height();
}

double fittingScale(QSize area, QSize client)
{
    if (client.isEmpty() || area.isEmpty())
        return 1.0;
    return std::min(double(area.width()) / client.width(), double(area.height()) / client.height());
}

namespace {
// The window in the view. Repainting a part of the view, the window draws
// the parts the view repaints (the rope's moving stretches, the graph's
// newest strokes), not the rectangle around them all: the buttons and the
// background between the pictures are left as they are.
class WindowProxy : public QGraphicsProxyWidget {
public:
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*) override
    {
        QWidget* shown = widget();
        if (!shown || !shown->isVisible())
            return;
        QRegion exposed = QRegion((option->exposedRect & rect()).toAlignedRect());
        // What the view repaints now, in device pixels: back to the
        // window's units, each part rounded outwards (a part inside a
        // picture stays inside it, and the window behind is not drawn;
        // the hundredth of a pixel keeps rounding errors from reaching it).
        const QRegion device = painter->paintEngine() ? painter->paintEngine()->systemClip() : QRegion();
        bool invertible = false;
        const QTransform back = painter->deviceTransform().inverted(&invertible);
        if (!device.isEmpty() && invertible) {
            QRegion parts;
            for (const QRect& r : device)
                parts += back.mapRect(QRectF(r).adjusted(0.01, 0.01, -0.01, -0.01)).toAlignedRect();
            exposed &= parts;
        }
        if (exposed.isEmpty())
            return;
        shown->render(painter, exposed.boundingRect().topLeft(), exposed);
    }
};
}  // namespace

// ---------------------------------------------------------------------------

ScaledView::ScaledView(QWidget* parent) : QGraphicsView(parent)
{
    setObjectName(QStringLiteral("pleinEcran"));
    setScene(new QGraphicsScene(this));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignCenter);
    setBackgroundBrush(QColor(32, 32, 32));
    // The view paints its background itself (the brush, then the window):
    // the viewport is not filled first with its palette's.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setRenderHints(QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    setTransformationAnchor(QGraphicsView::AnchorViewCenter);
}

bool ScaledView::embed(QWidget* window)
{
    if (!window || window->parentWidget() || proxy_)
        return false;
    auto* proxy = new WindowProxy;
    proxy->setWidget(window);
    if (proxy->widget() != window) {
        proxy->setWidget(nullptr);
        delete proxy;
        return false;
    }
    scene()->addItem(proxy);
    proxy_ = proxy;
    proxy_->setPos(0, 0);
    connect(proxy_, &QGraphicsWidget::geometryChanged, this, &ScaledView::fit);
    scene()->setActiveWindow(proxy_);
    scene()->setFocusItem(proxy_);
    fit();
    return true;
}

void ScaledView::release()
{
    if (!proxy_)
        return;
    QGraphicsProxyWidget* proxy = proxy_;
    proxy_ = nullptr;
    proxy->setWidget(nullptr);
    scene()->removeItem(proxy);
    delete proxy;
}

QWidget* ScaledView::embedded() const
{
    return proxy_ ? proxy_->widget() : nullptr;
}

double ScaledView::scale() const
{
    return transform().m11();
}

void ScaledView::fit()
{
    if (!proxy_)
        return;
    const QRectF shown = proxy_->sceneBoundingRect();
    setSceneRect(shown);
    const double k = fittingScale(viewport()->size(), shown.size().toSize());
    setTransform(QTransform::fromScale(k, k));
    centerOn(shown.center());
}

void ScaledView::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    fit();
}

void ScaledView::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (closeRequest)
        closeRequest();
}

// ---------------------------------------------------------------------------

FullScreen::FullScreen(FeuilleP& window) : window_(window)
{
    action_ = new QAction(QStringLiteral("Plein écran"), &window);
    action_->setObjectName(QStringLiteral("pleinEcranAction"));
    action_->setCheckable(true);
    action_->setShortcut(QKeySequence(Qt::Key_F11));
    action_->setShortcutContext(Qt::ApplicationShortcut);
    action_->setToolTip(hoverText());
    action_->setStatusTip(hoverText());
    connect(action_, &QAction::triggered, this, [this] { toggle(); });
    connect(action_, &QAction::hovered, this, [this] { window_.setInfo(hoverText()); });
    window.addAction(action_);
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
}

FullScreen::~FullScreen()
{
    if (view_) {
        view_->release();
        delete view_;
    }
}

QString FullScreen::hoverText()
{
    return QStringLiteral("Plein écran : toute la fenêtre à la taille de l'écran, pour la projeter en classe "
                          "(F11 ; Échap ou F11 pour revenir)");
}

bool FullScreen::screenTooSmall() const
{
    const QScreen* screen = window_.screen();
    if (!screen)
        return false;
    const QSize frame = window_.isVisible() && window_.frameGeometry().size() != window_.size()
                            ? window_.frameGeometry().size() - window_.size()
                            : kUsualFrame;
    return !fitsOnScreen(screen->availableGeometry(), layout::kClient, frame);
}

void FullScreen::show()
{
    if (screenTooSmall())
        showFitted();
    else
        showPlain();
}

void FullScreen::toggle()
{
    if (mode_ == Mode::Full)
        leave();
    else
        enter();
}

bool FullScreen::embedWindow()
{
    if (!view_) {
        view_ = new ScaledView;
        view_->closeRequest = [this] { window_.close(); };
        escape_ = new QAction(view_);
        escape_->setShortcut(QKeySequence(Qt::Key_Escape));
        escape_->setShortcutContext(Qt::WindowShortcut);
        connect(escape_, &QAction::triggered, this, [this] { leave(); });
        view_->addAction(escape_);
        view_->addAction(action_);
        connect(&window_, &QWidget::windowTitleChanged, view_, &QWidget::setWindowTitle);
    }
    if (view_->embedded())
        return true;
    view_->setWindowTitle(window_.windowTitle());
    window_.hide();
    const bool embedded = view_->embed(&window_);
    window_.show();
    return embedded;
}

void FullScreen::enter()
{
    if (mode_ == Mode::Full)
        return;
    QScreen* screen = window_.screen();
    if (mode_ == Mode::Plain)
        plainPosition_ = window_.pos();
    if (!embedWindow())
        return;
    if (screen)
        view_->setGeometry(screen->geometry());
    mode_ = Mode::Full;
    view_->showFullScreen();
    view_->activateWindow();
    window_.setFocus();
    action_->setChecked(true);
}

void FullScreen::leave()
{
    if (mode_ != Mode::Full)
        return;
    action_->setChecked(false);
    if (screenTooSmall()) {
        view_->showNormal();
        showFitted();
    } else {
        showPlain();
        window_.move(plainPosition_);
    }
}

void FullScreen::showFitted()
{
    if (!embedWindow())
        return;
    mode_ = Mode::Fitted;
    const QScreen* screen = window_.screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), layout::kClient);
    view_->setWindowState(Qt::WindowNoState);
    view_->resize(available.size() - kUsualFrame);
    view_->move(available.topLeft());
    view_->show();
    fitFrame(available, kFrameTries);
}

void FullScreen::fitFrame(QRect available, int tries)
{
    // Once the window manager framed the view, the frame itself is made to
    // fit the screen, its title bar at the top. A manager frames a window a
    // moment after it is shown: until then the view keeps room for a usual
    // frame (and keeps it for good when there is no manager).
    QTimer::singleShot(tries == kFrameTries ? 0 : 50, view_, [this, available, tries] {
        if (mode_ != Mode::Fitted || !view_)
            return;
        const QSize frame = view_->frameGeometry().size() - view_->size();
        if (frame.width() <= 0 && frame.height() <= 0) {
            if (tries > 0)
                fitFrame(available, tries - 1);
            return;
        }
        view_->resize(available.size() - frame);
        view_->move(available.topLeft());
    });
}

void FullScreen::showPlain()
{
    if (view_ && view_->embedded()) {
        window_.hide();
        view_->release();
        view_->hide();
    }
    mode_ = Mode::Plain;
    window_.show();
    window_.activateWindow();
}

}  // namespace tolvi
