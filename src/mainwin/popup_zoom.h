#pragma once
// Menus and hover texts at the zoom of the window they come from: a right
// click on the rope of a window zoomed 2,4 times for projection opens a menu
// as large as the window's own texts. The menus stay ordinary top-level
// windows; only their font follows the zoom.

#include <QFont>
#include <QObject>

class QMenu;
class QWidget;

namespace tolvi {

class PopupZoom : public QObject {
    Q_OBJECT
public:
    // Watches the menus and hover texts of the whole application for the
    // window `zoomed` (a menu with no parent takes that window's zoom).
    PopupZoom(QWidget& zoomed, QObject* parent);
    ~PopupZoom() override;

    // Gives `menu` its designed font at the zoom of the window it opens from.
    void fit(QMenu* menu) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double zoomFor(const QWidget* popup) const;

    QWidget& zoomed_;
    // The hover texts' font at zoom 1 (Qt keeps one for the application).
    QFont tipFont_;
};

}  // namespace tolvi
