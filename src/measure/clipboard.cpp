#include "measure/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tolvi {

bool copyImageToClipboard(const QImage& image)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || image.isNull())
        return false;
    clipboard->clear();
    clipboard->setImage(image);
    return clipboard->image().size() == image.size();
}

}  // namespace tolvi
