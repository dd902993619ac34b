#include "notes/notes_write.h"

#include <QDir>
#include <QFileInfo>

#include "notes/file_read.h"
#include "notes/file_replace.h"
#include "notes/folder_lock.h"

namespace agelark {

WriteAttempt writeUnlessChanged(const QString& path, const QByteArray& content, const NotesRecord& allowed) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) throw FileError(QStringLiteral("its folder %1 could not be made").arg(folder));
    // Held from the look to the rename: another copy saving at the same moment
    // waits, and then finds a file that is not the one it loaded.
    const FolderLock lock(folder);
    try {
        const FileStamp found = stampOfRegularFile(path);
        const bool allowedHere = allowed.kind == NotesRecord::Kind::Loaded && allowed.path == path;
        if (!allowedHere || !sameContent(found, allowed.stamp)) return {false, found};
    } catch (const FileError& failure) {
        // Nothing there, or a link to nothing: no one's text can be lost.
        if (!failure.missing() && danglingLinkTarget(path).isEmpty()) throw;
    }
    return {true, replaceFile(path, content)};
}

}  // namespace agelark
