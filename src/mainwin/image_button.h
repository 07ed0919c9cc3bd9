#pragma once
// A picture that acts as a button: the pause image command16, the exercise
// button btexo and the pictures of the exercise window. A real button
// painted as its picture: the mouse clicks it, Tab reaches it (a click does
// not take the focus from a box being typed in), Space and Enter press it,
// and a dotted mark shows the keyboard focus.

#include <QAbstractButton>
#include <QPixmap>
#include <functional>

namespace tolvi {

class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit ImageButton(QWidget* parent = nullptr);
    void setPixmap(const QPixmap& pixmap);
    // A picture drawn for the resolution it is shown at: `draw` makes it at
    // a device pixel ratio, asked again whenever the button is painted at
    // another one (a finer screen, a snapshot, the enlarged full screen).
    using PictureMaker = std::function<QPixmap(qreal ratio)>;
    void setPicture(PictureMaker draw);
    // The picture as last drawn (at the button's device pixel ratio when set).
    const QPixmap& pixmap() const { return pixmap_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    QPixmap pixmap_;
    PictureMaker draw_;
};

// The picture of the exercise button: a raised tab reading "Exercices", at
// `ratio` device pixels per unit.
QPixmap exerciseButtonPixmap(QSize size, qreal ratio = 1.0);

}  // namespace tolvi
