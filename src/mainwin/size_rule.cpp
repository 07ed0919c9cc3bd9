#include "mainwin/size_rule.h"

#include <cstdlib>

namespace tolvi {

std::optional<QRect> sizeRuleGeometry(const QRect& screen, QSize outer)
{
    if (screen.width() <= kSizeRuleScreenWidth)
        return std::nullopt;
    const int left = screen.left() + (screen.width() - outer.width()) / 2;
    const int top = screen.top() + (screen.height() - outer.height()) / 2;
    return QRect(QPoint(left, top), outer);
}

std::optional<QPoint> CentredPlacement::place(const QRect& screen, QSize client, QSize frame)
{
    const std::optional<QRect> outer = sizeRuleGeometry(screen, client + frame);
    if (!outer) {
        at_.reset();
        return std::nullopt;
    }
    at_ = outer->topLeft();
    frame_ = frame;
    return at_;
}

bool CentredPlacement::mustCentreAgain(QSize frame, QPoint framePosition) const
{
    if (!at_ || frame == frame_)
        return false;
    // Where the window was put, give or take the frame that the window
    // system may have added on either side; farther means the user moved it.
    const QPoint off = framePosition - *at_;
    return std::abs(off.x()) <= std::abs(frame.width() - frame_.width()) &&
           std::abs(off.y()) <= std::abs(frame.height() - frame_.height());
}

}  // namespace tolvi
