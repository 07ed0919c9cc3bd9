#pragma once
// A picture that acts as a button: the pause image command16 and the
// exercise button btexo. Paints a pixmap, reports clicks.

#include <QPixmap>
#include <QWidget>

namespace tolvi {

class ImageButton : public QWidget {
    Q_OBJECT
public:
    explicit ImageButton(QWidget* parent = nullptr);
    void setPixmap(const QPixmap& pixmap);
    const QPixmap& pixmap() const { return pixmap_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap pixmap_;
};

// The picture of the exercise button: a raised tab reading "Exercices".
QPixmap exerciseButtonPixmap(QSize size);

}  // namespace tolvi
