#pragma once
// The clipboard side of "Co&pier": a picture is put on the clipboard as a
// bitmap, replacing whatever was there.

#include <QImage>

namespace tolvi {

// Empties the clipboard, then puts `image` on it. Errors are ignored: an
// unavailable clipboard leaves it as it was. Returns whether the clipboard
// now holds a picture of that size.
bool copyImageToClipboard(const QImage& image);

}  // namespace tolvi
