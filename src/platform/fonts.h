#pragma once
// Font set-up shared by the program, its tests and its benchmarks.

namespace tolvi {
// Maps the Windows font names the program uses onto the metric-compatible
// fonts of the desktop, and loads Qt's French translations (message-box
// buttons). Call once a QGuiApplication exists.
void installFontsAndTranslations();
// Without a desktop session Qt warns about its runtime folder on every run;
// gives it a private one. Call before the application object exists.
void ensureRuntimeDirectory();
// Qt's display-less platform reads its fonts from one folder; on Windows
// that folder is Qt's own, with no font in it, and every text would be
// drawn as boxes: points it at the system's fonts. Nothing to do where
// fontconfig finds the fonts. Call before the application object exists.
void useSystemFontsWithoutDisplay();
}  // namespace tolvi
