#pragma once
// How the desktop knows Tolvi's windows: their icon (taskbars, Alt+Tab) and
// the desktop entry they belong to (docks tie the window to its menu entry).

#include <QString>

namespace tolvi {

// The desktop entry's id, the name of the installed .desktop file.
inline const QString kDesktopFileName = QStringLiteral("org.example.tolvi");

// Gives every window the program's own icon and names its desktop entry.
// Call once the application object exists.
void setDesktopIdentity();

}  // namespace tolvi
