// Tests of things that only POSIX systems have: on Windows they are skipped
// with the reason, so that the suite's report lists them.
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#define TOLVI_POSIX_ONLY(reason) GTEST_SKIP() << "POSIX only: " << reason
#else
#define TOLVI_POSIX_ONLY(reason) static_cast<void>(0)
#endif

// The usual reasons.
#define TOLVI_NEEDS_FIFOS() \
    TOLVI_POSIX_ONLY("Windows folders hold no named pipes (mkfifo); Windows pipes (\\\\.\\pipe\\) are tried in tests_platform")
#define TOLVI_NEEDS_SYMLINKS() \
    TOLVI_POSIX_ONLY("QFile::link makes a .lnk shortcut on Windows, not a symbolic link")
