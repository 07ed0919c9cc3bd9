// Paths as the system has them: a Windows file name ignores case (the name
// as asked opens the file, whatever the case it was saved in), and the
// program shows paths with the system's separators.
#pragma once

#include <QDir>
#include <QString>
#include <gtest/gtest.h>

namespace tolvi::testing {
inline QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}
}  // namespace tolvi::testing

#ifdef _WIN32
#define EXPECT_SAME_FILE(a, b) \
    EXPECT_EQ(QString(a).toLower(), QString(b).toLower()) << QString(a).toStdString() << " / " << QString(b).toStdString()
#else
#define EXPECT_SAME_FILE(a, b) EXPECT_EQ(a, b) << QString(a).toStdString() << " / " << QString(b).toStdString()
#endif
