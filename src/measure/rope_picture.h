#pragma once
// animpic: the rope picture. Shows the simulation's current frame; the
// pointer reads the position along the rope and the height; releasing the
// mouse on the rope offers the marker menu menupoint. By keyboard: Left and
// Right move the cursor along the rope by 1 cm (10 cm with Shift), Home and
// End go to the ends, B and R put the blue or the red marker there, Delete
// takes away the markers there, Enter asks for the cursor's abscissa in
// metres, and the menu key opens menupoint at the cursor. With « À la main »
// the red ruler follows the mouse dragged up and down from it, or Up and
// Down (1 cm, 5 cm with Shift).

#include "measure/picture_box.h"
#include "sim/frame_changes.h"
#include "sim/rope_canvas.h"

#include <functional>
#include <optional>

class QMenu;
class QAction;

namespace tolvi {
class Messages;
class Simulation;

class RopePicture : public PictureBox {
    Q_OBJECT
public:
    explicit RopePicture(Simulation& sim, QWidget* parent = nullptr);

    QImage picture() const override;

    // Pointer at (x, y) in the picture's drawing units.
    void animpic_MouseMove(double x, double y);
    // Release at (x, y): on the rope, keeps the column and opens the menu at
    // `global`. Returns whether the menu was opened.
    bool animpic_MouseUp(double x, double y, const QPoint& global);

    // A right-button release at (x, y), once export commands are set: on the
    // rope, the marker menu with the export commands under it; off the rope,
    // the export commands alone.
    void animpic_RightUp(double x, double y, const QPoint& global);

    int posMarque() const { return posMarque_; }
    QMenu* menupoint() const { return menu_; }
    // menupoint's items, then the export commands (a right click on the rope).
    QMenu* markerAndExportMenu() const { return both_; }
    void setExportActions(const QList<QAction*>& actions) override;

    void marqbleu_Click();
    void marqrou_Click();
    void effb_Click();
    void effr_Click();

    // The hand takes the ruler at (x, y) (on it, « À la main »), moves it to
    // the height of y, lets it go. Returns whether the ruler was taken.
    bool handPress(double x, double y);
    void handMove(double y);
    void handRelease();

    // The keyboard cursor's column, and moving it (kept on the rope).
    int cursorColumn() const { return keyboardCursor().x(); }
    void setCursorColumn(int column);
    // Reads an abscissa in metres typed the French way ("1", "1,00") and
    // moves the cursor to its nearest centimetre; refused (nothing) off the
    // rope or for a text that is not a number.
    static std::optional<int> columnForAbscissa(const QString& text);
    // How the typed abscissa is asked (tests replace it): the text, or
    // nothing when cancelled.
    std::function<std::optional<QString>(QWidget* parent)> askAbscissa;

    // How many times larger than designed the markers are drawn.
    double markerSize() const;

protected:
    // The frame drawn straight onto the widget at its resolution, over the
    // background made once for that resolution: nothing copied per tick,
    // and only the parts a tick changed are repainted.
    void paintPicture(QPainter& painter, const QRect& exposed) override;
    // The parts of the picture the frames since the last ask changed.
    void askChanges() override;
    QSize coveredSize() const override { return QSize(rope::kPictureWidth, rope::kPictureHeight); }
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QPoint clampCursor(QPoint at) const override;
    void cursorReadout() override;
    // "x = 2,35 m ; u = 12,4 cm": the abscissa and the rope's displacement.
    QString readingAtCursor() const override;

private:
    // The Menu key or Maj+F10: the right click's menu at the keyboard cursor.
    void keyboardMenu();
    // Label1's readout at a point of the picture.
    void readoutAt(double x, double y);

    Simulation& sim_;
    RopeFrameKey shown_;
    RopeCanvas canvas_;
    QMenu* menu_;
    QMenu* both_ = nullptr;
    int posMarque_ = 0;
    bool handDrag_ = false;  // the ruler held by the mouse
};

}  // namespace tolvi
