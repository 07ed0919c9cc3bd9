#pragma once
// The main window by keyboard and for screen readers: the French names and
// descriptions of its controls, the Tab order (top buttons, rope, start and
// pause, chronometer, graph, tabs and the panel shown, exercise area) and
// the tab shortcuts Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+1, Ctrl+2, Ctrl+3.

class QWidget;

namespace tolvi {
class FeuilleP;

// Names and describes every control of the window.
void nameControls(FeuilleP& window);
// The chain of Tab focus through the window, in reading order; every
// focused control of the program shows the focus ring (focus_marks.h).
void orderTabFocus(FeuilleP& window);
// Tab shortcuts on the window.
void installTabShortcuts(FeuilleP& window);

}  // namespace tolvi
