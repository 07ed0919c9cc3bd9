#pragma once
// The clipboard side of "Co&pier": a picture is put on the clipboard as a
// bitmap, replacing whatever was there.

#include <QImage>
#include <QString>

namespace tolvi {

// Empties the clipboard, then puts `image` on it. Errors are ignored: an
// unavailable clipboard leaves it as it was. Returns whether the clipboard
// now holds a picture of that size.
bool copyImageToClipboard(const QImage& image);

// Puts `text` on the clipboard as plain text (a spreadsheet pastes its tabs
// and lines as columns and rows). Returns whether the clipboard now holds it.
bool copyTextToClipboard(const QString& text);

}  // namespace tolvi
