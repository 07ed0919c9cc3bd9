#include "mainwin/size_rule.h"

namespace tolvi {

std::optional<QRect> sizeRuleGeometry(const QRect& screen, QSize outer)
{
    if (screen.width() <= kSizeRuleScreenWidth)
        return std::nullopt;
    const int left = screen.left() + (screen.width() - outer.width()) / 2;
    const int top = screen.top() + (screen.height() - outer.height()) / 2;
    return QRect(QPoint(left, top), outer);
}

}  // namespace tolvi
