#include "mainwin/tab_strip.h"

#include "mainwin/zoom.h"
#include "platform/pixel_painting.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace tolvi {

namespace {

// One tab of the strip as a screen reader sees it.
class TabAccessible : public QAccessibleInterface {
public:
    TabAccessible(TabStrip* strip, int n) : strip_(strip), n_(n) {}
    bool isValid() const override { return !strip_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return strip_ ? strip_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(strip_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return QStringLiteral("Onglet %1").arg(tabText(n_));
        if (t == QAccessible::Description)
            return QStringLiteral("Affiche le panneau %1 (Ctrl+%2)").arg(tabText(n_)).arg(n_);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!strip_)
            return {};
        const QRect r = zoom::scaled(strip_->tabRect(n_), zoom::of(strip_));
        return QRect(strip_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.selectable = true;
        s.selected = strip_ && (strip_->currentTab() == 0 ? 1 : strip_->currentTab()) == n_;
        s.focused = s.selected && strip_ && strip_->hasFocus();
        s.invisible = !strip_ || !strip_->isVisible();
        return s;
    }

private:
    QPointer<TabStrip> strip_;
    int n_;
};

// The strip: a tab list whose first three children are the tabs, followed
// by the panel shown.
class TabStripAccessible : public QAccessibleWidget {
public:
    explicit TabStripAccessible(TabStrip* strip) : QAccessibleWidget(strip, QAccessible::PageTabList)
    {
        for (int n = 1; n <= 3; ++n) {
            auto* tab = new TabAccessible(strip, n);
            ids_[std::size_t(n - 1)] = QAccessible::registerAccessibleInterface(tab);
        }
    }
    ~TabStripAccessible() override
    {
        for (QAccessible::Id id : ids_)
            QAccessible::deleteAccessibleInterface(id);
    }
    int childCount() const override { return 3 + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index >= 0 && index < 3)
            return QAccessible::accessibleInterface(ids_[std::size_t(index)]);
        return QAccessibleWidget::child(index - 3);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int i = 0; i < 3; ++i)
            if (QAccessible::accessibleInterface(ids_[std::size_t(i)]) == child)
                return i;
        const int k = QAccessibleWidget::indexOfChild(child);
        return k < 0 ? -1 : k + 3;
    }

private:
    std::array<QAccessible::Id, 3> ids_{};
};

QAccessibleInterface* tabStripAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("tolvi::TabStrip") && object && object->isWidgetType())
        return new TabStripAccessible(static_cast<TabStrip*>(object));
    return nullptr;
}

}  // namespace

TabStrip::TabStrip(QWidget* parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(tabStripAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::TabFocus);
    setObjectName(QStringLiteral("Onglets"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, tabStripColour());
    setPalette(pal);
    setFont(tabFont());
}

void TabStrip::setPanels(QWidget* corde, QWidget* onde, QWidget* outils)
{
    panels_ = {nullptr, corde, onde, outils};
    for (int k = 1; k <= 3; ++k)
        if (panels_[std::size_t(k)]) {
            panels_[std::size_t(k)]->setParent(this);
            panels_[std::size_t(k)]->hide();
        }
    placePanels(geometry());
}

TabGeometry TabStrip::geometry() const
{
    return tabGeometry(tabFont(), const_cast<TabStrip*>(this), zoom::designSize(this).width(), current_);
}

void TabStrip::placePanels(const TabGeometry& g)
{
    const QSize design = zoom::designSize(this);
    const QRect area = panelRect(g, design.width(), design.height());
    for (int k = 1; k <= 3; ++k) {
        QWidget* panel = panels_[std::size_t(k)];
        if (panel && k != g.current)
            panel->hide();
    }
    if (QWidget* panel = panels_[std::size_t(g.current)]) {
        if (zoom::designRect(panel) != area || panel->geometry() != zoom::scaled(area, zoom::of(this)))
            zoom::place(panel, area);
        panel->show();
    }
}

void TabStrip::Onglets_MouseUp(double x, double y)
{
    const int choice = tabAt(geometry(), x, y);
    if (choice < 0 || choice == current_)
        return;
    current_ = choice;
    placePanels(geometry());
    update();
    emit tabChanged(current_ == 0 ? 1 : current_);
    if (QAccessible::isActive()) {
        QAccessibleEvent selection(this, QAccessible::Selection);
        selection.setChild((current_ == 0 ? 1 : current_) - 1);
        QAccessible::updateAccessibility(&selection);
    }
}

void TabStrip::selectTab(int n)
{
    if (n < 1 || n > 3)
        return;
    const TabGeometry g = geometry();
    const double x = (g.bounds[std::size_t(n - 1)] + g.bounds[std::size_t(n)]) / 2.0;
    Onglets_MouseUp(x, g.h / 2.0);
}

void TabStrip::nextTab(int step)
{
    const int current = current_ == 0 ? 1 : current_;
    selectTab((current - 1 + step % 3 + 3) % 3 + 1);
}

QRect TabStrip::tabRect(int n) const
{
    if (n < 1 || n > 3)
        return {};
    const TabGeometry g = geometry();
    return QRect(QPoint(g.bounds[std::size_t(n - 1)] + 1, 0), QPoint(g.bounds[std::size_t(n)], g.h));
}

void TabStrip::keyPressEvent(QKeyEvent* event)
{
    const int current = current_ == 0 ? 1 : current_;
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left: selectTab(std::max(1, current - 1)); break;
    case Qt::Key_Right: selectTab(std::min(3, current + 1)); break;
    case Qt::Key_Home: selectTab(1); break;
    case Qt::Key_End: selectTab(3); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void TabStrip::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void TabStrip::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void TabStrip::paintEvent(QPaintEvent*)
{
    if (current_ == 0)
        current_ = 1;
    const TabGeometry g = geometry();
    QPainter p(this);
    zoom::scalePainter(p, this);
    const QSize design = zoom::designSize(this);
    paintTabStrip(p, g, design.width(), design.height());
    if (hasFocus())
        focusMark(p, tabFocusRect(g));
    p.end();
    placePanels(g);
}

void TabStrip::mouseReleaseEvent(QMouseEvent* event)
{
    const double z = zoom::of(this);
    Onglets_MouseUp(event->position().x() / z, event->position().y() / z);
}

}  // namespace tolvi
