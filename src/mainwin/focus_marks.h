#pragma once
// The focus mark every control shows, from the first moment a window opens:
// a ring of three lines, black, white and black, drawn just outside the
// control that has the keyboard focus. One of its tones stands out from any
// background the program has (light greys, the white graph, the blue
// chronometer band), where the style's own marks are faint and appear only
// after a first Tab. It is Qt's QFocusFrame, drawn by a style of its own.

class QFocusFrame;
class QWidget;

namespace tolvi {

// Width of the ring, in pixels, outside the control.
inline constexpr int kFocusRingWidth = 3;

// Follows the keyboard focus of the whole application with the ring (once;
// later calls do nothing).
void installFocusMarks();
// The ring, when a control shows it now (for tests).
QFocusFrame* focusRing();

}  // namespace tolvi
