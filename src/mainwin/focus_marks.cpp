#include "mainwin/focus_marks.h"

#include <QApplication>
#include <QFocusFrame>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>

namespace tolvi {

namespace {

class RingStyle : public QProxyStyle {
public:
    RingStyle() : QProxyStyle(QStringLiteral("fusion")) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin)
            return kFocusRingWidth;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    // Over the neighbours: buttons side by side would hide its sides.
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_FocusFrame_AboveWidget)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element != CE_FocusFrame) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        const QColor tones[kFocusRingWidth] = {Qt::black, Qt::white, Qt::black};
        for (int i = 0; i < kFocusRingWidth; ++i) {
            painter->setPen(QPen(tones[i], 1));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option->rect.adjusted(i, i, -1 - i, -1 - i));
        }
        painter->restore();
    }
};

RingStyle* ringStyle()
{
    static RingStyle* style = [] {
        auto* s = new RingStyle;
        s->setParent(qApp);
        return s;
    }();
    return style;
}

QPointer<QFocusFrame>& ring()
{
    static QPointer<QFocusFrame> frame;
    return frame;
}

// Controls whose ring would mean nothing: windows themselves, and menus and
// drop-down lists, which show their own current item.
bool ringed(const QWidget* widget)
{
    if (!widget || widget->isWindow() || !widget->parentWidget())
        return false;
    const QWidget* window = widget->window();
    return !(window->windowType() == Qt::Popup || qobject_cast<const QMenu*>(window));
}

void follow(QWidget* now)
{
    if (!ringed(now)) {
        if (ring())
            ring()->setWidget(nullptr);
        return;
    }
    if (!ring()) {
        ring() = new QFocusFrame;
        ring()->setObjectName(QStringLiteral("focusRing"));
        ring()->setStyle(ringStyle());
    }
    ring()->setWidget(now);
    ring()->raise();
}

}  // namespace

void installFocusMarks()
{
    static bool installed = false;
    if (installed || !qApp)
        return;
    installed = true;
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) { follow(now); });
    follow(QApplication::focusWidget());
}

QFocusFrame* focusRing()
{
    return ring() && ring()->widget() ? ring().data() : nullptr;
}

}  // namespace tolvi
