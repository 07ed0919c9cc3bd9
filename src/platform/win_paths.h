#pragma once
// Windows only: names handed to the wide (UTF-16) calls of the system, and
// the system's own words for its error codes.

#include <QString>

#include <string>

namespace tolvi::win {

// `path` with the system's separators, as a null-terminated UTF-16 string
// for the ...W calls: names in any script pass whole, whatever the ANSI code
// page of the machine.
std::wstring widePath(const QString& path);

// The system's message for an error code (GetLastError()), in the language of
// the system, without its final line break.
QString systemMessage(unsigned long code);

// Whether `path` names a device or a pipe by its device-space form
// ("\\.\pipe\name", "\\.\COM1"): these are never looked at by opening them,
// as opening a pipe takes one of its server's connections.
bool isDeviceSpaceName(const QString& path);

// What a name leads to, looked at without reading or writing it: nothing, a
// file or a folder on a disk, or a device or pipe (NUL, CON, COM1,
// "\\.\pipe\name").
enum class NameKind { Missing, File, Folder, Device };
NameKind nameKind(const QString& path);

}  // namespace tolvi::win
