// Windows side of the shared hold: a byte-range lock on the flag file
// (LockFileEx), shared by every window and exclusive for the last one. The
// system drops a process's locks when it ends, even when it is killed.
#include "platform/shared_hold.h"

#include "platform/win_paths.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace tolvi {

namespace {

// The file opened for a lock, as a C runtime descriptor (the class keeps
// one); -1 when it could not be opened.
int openForHold(const QString& path)
{
    const std::wstring name = win::widePath(path);
    const HANDLE h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    // A device or a pipe in the flag file's place is not held.
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd < 0)
        CloseHandle(h);
    return fd;
}

bool lock(int fd, DWORD flags)
{
    OVERLAPPED where{};
    const auto h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    return LockFileEx(h, flags, 0, 1, 0, &where) != 0;
}

}  // namespace

SharedHold::SharedHold(const QString& path) : path_(path)
{
    fd_ = openForHold(path);
    if (fd_ >= 0 && !lock(fd_, 0)) {
        _close(fd_);
        fd_ = -1;
    }
}

SharedHold::~SharedHold()
{
    if (fd_ >= 0)
        _close(fd_);
}

void SharedHold::release(const std::function<void()>& last)
{
    if (fd_ < 0) {
        if (last)
            last();
        return;
    }
    _close(fd_);
    fd_ = -1;
    const int fd = openForHold(path_);
    if (fd < 0)
        return;
    if (lock(fd, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY) && last)
        last();
    _close(fd);
}

}  // namespace tolvi
