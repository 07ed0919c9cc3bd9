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
}  // namespace tolvi
