#pragma once
// Reading a file that may turn out to be no ordinary file, whole or a part at a time.

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

#include "notes/file_stamp.h"

namespace agelark {

// The regular file at `path`, links followed, read from start to end a part
// at a time, so that a big file never has to be held whole. Never waits on
// anything else: a named pipe, a device, a socket or a folder is refused
// without being read.
class RegularFileReader {
public:
    // Opens the file. Throws FileError: missing() when nothing is at `path`;
    // for a link to nothing, the reason names the link's target.
    explicit RegularFileReader(const QString& path);
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader&) = delete;
    RegularFileReader& operator=(const RegularFileReader&) = delete;

    // The file's size when it was opened.
    qint64 sizeAtOpening() const { return sizeAtOpening_; }
    // The next at most `maxBytes` bytes; an empty part at the end, which may
    // come later than the size said if the file grows meanwhile. Throws FileError.
    QByteArray next(qsizetype maxBytes);
    // What was read so far, with the modification time from before the
    // reading: the whole file's stamp once next() has given the empty part.
    FileStamp stamp();

private:
    int fd_ = -1;
    qint64 sizeAtOpening_ = 0;
    qint64 modifiedNs_ = 0;
    qint64 read_ = 0;
    QCryptographicHash hash_{contentHashAlgorithm};
};

// The stamp of the regular file at `path`, read a part at a time (see RegularFileReader).
FileStamp stampOfRegularFile(const QString& path);

}  // namespace agelark
