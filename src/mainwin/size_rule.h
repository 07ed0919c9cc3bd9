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

}  // namespace tolvi
