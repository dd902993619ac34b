#include "notes/notes_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>

#include "notes/file_stamp.h"
#include "platform/platform.h"

namespace agelark {

namespace {

bool permissionError(int error) { return error == EACCES || error == EPERM || error == EROFS; }

// Whether the system denies this user writing the file at `path`, or making
// it there. Other troubles (a missing folder) are no reason to move the notes
// elsewhere: the save reports them.
bool writingDenied(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (::access(native.constData(), W_OK) == 0) {
        struct stat status {};
        return ::stat(native.constData(), &status) == 0 && S_ISREG(status.st_mode) &&
               (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    }
    if (errno != ENOENT) return permissionError(errno);
    const QString target = danglingLinkTarget(path);
    const QString folder = QFileInfo(target.isEmpty() ? path : target).absolutePath();
    return ::access(QFile::encodeName(folder).constData(), W_OK) != 0 && permissionError(errno);
}

// Anything at `path`, also a link to nothing.
bool somethingAt(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

}  // namespace

QString ownNotesFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/Notes.txt");
}

NotesFiles notesFiles() {
    const QString beside = appFilePath("\\Notes.txt");
    const QString own = ownNotesFile();
    if (own.isEmpty()) return {beside, beside};
    // Once made, the own copy is used for good, so that notes saved there are
    // never hidden by the file beside the program becoming writable again.
    if (somethingAt(own)) return {own, own};
    if (!writingDenied(beside)) return {beside, beside};
    return {beside, own};
}

}  // namespace agelark
