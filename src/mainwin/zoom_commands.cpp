#include "mainwin/zoom_commands.h"

#include "mainwin/feuille_p.h"
#include "mainwin/layout.h"
#include "mainwin/popup_zoom.h"
#include "mainwin/projection_layout.h"
#include "mainwin/size_rule.h"
#include "mainwin/zoom.h"

#include <QAction>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace tolvi {

namespace {
// Borders and title bar a window manager usually adds, before the real ones
// are known.
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

FullScreenPlan fullScreenPlan(QSize screen)
{
    FullScreenPlan plan;
    plan.zoom = fittingScale(screen, layout::kClient);
    const QSize laid = zoom::scaled(QRect(QPoint(0, 0), layout::kClient), plan.zoom).size();
    plan.at = QPointF(std::floor((screen.width() - laid.width()) / 2.0), std::floor((screen.height() - laid.height()) / 2.0));
    return plan;
}

bool wideScreen(QSize screen)
{
    // Wider than 4:3 by a tenth at least: a 16:10 or 16:9 screen.
    return !screen.isEmpty() && double(screen.width()) / screen.height() >
                                    1.1 * double(layout::kClient.width()) / layout::kClient.height();
}

ZoomCommands::ZoomCommands(FeuilleP& window) : QObject(&window), window_(window)
{
    zoomIn_ = addCommand("agrandir", QStringLiteral("Agrandir"),
                         QStringLiteral("Agrandir toute la fenêtre (Ctrl++)"));
    zoomIn_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(zoomIn_, &QAction::triggered, this, &ZoomCommands::zoomIn);

    zoomOut_ = addCommand("reduire", QStringLiteral("Réduire"), QStringLiteral("Réduire toute la fenêtre (Ctrl+−)"));
    zoomOut_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    connect(zoomOut_, &QAction::triggered, this, &ZoomCommands::zoomOut);

    zoomReset_ = addCommand("tailleNormale", QStringLiteral("Taille normale"),
                            QStringLiteral("La fenêtre à sa taille d'origine, 800 × 600 (Ctrl+0)"));
    zoomReset_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(zoomReset_, &QAction::triggered, this, &ZoomCommands::zoomReset);

    fullScreen_ = addCommand("pleinEcranAction", QStringLiteral("Plein écran"),
                             QStringLiteral("Plein écran : toute la fenêtre à la taille de l'écran, pour la projeter "
                                            "en classe (F11 ; Échap ou F11 pour revenir)"));
    fullScreen_->setCheckable(true);
    fullScreen_->setShortcut(QKeySequence(Qt::Key_F11));
    connect(fullScreen_, &QAction::triggered, this, &ZoomCommands::toggleFullScreen);

    projectionChoice_ = addCommand(
        "dispositionProjection", QStringLiteral("Disposition pour projeter"),
        QStringLiteral("En plein écran sur un écran large : la corde et le graphe sur toute la largeur, les "
                       "commandes et le chronomètre en grand dessous (F9 ; F9 encore pour toute la fenêtre)"));
    projectionChoice_->setCheckable(true);
    projectionChoice_->setShortcut(QKeySequence(Qt::Key_F9));
    connect(projectionChoice_, &QAction::triggered, this, [this](bool on) { setProjectionPreferred(on); });

    // Échap leaves full screen; outside it the key is left to the window.
    escape_ = addCommand("quitterPleinEcran", QStringLiteral("Quitter le plein écran"),
                         QStringLiteral("Revenir à la fenêtre telle qu'elle était avant le plein écran (Échap ou F11)"));
    escape_->setShortcut(QKeySequence(Qt::Key_Escape));
    escape_->setEnabled(false);
    connect(escape_, &QAction::triggered, this, &ZoomCommands::leaveFullScreen);
    window_.setContextMenuPolicy(Qt::ActionsContextMenu);
    popups_ = new PopupZoom(window_, this);
    syncActions();
}

ZoomCommands::~ZoomCommands() = default;

QAction* ZoomCommands::addCommand(const char* name, const QString& text, const QString& hover)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hover);
    action->setStatusTip(hover);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::hovered, this, [this, hover] { window_.setInfo(hover); });
    window_.addAction(action);
    return action;
}

void ZoomCommands::show()
{
    // A screen too small for the window (a 1920 × 1080 screen at 200 % is
    // 960 × 540) shows it reduced so that its frame lies on the screen; a
    // screen up to 850 pixels wide keeps it maximised.
    const QScreen* screen = window_.screen();
    if (screen && screen->geometry().width() > kSizeRuleScreenWidth) {
        const QSize frame = window_.isVisible() && window_.frameGeometry().size() != window_.size()
                                ? window_.frameGeometry().size() - window_.size()
                                : kUsualFrame;
        if (!fitsOnScreen(screen->availableGeometry(), window_.zoomedClient(), frame))
            window_.setZoom(std::max(0.25, std::floor(largestWindowZoom() * 100.0) / 100.0));
    }
    window_.show();
    syncActions();
}

double ZoomCommands::largestWindowZoom() const
{
    const QScreen* screen = window_.screen();
    if (!screen)
        return zoom::kLargest;
    const QSize frame = window_.isVisible() && window_.frameGeometry().size() != window_.size()
                            ? window_.frameGeometry().size() - window_.size()
                            : kUsualFrame;
    const QSize room = screen->availableGeometry().size() - frame;
    return std::min(zoom::kLargest, fittingScale(room, layout::kClient));
}

void ZoomCommands::setZoom(double zoom)
{
    if (mode_ != Mode::Window)
        return;
    const double z = std::clamp(zoom, std::min(zoom::kSmallest, window_.zoomFactor()),
                                std::max(1.0, std::min(largestWindowZoom(), zoom::kLargest)));
    if (z == window_.zoomFactor())
        return;
    const QSize frame = window_.frameGeometry().size() - window_.size();
    window_.setZoom(z);
    // Centred again on the screen at its new size.
    if (window_.isVisible()) {
        if (const QScreen* screen = window_.screen()) {
            const QRect area = screen->availableGeometry();
            const QSize outer = window_.size() + frame;
            window_.move(area.left() + std::max(0, (area.width() - outer.width()) / 2),
                         area.top() + std::max(0, (area.height() - outer.height()) / 2));
        }
    }
    syncActions();
}

void ZoomCommands::zoomIn()
{
    setZoom(zoom::larger(window_.zoomFactor()));
}

void ZoomCommands::zoomOut()
{
    setZoom(zoom::smaller(window_.zoomFactor()));
}

void ZoomCommands::zoomReset()
{
    setZoom(1.0);
}

void ZoomCommands::toggleFullScreen()
{
    if (mode_ == Mode::Window)
        enterFullScreen();
    else
        leaveFullScreen();
}

void ZoomCommands::enterFullScreen(QRect screen, bool show)
{
    if (mode_ != Mode::Window) {
        syncActions();
        return;
    }
    if (screen.isEmpty()) {
        const QScreen* s = window_.screen();
        screen = s ? s->geometry() : QRect(QPoint(0, 0), layout::kClient);
    }
    screen_ = screen;
    savedZoom_ = window_.zoomFactor();
    savedGeometry_ = window_.geometry();
    window_.setFullScreenShown(true);
    mode_ = Mode::FullWindow;
    layOutFullScreen();
    window_.setGeometry(screen);
    if (show) {
        window_.showFullScreen();
        window_.activateWindow();
    }
    syncActions();
}

void ZoomCommands::layOutFullScreen()
{
    const QSize size = screen_.size();
    const bool projection = projectionPreferred_ && wideScreen(size);
    if (!projection && projection_ && projection_->isShown())
        projection_->restore();
    const FullScreenPlan plan = fullScreenPlan(size);
    window_.setZoom(plan.zoom, plan.at, true);
    if (projection) {
        if (!projection_)
            projection_ = new ProjectionLayout(window_, [this] { setProjectionPreferred(false); });
        projection_->apply(size);
        mode_ = Mode::Projection;
    } else {
        mode_ = Mode::FullWindow;
    }
}

void ZoomCommands::leaveFullScreen()
{
    if (mode_ == Mode::Window) {
        syncActions();
        return;
    }
    if (projection_ && projection_->isShown())
        projection_->restore();
    mode_ = Mode::Window;
    if (window_.isVisible())
        window_.showNormal();
    window_.setZoom(savedZoom_);
    window_.setFullScreenShown(false);
    if (!savedGeometry_.isEmpty())
        window_.setGeometry(savedGeometry_);
    window_.activateWindow();
    syncActions();
}

void ZoomCommands::setProjectionPreferred(bool preferred)
{
    projectionPreferred_ = preferred;
    if (mode_ != Mode::Window)
        layOutFullScreen();
    syncActions();
}

void ZoomCommands::syncActions()
{
    const bool windowed = mode_ == Mode::Window;
    fullScreen_->setChecked(!windowed);
    escape_->setEnabled(!windowed);
    zoomIn_->setEnabled(windowed);
    zoomOut_->setEnabled(windowed);
    zoomReset_->setEnabled(windowed);
    projectionChoice_->setChecked(projectionPreferred_);
}

}  // namespace tolvi
