#pragma once
// What the font set-up does alike on every system.

namespace tolvi {
// Qt's own texts in French (message-box buttons, the print dialog), once.
void installQtFrenchTranslations();
}  // namespace tolvi
