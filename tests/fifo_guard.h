// A named pipe made for a test, with a safety net: should anything open it
// for reading and block there, a writer opens it after a grace period and
// closes it at once, so that the reader sees an end of file and the test
// fails on rescued() instead of hanging.
// Windows folders hold no FIFOs: there, made() is false, and the tests that
// need one skip (TOLVI_NEEDS_FIFOS) before they make it.
#pragma once

#include "posix_only.h"

#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#ifdef _WIN32
class FifoGuard {
public:
    explicit FifoGuard(const QString&, std::chrono::milliseconds = std::chrono::seconds(3)) {}
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;
    bool made() const { return false; }
    bool rescued() const { return false; }
};
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class FifoGuard {
public:
    explicit FifoGuard(const QString& path, std::chrono::milliseconds grace = std::chrono::seconds(3))
        : path_(QFile::encodeName(path))
    {
        made_ = ::mkfifo(path_.constData(), 0600) == 0;
        if (made_)
            net_ = std::thread([this, grace] { watch(grace); });
    }
    ~FifoGuard()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (net_.joinable())
            net_.join();
    }
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;

    bool made() const { return made_; }
    // Whether a reader had opened the pipe and needed the net.
    bool rescued() const { return rescued_; }

private:
    void watch(std::chrono::milliseconds grace)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (wake_.wait_for(lock, grace, [this] { return stop_; }))
            return;
        while (!stop_) {
            // Succeeds only while someone holds the pipe open for reading.
            const int fd = ::open(path_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                rescued_ = true;
                ::close(fd);
            }
            wake_.wait_for(lock, std::chrono::milliseconds(20), [this] { return stop_; });
        }
    }

    QByteArray path_;
    bool made_ = false;
    std::atomic<bool> rescued_{false};
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread net_;
};
#endif
