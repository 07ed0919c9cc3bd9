#pragma once
// The one way Tolvi opens a file it reads (configurations, exercises,
// statements and texts), from the windows and from the batch line alike.
//
// Only a regular file is opened, or a symbolic link to one: a FIFO, a
// device, a socket or a folder is refused before anything is opened, so that
// a named pipe on a pupil's USB stick can never block the program. (The file
// is opened without blocking and checked once more, in case it was replaced
// in between.) Reads are bounded: a head of the first bytes, or a whole file
// up to a stated size.

#include <QByteArray>
#include <QString>

class QFile;

namespace tolvi {

// The bytes the file system knows `path` by: its UTF-8 encoding; or, for a
// name that is only there in Latin-1 (a file copied from an old machine,
// "caf\xe9.P15"), its Latin-1 bytes.
QByteArray localFileName(const QString& path);

// A command-line argument as a path that localFileName() gives back byte
// for byte: UTF-8 when it is valid UTF-8, else each byte as one character.
QString argumentText(const char* argument);

// What a path names, symbolic links followed.
enum class FileNature {
    Missing,  // nothing by that name (or a link to nothing)
    Regular,  // a regular file
    Folder,
    Special,  // a FIFO, a device, a socket
};
FileNature fileNature(const QString& path);

// A regular file, or a symbolic link to one.
bool isRegularFile(const QString& path);

// Opens `file` (not open yet) read-only on `path` when it is a regular file;
// false, with nothing opened, otherwise.
bool openRegularFile(QFile& file, const QString& path);

struct FileBytes {
    enum class Status {
        Ok,
        Missing,
        NotRegular,  // a folder, a FIFO, a device, a socket
        TooLarge,    // larger than the limit asked: nothing read
        Unreadable,  // could not be opened or read
    };
    Status status = Status::Ok;
    QByteArray bytes;
    qint64 size = 0;  // the file's size, when it could be told

    bool ok() const { return status == Status::Ok; }
};

// At most the first `count` bytes of a regular file.
FileBytes readFileHead(const QString& path, qint64 count);

// A whole regular file of at most `limit` bytes; a larger one is refused
// (TooLarge) without being read.
FileBytes readWholeFile(const QString& path, qint64 limit);

}  // namespace tolvi
