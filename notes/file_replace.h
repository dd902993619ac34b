#pragma once
// Writing a file so that a failure at any point leaves its old content whole.

#include <QByteArray>
#include <QString>

#include "notes/file_stamp.h"

namespace agelark {

// Writes `content` as the file at `path` and returns the file's new stamp.
//  - Where this user may write the file's folder, the content goes into a new
//    copy beside the file, is synced to disk, and the copy is renamed over the
//    file (QSaveFile): the file's permissions are kept, a link stays a link to
//    its file, and a missing file, or the missing target of a link, is made.
//  - Where only the file itself may be written (a shared file in a folder of
//    the administrator's), it is written in place: room for the new content is
//    reserved first, so that a full disk or the file-size limit stops the save
//    before any old byte is changed.
// Anything but a regular file, or a file that nobody may write, is refused.
// Throws FileError, with the system's own reason where it has one.
FileStamp replaceFile(const QString& path, const QByteArray& content);

}  // namespace agelark
