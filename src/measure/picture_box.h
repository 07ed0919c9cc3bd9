#pragma once
// The base of the rope and graph pictures: a box with the sunken two-pixel
// border of the program's picture boxes, showing an image at its drawing
// origin inside the border, with a pointer readout.

#include <QColor>
#include <QImage>
#include <QWidget>

namespace tolvi {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The drawing origin, inside the border.
    static QPoint origin();
    // The picture shown now.
    virtual QImage picture() const = 0;

signals:
    // A readout for Label1, in its colours; or Label1 to be emptied.
    void readout(const QString& text, const QColor& foreground, const QColor& background);
    void readoutCleared();
    // A hint for the hint line.
    void hint(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tolvi
