#pragma once
// The base of the rope and graph pictures: a box with the sunken two-pixel
// border of the program's picture boxes, showing an image at its drawing
// origin inside the border, with a pointer readout. With the keyboard focus
// it shows a cursor, a dotted line across the picture, that the arrows move
// and that reads as the mouse pointer does.

#include <QColor>
#include <QElapsedTimer>
#include <functional>
#include <optional>
#include <QImage>
#include <QList>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <vector>

class QAction;
class QTimer;
class QMenu;

class QPainter;

namespace tolvi {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The drawing origin, inside the border.
    static QPoint origin();
    // The picture shown now.
    virtual QImage picture() const = 0;

    // The picture's data commands (copy, save as a file), offered by a right
    // click and by the context-menu key (Menu, Shift+F10); none until set.
    virtual void setExportActions(const QList<QAction*>& actions);
    QMenu* exportMenu() const { return exportMenu_; }
    // How a menu is shown (a pop-up at the pointer); tests replace it.
    std::function<void(QMenu*, const QPoint&)> showMenu;

    // The part of the widget repainted for `parts` of the picture (drawing
    // units): their rectangles, joined into a few when there are many.
    static QRegion joinedParts(const std::vector<QRect>& parts);

    // The keyboard cursor, in the picture's drawing units.
    QPoint keyboardCursor() const { return cursor_; }

    // What a screen reader hears of the keyboard cursor ("x = 2,35 m ; u =
    // 12,4 cm"); empty without the focus. It is the picture's accessible
    // value and text.
    QString spokenReading() const { return reading_; }
    // Each move by key changes the reading and tells screen readers at once,
    // or, when the last news came less than kAnnounceGap ms ago (a key held
    // down), once that gap is over with the latest reading: a few
    // announcements a second, never a queue of stale ones.
    static constexpr int kAnnounceGap = 250;
    QTimer* announceTimer() const { return announceTimer_; }
    // The gap is over: the reading that came during it is told.
    void announceTimer_Timer();

signals:
    // A readout for Label1, in its colours; or Label1 to be emptied.
    void readout(const QString& text, const QColor& foreground, const QColor& background);
    void readoutCleared();
    // A hint for the hint line.
    void hint(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Draws the picture with the painter's origin at the drawing origin, at
    // the widget's device pixel ratio; by default the image of picture().
    // The painter is clipped to the part being repainted, inside `exposed`
    // (drawing units): what lies outside it need not be drawn.
    virtual void paintPicture(QPainter& painter, const QRect& exposed);
    // The size of what paintPicture covers whole from the drawing origin;
    // the rest inside the border is grey. Empty by default: all of it is
    // filled grey first.
    virtual QSize coveredSize() const { return QSize(); }
    // Asks for the parts `parts` (drawing units) to be repainted.
    void updatePicture(const std::vector<QRect>& parts);
    // Shows the export menu; the rope shows its marker menu on a mouse click.
    void contextMenuEvent(QContextMenuEvent* event) override;
    // A menu that shows its items' hover texts in the hint line.
    QMenu* newMenu(const QString& name);

    QMenu* exportMenu_ = nullptr;

    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Moves the keyboard cursor (the picture keeps it in its range) and shows
    // its readout.
    void setKeyboardCursor(QPoint at);
    // Keeps a cursor position inside the picture's range.
    virtual QPoint clampCursor(QPoint at) const = 0;
    // The readout at the cursor, as a pointer there gives it.
    virtual void cursorReadout() = 0;
    // The reading spoken at the cursor.
    virtual QString readingAtCursor() const = 0;
    // After a move by key: the new reading is told to screen readers.
    void cursorMovedByKey();

    // The animation moved on a tick: the parts it changed are asked for
    // (askChanges) at once, or, when the last ask came less than
    // frameGap() ago, at the next tick after that. A screen shows some 60
    // pictures a second: a wave that ticks faster is not drawn more often
    // than that, and the picture shown is always the latest. With no tick
    // coming (a pause), what was left out is asked for after frameGap().
    void animationMoved();
    // Asks for the parts changed since the last ask to be repainted.
    virtual void askChanges() = 0;

public:
    // The shortest time between two asks of animationMoved, in ms; 0 asks
    // at every tick.
    static int frameGap();
    static void setFrameGap(int milliseconds);
    // The clock the gap is measured on, in ms; an empty function restores
    // the steady clock. Tests drive time with it: the asks then depend on
    // the time they set, not on how fast the machine runs.
    static void setClock(std::function<qint64()> milliseconds);

private:
    // The part of the widget the keyboard cursor at `at` covers.
    static QRect cursorArea(QPoint at, int height);
    void askNow();

    void tellReading();

    QPoint cursor_;
    QString reading_;
    bool readingPending_ = false;
    QTimer* announceTimer_ = nullptr;
    std::optional<qint64> lastAsk_;  // on the clock
    QTimer* late_ = nullptr;
};

}  // namespace tolvi
