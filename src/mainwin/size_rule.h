#pragma once
// The main window's size rule: on a screen wider than 850 pixels the window
// is brought back to its designed size, centred; on smaller screens it stays
// maximised and fills the screen.

#include <QRect>
#include <QSize>
#include <optional>

namespace tolvi {

constexpr int kSizeRuleScreenWidth = 850;

// The window's outer geometry on `screen` for an outer size `outer`, or
// nothing when the window keeps its maximised state.
std::optional<QRect> sizeRuleGeometry(const QRect& screen, QSize outer);

// The window centred by its real frame. The window system tells the size of
// the frame it draws around the window only once the window is mapped, and
// some window managers later still: until the user moves the window, it is
// centred again whenever that frame turns out different from the one it was
// centred with, so that it never jumps on its first resize.
class CentredPlacement {
public:
    // The frame's top-left for a client area `client` surrounded by `frame`
    // (the extra width and height of the window system's frame), or nothing
    // when the window stays maximised. Remembered as the placement.
    std::optional<QPoint> place(const QRect& screen, QSize client, QSize frame);
    // Whether the window, whose frame is now `frame` and stands at
    // `framePosition`, must be centred again.
    bool mustCentreAgain(QSize frame, QPoint framePosition) const;

private:
    std::optional<QPoint> at_;
    QSize frame_;
};

}  // namespace tolvi
