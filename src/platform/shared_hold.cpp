#include "platform/shared_hold.h"

#include "platform/file_read.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tolvi {

namespace {
int openForHold(const QString& path)
{
    // Without blocking: a FIFO in the flag file's place must not stop the
    // window from starting.
    const int fd = ::open(localFileName(path).constData(), O_RDONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return ::open(localFileName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return fd;
}

int lockRetrying(int fd, int operation)
{
    int r;
    do
        r = ::flock(fd, operation);
    while (r != 0 && errno == EINTR);
    return r;
}
}  // namespace

SharedHold::SharedHold(const QString& path) : path_(path)
{
    fd_ = openForHold(path);
    if (fd_ >= 0 && lockRetrying(fd_, LOCK_SH) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

SharedHold::~SharedHold()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void SharedHold::release(const std::function<void()>& last)
{
    if (fd_ < 0) {
        // Never held (the folder could not be written): nobody to wait for.
        if (last)
            last();
        return;
    }
    ::close(fd_);
    fd_ = -1;
    // Our own hold is gone; an exclusive one is granted only when no other
    // program holds the file. Two closing at once: whichever gets it last
    // runs `last`, the other may see the first still there and leave it be.
    const int fd = openForHold(path_);
    if (fd < 0)
        return;
    if (lockRetrying(fd, LOCK_EX | LOCK_NB) == 0 && last)
        last();
    ::close(fd);
}

}  // namespace tolvi
