#pragma once
// Reading a whole file that may turn out to be no ordinary file.

#include <QByteArray>
#include <QString>

#include "notes/file_stamp.h"

namespace agelark {

struct FileContent {
    QByteArray bytes;
    FileStamp stamp;  // of these bytes, with the modification time from before they were read
};

// Reads the regular file at `path`, links followed. Never waits on anything
// else: a named pipe, a device, a socket or a folder is refused without being
// read. Throws FileError: missing() when nothing is at `path`; for a link to
// nothing, the reason names the link's target.
FileContent readRegularFile(const QString& path);

}  // namespace agelark
