#include "mainwin/zoom.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyleFactory>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVariant>
#include <QWidget>
#include <array>
#include <cmath>

namespace tolvi::zoom {

namespace {
const char* const kZoom = "tolviZoom";
const char* const kOffset = "tolviZoomOffset";
const char* const kDesign = "tolviDesign";
const char* const kFont = "tolviDesignFont";
const char* const kSeen = "tolviDesignSeen";
const char* const kIcon = "tolviDesignIcon";
const char* const kMargins = "tolviDesignMargins";
const char* const kIndent = "tolviDesignIndent";
const char* const kKeepsFont = "tolviKeepsDesignFont";

int px(double v)
{
    return int(std::lround(v));
}

QPointF childOffset(const QWidget* widget)
{
    const QWidget* parent = widget->parentWidget();
    return parent && parent == widget->window() ? offset(parent) : QPointF();
}

// Controls that lay their own parts out (scroll bars, viewports, spin
// buttons): only the control itself is placed.
bool placesItsOwnParts(const QWidget* widget)
{
    return qobject_cast<const QAbstractScrollArea*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QComboBox*>(widget);
}

void remember(QWidget* widget)
{
    if (widget->property(kSeen).toBool())
        return;
    widget->setProperty(kSeen, true);
    if (!widget->property(kDesign).isValid())
        widget->setProperty(kDesign, widget->geometry());
    if (!widget->property(kFont).isValid() && widget->testAttribute(Qt::WA_SetFont))
        widget->setProperty(kFont, widget->font());
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->icon().isNull())
        widget->setProperty(kIcon, button->iconSize());
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        const QMargins m = edit->textMargins();
        widget->setProperty(kMargins, QRect(m.left(), m.top(), m.right(), m.bottom()));
    }
    if (auto* label = qobject_cast<QLabel*>(widget); label && label->indent() > 0)
        widget->setProperty(kIndent, label->indent());
}

void layOut(QWidget* widget, double z, QPointF at)
{
    remember(widget);
    const QRect want = scaled(widget->property(kDesign).toRect(), z, at);
    if (widget->geometry() != want)
        widget->setGeometry(want);
    const QVariant font = widget->property(kFont);
    if (font.isValid() && !widget->property(kKeepsFont).toBool()) {
        const QFont f = scaledFont(font.value<QFont>(), z);
        if (widget->font() != f)
            widget->setFont(f);
    }
    const QVariant icon = widget->property(kIcon);
    if (icon.isValid())
        static_cast<QAbstractButton*>(widget)->setIconSize(
            QSize(px(icon.toSize().width() * z), px(icon.toSize().height() * z)));
    const QVariant margins = widget->property(kMargins);
    if (margins.isValid()) {
        const QRect m = margins.toRect();
        static_cast<QLineEdit*>(widget)->setTextMargins(px(m.x() * z), px(m.y() * z), px(m.width() * z),
                                                        px(m.height() * z));
    }
    const QVariant indent = widget->property(kIndent);
    if (indent.isValid())
        static_cast<QLabel*>(widget)->setIndent(px(indent.toInt() * z));
    if (placesItsOwnParts(widget))
        return;
    for (QObject* child : widget->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isWindow())
            layOut(w, z, QPointF());
    }
}
}  // namespace

void keepDesignFont(QWidget* widget)
{
    widget->setProperty(kKeepsFont, true);
}

double of(const QWidget* widget)
{
    if (!widget)
        return 1.0;
    const QVariant v = widget->window()->property(kZoom);
    return v.isValid() ? v.toDouble() : 1.0;
}

QPointF offset(const QWidget* window)
{
    if (!window)
        return {};
    const QVariant v = window->window()->property(kOffset);
    return v.isValid() ? v.toPointF() : QPointF();
}

QRect scaled(const QRect& design, double z, QPointF at)
{
    if (z == 1.0 && at.isNull())
        return design;
    const int left = px(at.x() + design.x() * z);
    const int top = px(at.y() + design.y() * z);
    const int right = px(at.x() + (design.x() + design.width()) * z);
    const int bottom = px(at.y() + (design.y() + design.height()) * z);
    return QRect(left, top, right - left, bottom - top);
}

QRect toDesign(const QRect& widgetRect, double z)
{
    if (z == 1.0)
        return widgetRect;
    return QRectF(widgetRect.x() / z, widgetRect.y() / z, widgetRect.width() / z, widgetRect.height() / z)
        .toAlignedRect();
}

QRegion toWidget(const QRegion& design, double z)
{
    if (z == 1.0)
        return design;
    QRegion out;
    for (const QRect& r : design)
        out += QRectF(r.x() * z, r.y() * z, r.width() * z, r.height() * z).toAlignedRect();
    return out;
}

QRect designRect(const QWidget* widget)
{
    const QVariant v = widget->property(kDesign);
    return v.isValid() ? v.toRect() : widget->geometry();
}

QSize designSize(const QWidget* widget)
{
    return designRect(widget).size();
}

void place(QWidget* widget, const QRect& design)
{
    widget->setProperty(kDesign, design);
    const QRect want = scaled(design, of(widget), childOffset(widget));
    if (widget->geometry() != want)
        widget->setGeometry(want);
}

void setDesignFont(QWidget* widget, const QFont& font)
{
    widget->setProperty(kFont, font);
    widget->setFont(scaledFont(font, of(widget)));
}

void clearDesignFont(QWidget* widget)
{
    widget->setProperty(kFont, QVariant());
    widget->setFont(QFont());
}

bool hasDesignFont(const QWidget* widget)
{
    return widget->property(kFont).isValid();
}

QFont designFont(const QWidget* widget)
{
    const QVariant v = widget->property(kFont);
    return v.isValid() ? v.value<QFont>() : widget->font();
}

QFont scaledFont(QFont font, double z)
{
    if (z == 1.0)
        return font;
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * z);
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, px(font.pixelSize() * z)));
    return font;
}

void scalePainter(QPainter& painter, const QWidget* widget)
{
    const double z = of(widget);
    if (z != 1.0)
        painter.scale(z, z);
}

void apply(QWidget* window, double z, QPointF at)
{
    window->setProperty(kZoom, z);
    window->setProperty(kOffset, at);
    if (!window->property(kFont).isValid())
        window->setProperty(kFont, window->font());
    const QFont f = scaledFont(window->property(kFont).value<QFont>(), z);
    if (window->font() != f)
        window->setFont(f);
    for (QObject* child : window->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isWindow())
            layOut(w, z, at);
    }
}

void relayout(QWidget* widget)
{
    layOut(widget, of(widget), childOffset(widget));
}

namespace {
constexpr std::array<double, 12> kSteps{0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0, 2.25, 2.5, 3.0, 3.5, 4.0};
}

namespace {
// The application's style, with the indicators of check boxes and option
// buttons, and the room beside them, at the zoom of the widget drawn.
class IndicatorZoom : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        const double z = of(widget);
        if (z == 1.0)
            return base;
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return px(base * z);
        default:
            return base;
        }
    }
};
}  // namespace

void scaleIndicators(QWidget* window)
{
    QStyle* app = QApplication::style();
    QStyle* base = app ? QStyleFactory::create(app->name()) : nullptr;
    if (!base)
        return;
    auto* style = new IndicatorZoom(base);
    style->setParent(window);
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
            button->setStyle(style);
}

double larger(double z)
{
    for (double s : kSteps)
        if (s > z + 1e-6)
            return s;
    return kLargest;
}

double smaller(double z)
{
    for (auto it = kSteps.rbegin(); it != kSteps.rend(); ++it)
        if (*it < z - 1e-6)
            return *it;
    return kSmallest;
}

}  // namespace tolvi::zoom
