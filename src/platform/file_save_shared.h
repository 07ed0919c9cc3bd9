#pragma once
// What the saving of files does the same way on every system, for the
// system's own file_save*.cpp.

#include <QFile>
#include <QString>
#include <functional>
#include <optional>

namespace tolvi::savefile {

// The reason a write or close of `file` failed, in the system's words.
std::optional<QString> failure(const QFileDevice& file);

// Writes through `file` (open already) with `write`, then closes it:
// nothing on success, else the reason.
std::optional<QString> writeInPlace(QFile& file, const std::function<bool(QIODevice&)>& write);

}  // namespace tolvi::savefile
