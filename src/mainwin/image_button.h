#pragma once
// A picture that acts as a button: the pause image command16, the exercise
// button btexo and the pictures of the exercise window. A real button
// painted as its picture: the mouse clicks it, Tab reaches it (a click does
// not take the focus from a box being typed in), Space and Enter press it,
// and a dotted mark shows the keyboard focus.

#include <QAbstractButton>
#include <QPixmap>

namespace tolvi {

class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit ImageButton(QWidget* parent = nullptr);
    void setPixmap(const QPixmap& pixmap);
    const QPixmap& pixmap() const { return pixmap_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    QPixmap pixmap_;
};

// The picture of the exercise button: a raised tab reading "Exercices".
QPixmap exerciseButtonPixmap(QSize size);

}  // namespace tolvi
