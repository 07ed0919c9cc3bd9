#include "measure/picture_box.h"

#include "mainwin/hover_texts.h"
#include "mainwin/layout.h"
#include "mainwin/zoom.h"
#include "platform/pixel_painting.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace tolvi {

namespace {

// What a screen reader sees of a picture: with the keyboard it is a control
// whose value the arrows change, as a spin box's, read as its text: the
// cursor's reading. A screen reader speaks it when it changes (Orca speaks
// a focused spin box's text on each value change).
class PictureAccessible : public QAccessibleWidget,
                          public QAccessibleValueInterface,
                          public QAccessibleTextInterface {
public:
    explicit PictureAccessible(PictureBox* box) : QAccessibleWidget(box, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return reading();
        return QAccessibleWidget::text(t);
    }

    // The value: the cursor's column, which every step changes.
    QVariant currentValue() const override { return box()->keyboardCursor().x(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 10000; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

    // The text: the reading, read only.
    QString text(int start, int end) const override { return reading().mid(start, end - start); }
    int characterCount() const override { return int(reading().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    const PictureBox* box() const { return static_cast<const PictureBox*>(widget()); }
    QString reading() const { return box()->spokenReading(); }
};

QAccessibleInterface* pictureAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("tolvi::PictureBox") && object && object->isWidgetType())
        return new PictureAccessible(static_cast<PictureBox*>(object));
    return nullptr;
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(pictureAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    announceTimer_ = new QTimer(this);
    announceTimer_->setObjectName(QStringLiteral("announceTimer"));
    announceTimer_->setSingleShot(true);
    announceTimer_->setInterval(kAnnounceGap);
    connect(announceTimer_, &QTimer::timeout, this, &PictureBox::announceTimer_Timer);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    showMenu = [](QMenu* menu, const QPoint& global) { menu->popup(global); };
    setFocusPolicy(Qt::TabFocus);
}

QMenu* PictureBox::newMenu(const QString& name)
{
    auto* menu = new QMenu(this);
    menu->setObjectName(name);
    menu->setToolTipsVisible(true);
    connect(menu, &QMenu::hovered, this, [this](QAction* action) {
        if (!action->statusTip().isEmpty())
            emit hint(action->statusTip());
    });
    return menu;
}

void PictureBox::setExportActions(const QList<QAction*>& actions)
{
    delete exportMenu_;
    exportMenu_ = nullptr;
    if (actions.isEmpty())
        return;
    exportMenu_ = newMenu(objectName() + QStringLiteral("_export"));
    exportMenu_->setAccessibleName(QStringLiteral("Données de l'image"));
    exportMenu_->addActions(actions);
}

void PictureBox::contextMenuEvent(QContextMenuEvent* event)
{
    if (!exportMenu_) {
        event->ignore();
        return;
    }
    const QPoint global =
        event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : mapToGlobal(rect().center());
    if (showMenu)
        showMenu(exportMenu_, global);
    event->accept();
}

QRect PictureBox::cursorArea(QPoint at, int height)
{
    // The dotted line down the picture and the cross, 4 units either side.
    return QRect(origin().x() + at.x() - 5, 0, 11, height);
}

void PictureBox::setKeyboardCursor(QPoint at)
{
    const QPoint was = cursor_;
    cursor_ = clampCursor(at);
    if (hasFocus()) {
        // Only the cursor moved: its old and new places are repainted.
        if (cursor_ != was) {
            const double z = zoom::of(this);
            const int h = zoom::designSize(this).height();
            update(zoom::toWidget(cursorArea(was, h), z));
            update(zoom::toWidget(cursorArea(cursor_, h), z));
        }
    } else {
        update();
    }
    cursorReadout();
}

void PictureBox::cursorMovedByKey()
{
    const QString reading = readingAtCursor();
    if (reading == reading_)
        return;
    reading_ = reading;
    if (announceTimer_->isActive()) {
        readingPending_ = true;
        return;
    }
    tellReading();
}

void PictureBox::announceTimer_Timer()
{
    announceTimer_->stop();
    if (readingPending_)
        tellReading();
}

void PictureBox::tellReading()
{
    readingPending_ = false;
    announceTimer_->start();
    // The value changes, and with it the text read out.
    QAccessibleValueChangeEvent changed(this, keyboardCursor().x());
    QAccessible::updateAccessibility(&changed);
}

void PictureBox::updatePicture(const std::vector<QRect>& parts)
{
    if (parts.empty())
        return;
    update(zoom::toWidget(joinedParts(parts), zoom::of(this)));
}

namespace {
// Ticks closer than this are not all drawn: a 10 ms tick (a 5 Hz sine) is
// drawn at every other one, 50 times a second; a tick of 11 ms or more, at
// every one.
int gLeastFrameGap = 11;

std::function<qint64()> gClock;

qint64 clockNow()
{
    if (gClock)
        return gClock();
    static QElapsedTimer steady = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return steady.elapsed();
}
}  // namespace

int PictureBox::frameGap()
{
    return gLeastFrameGap;
}

void PictureBox::setFrameGap(int milliseconds)
{
    gLeastFrameGap = std::max(0, milliseconds);
}

void PictureBox::setClock(std::function<qint64()> milliseconds)
{
    gClock = std::move(milliseconds);
}

void PictureBox::animationMoved()
{
    const qint64 now = clockNow();
    if (!lastAsk_ || now - *lastAsk_ >= gLeastFrameGap) {
        askNow();
        return;
    }
    if (!late_) {
        late_ = new QTimer(this);
        late_->setSingleShot(true);
        connect(late_, &QTimer::timeout, this, [this] {
            // Early on the clock (a test holding time): wait another gap.
            if (lastAsk_ && clockNow() - *lastAsk_ < gLeastFrameGap)
                late_->start(gLeastFrameGap);
            else
                askNow();
        });
    }
    if (!late_->isActive())
        late_->start(gLeastFrameGap);
}

void PictureBox::askNow()
{
    if (late_)
        late_->stop();
    lastAsk_ = clockNow();
    askChanges();
}

QRegion PictureBox::joinedParts(const std::vector<QRect>& parts)
{
    // A handful of rectangles: a region of many small ones costs more to
    // clip every drawing to than the few pixels it saves. Neighbouring parts
    // (the rope's spans come in order along it) are joined by groups.
    constexpr std::size_t kMostRects = 3;
    const std::size_t group = (parts.size() + kMostRects - 1) / kMostRects;
    QRegion region;
    for (std::size_t i = 0; i < parts.size(); i += group) {
        QRect joined;
        for (std::size_t j = i; j < std::min(parts.size(), i + group); ++j)
            joined |= parts[j];
        region += joined.translated(origin());
    }
    return region;
}

void PictureBox::focusInEvent(QFocusEvent* event)
{
    update();  // the focus mark
    setKeyboardCursor(cursor_);
    // Told with the focus itself, in the name.
    reading_ = readingAtCursor();
    QWidget::focusInEvent(event);
}

void PictureBox::focusOutEvent(QFocusEvent* event)
{
    update();
    reading_.clear();
    readingPending_ = false;
    announceTimer_->stop();
    emit readoutCleared();
    // The keys' hint belongs to the focused picture: the line says again
    // what the window offers.
    emit hint(hover::general());
    QWidget::focusOutEvent(event);
}

QPoint PictureBox::origin()
{
    return QPoint(layout::kPictureBorder, layout::kPictureBorder);
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    // Laid out in the design's units, drawn at the window's zoom.
    const double z = zoom::of(this);
    zoom::scalePainter(p, this);
    const QSize design = zoom::designSize(this);
    const int w = design.width();
    const int h = design.height();
    QRegion exposed = z == 1.0 ? event->region() : QRegion();
    if (z != 1.0)
        for (const QRect& r : event->region())
            exposed += zoom::toDesign(r, z);
    // Sunken border: grey and black outside-in at the top and left, white and
    // light grey at the bottom and right.
    pixelLine(p, 0, 0, w - 1, 0, QColor(128, 128, 128));
    pixelLine(p, 0, 0, 0, h - 1, QColor(128, 128, 128));
    pixelLine(p, 1, 1, w - 2, 1, QColor(0, 0, 0));
    pixelLine(p, 1, 1, 1, h - 2, QColor(0, 0, 0));
    pixelLine(p, 0, h - 1, w - 1, h - 1, QColor(255, 255, 255));
    pixelLine(p, w - 1, 0, w - 1, h - 1, QColor(255, 255, 255));
    pixelLine(p, 1, h - 2, w - 2, h - 2, QColor(212, 208, 200));
    pixelLine(p, w - 2, 1, w - 2, h - 2, QColor(212, 208, 200));

    const QRect inner(origin(), QSize(w - 4, h - 4));
    // Grey where the picture does not reach (the picture's own pixels are
    // not filled twice: a tick repaints much of the rope).
    const QRegion grey = QRegion(inner) - QRegion(QRect(origin(), coveredSize()));
    for (const QRect& r : grey & exposed)
        p.fillRect(r, QColor(192, 192, 192));
    p.setClipRect(inner);
    p.save();
    p.translate(origin());
    paintPicture(p, exposed.boundingRect().translated(-origin()));
    p.restore();
    if (hasFocus()) {
        // Dots of white between dots of black: the mark shows on the dark
        // rope as on the white graph.
        p.setPen(QPen(QColor(255, 255, 255), 1));
        p.drawRect(inner.adjusted(0, 0, -1, -1));
        focusMark(p, inner);
        // The cursor: a dotted line down the picture and a small cross at
        // its point, in the same two tones.
        const QPoint at = origin() + cursor_;
        p.setPen(QPen(QColor(255, 255, 255), 1));
        p.drawLine(at.x(), inner.top(), at.x(), inner.bottom());
        QPen pen(QColor(0, 0, 0), 1);
        pen.setCosmetic(true);
        pen.setDashPattern({2, 2});
        p.setPen(pen);
        p.drawLine(at.x(), inner.top(), at.x(), inner.bottom());
        p.setPen(QPen(QColor(255, 255, 255), 1));
        p.drawLine(at.x() - 4, at.y() - 1, at.x() + 4, at.y() - 1);
        p.setPen(QPen(QColor(0, 0, 0), 1));
        p.drawLine(at.x() - 4, at.y(), at.x() + 4, at.y());
    }
}

void PictureBox::paintPicture(QPainter& painter, const QRect&)
{
    painter.drawImage(0, 0, picture());
}

}  // namespace tolvi
