// Windows side of the reading of files: the same guarantees as on other
// systems, through the wide calls, every file read in binary mode.
#include "platform/file_read.h"

#include "platform/win_paths.h"

#include <QFile>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace tolvi {

namespace {

// What an open handle is.
FileNature natureOf(HANDLE h)
{
    if (GetFileType(h) != FILE_TYPE_DISK)
        return FileNature::Special;  // a device (NUL, CON, COM1) or a pipe
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info))
        return FileNature::Special;
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileNature::Folder : FileNature::Regular;
}


}  // namespace

FileNature fileNature(const QString& path)
{
    switch (win::nameKind(path)) {
    case win::NameKind::Missing: return FileNature::Missing;
    case win::NameKind::File: return FileNature::Regular;
    case win::NameKind::Folder: return FileNature::Folder;
    case win::NameKind::Device: break;
    }
    return FileNature::Special;
}

bool openRegularFile(QFile& file, const QString& path)
{
    if (!isRegularFile(path))
        return false;
    const std::wstring name = win::widePath(path);
    const HANDLE h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    // Checked once more on what was opened; binary: a 0x1A byte is data,
    // not the end of the file.
    if (natureOf(h) != FileNature::Regular) {
        CloseHandle(h);
        return false;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        _close(fd);
        return false;
    }
    return true;
}

}  // namespace tolvi
