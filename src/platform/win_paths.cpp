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

NameKind nameKind(const QString& path)
{
    if (path.isEmpty())
        return NameKind::Missing;
    if (isDeviceSpaceName(path))
        return NameKind::Device;
    const std::wstring name = widePath(path);
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    // No access at all is enough to ask what a file or a folder is (even one
    // that another program holds); the console devices want an access.
    HANDLE h = CreateFileW(name.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD why = GetLastError();
        if (why == ERROR_FILE_NOT_FOUND || why == ERROR_PATH_NOT_FOUND || why == ERROR_INVALID_NAME)
            return NameKind::Missing;
        h = CreateFileW(name.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return NameKind::Missing;
    }
    NameKind kind = NameKind::Device;
    if (GetFileType(h) == FILE_TYPE_DISK) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileInformationByHandle(h, &info))
            kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? NameKind::Folder : NameKind::File;
    }
    CloseHandle(h);
    return kind;
}

}  // namespace tolvi::win
