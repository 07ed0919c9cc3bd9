#pragma once
// Font set-up shared by the program, its tests and its benchmarks.

namespace tolvi {
// Maps the Windows font names the program uses onto the metric-compatible
// fonts of the desktop, and loads Qt's French translations (message-box
// buttons). Call once a QGuiApplication exists.
void installFontsAndTranslations();
}  // namespace tolvi
