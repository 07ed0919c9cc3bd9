#include "app/desktop_identity.h"

#include <QApplication>
#include <QIcon>

namespace tolvi {

void setDesktopIdentity()
{
    // The same pictures the package installs in the icon theme, built into
    // the program so that a copy run from anywhere carries them too.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tolvi-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(kDesktopFileName);
}

}  // namespace tolvi
