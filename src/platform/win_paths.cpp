#include "platform/win_paths.h"

#include <QDir>

#include <windows.h>

namespace tolvi::win {

std::wstring widePath(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

QString systemMessage(unsigned long code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text = length > 0 ? QString::fromWCharArray(buffer, int(length)).trimmed() : QString();
    if (buffer)
        LocalFree(buffer);
    if (text.isEmpty())
        text = QStringLiteral("erreur système %1").arg(code);
    return text;
}

bool isDeviceSpaceName(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    return native.startsWith(QLatin1String("\\\\.\\")) || native.startsWith(QLatin1String("\\\\?\\pipe\\"), Qt::CaseInsensitive);
}

}  // namespace tolvi::win
