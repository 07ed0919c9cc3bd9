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

bool copyTextToClipboard(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || text.isEmpty())
        return false;
    clipboard->clear();
    clipboard->setText(text);
    return clipboard->text() == text;
}

}  // namespace tolvi
