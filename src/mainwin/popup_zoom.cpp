#include "mainwin/popup_zoom.h"

#include "mainwin/zoom.h"

#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>

namespace tolvi {

namespace {
// The font a menu had before any zoom, kept on the menu.
constexpr const char* kMenuFont = "tolviMenuDesignFont";
constexpr const char* kMenuWatched = "tolviMenuZoomWatched";
}  // namespace

PopupZoom::PopupZoom(QWidget& zoomed, QObject* parent)
    : QObject(parent), zoomed_(zoomed), tipFont_(QToolTip::font())
{
    qApp->installEventFilter(this);
}

PopupZoom::~PopupZoom()
{
    qApp->removeEventFilter(this);
    if (QToolTip::font() != tipFont_)
        QToolTip::setFont(tipFont_);
}

double PopupZoom::zoomFor(const QWidget* popup) const
{
    const QWidget* from = popup ? popup->parentWidget() : nullptr;
    if (!from)
        return zoom::of(&zoomed_);
    return from->window() == &zoomed_ ? zoom::of(&zoomed_) : 1.0;
}

void PopupZoom::fit(QMenu* menu) const
{
    if (!menu->property(kMenuFont).isValid())
        menu->setProperty(kMenuFont, menu->font());
    const QFont font = zoom::scaledFont(menu->property(kMenuFont).value<QFont>(), zoomFor(menu));
    if (menu->font() != font)
        menu->setFont(font);
}

bool PopupZoom::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Polish) {
        // A menu is polished before its first showing, whoever made it (Qt
        // makes the window's right-click menu anew each time); one that is
        // shown again is fitted again just before.
        if (auto* menu = qobject_cast<QMenu*>(watched); menu && !menu->property(kMenuWatched).isValid()) {
            menu->setProperty(kMenuWatched, true);
            fit(menu);
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { fit(menu); });
        }
    } else if (event->type() == QEvent::ToolTip) {
        // The hover text of a control of the zoomed window, as large as its
        // texts; any other window's at the usual size.
        if (auto* widget = qobject_cast<QWidget*>(watched)) {
            const double z = widget->window() == &zoomed_ ? zoom::of(&zoomed_) : 1.0;
            const QFont font = zoom::scaledFont(tipFont_, z);
            if (QToolTip::font() != font)
                QToolTip::setFont(font);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tolvi
