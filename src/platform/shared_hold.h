#pragma once
// A hold that several programs share on one file, and that tells the last
// one to let go: each running window of a folder holds the flag file, and
// only the last window to close may write that Tolvi no longer runs there.
// (On Linux, flock() locks: the system drops them with the process, even a
// killed one.)

#include <QString>
#include <functional>

namespace tolvi {

class SharedHold {
public:
    // Opens `path` (made empty when missing) and holds it, shared with the
    // other holders; waits while one of them is being the last.
    explicit SharedHold(const QString& path);
    ~SharedHold();
    SharedHold(const SharedHold&) = delete;
    SharedHold& operator=(const SharedHold&) = delete;

    // Whether the hold was taken (the file could be opened).
    bool held() const { return fd_ >= 0; }

    // Lets go; when no other program holds the file any more, runs `last`
    // first, alone (a program taking a hold meanwhile waits for it).
    void release(const std::function<void()>& last);

private:
    int fd_ = -1;
    QString path_;
};

}  // namespace tolvi
