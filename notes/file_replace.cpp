#include "notes/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace agelark {

namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// Reserves room for `size` bytes, so that a full disk or the file-size limit
// is met now and not halfway through the writing. A file system that cannot
// reserve is written without.
void reserve(int fd, qint64 size) {
    if (size == 0) return;
    const int error = ::posix_fallocate(fd, 0, off_t(size));
    if (error != 0 && error != EOPNOTSUPP && error != EINVAL) throw FileError(systemReason(error));
}

// Writes all of `content` from the start of the file, synced to disk, and returns the file's stamp.
FileStamp writeAll(int fd, const QByteArray& content) {
    reserve(fd, content.size());
    for (qsizetype done = 0; done < content.size();) {
        const ssize_t wrote = ::pwrite(fd, content.constData() + done, size_t(content.size() - done), off_t(done));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote < 0) throw FileError(systemReason(errno));
        done += wrote;
    }
    if (::ftruncate(fd, off_t(content.size())) != 0) throw FileError(systemReason(errno));
    // Errors of the delayed writing (a full network disk) show only here.
    if (::fdatasync(fd) != 0) throw FileError(systemReason(errno));
    struct stat status {};
    if (::fstat(fd, &status) != 0) throw FileError(systemReason(errno));
    return {content.size(), modifiedNs(status), contentHash(content)};
}

// A new copy beside the file, renamed over it. QSaveFile's own write errors
// only say "Unknown error" for a full disk, so the bytes go through its
// descriptor here, where errno tells the reason; it still makes, syncs and
// renames the copy, and removes it when the save fails.
FileStamp replaceByRename(const QString& path, const QByteArray& content) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("no new copy could be written beside it (%1)").arg(file.errorString()));
    const FileStamp stamp = writeAll(file.handle(), content);
    if (!file.commit()) throw FileError(file.errorString());
    return stamp;
}

// QSaveFile's fallback for this case empties the file before writing, so a
// full disk would leave nothing: the file is written over instead, and only
// shortened at the end.
FileStamp replaceInPlace(const QString& path, const QByteArray& content) {
    const int fd = ::open(native(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw FileError(systemReason(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0) throw FileError(systemReason(errno));
    if (!S_ISREG(status.st_mode)) throw FileError(notOrdinaryFile(status.st_mode));
    return writeAll(fd, content);
}

}  // namespace

FileStamp replaceFile(const QString& path, const QByteArray& content) {
    struct stat status {};
    const bool exists = ::stat(native(path).constData(), &status) == 0;
    if (!exists && errno != ENOENT) throw FileError(systemReason(errno));
    if (exists && !S_ISREG(status.st_mode)) throw FileError(notOrdinaryFile(status.st_mode));
    // No write permission for anyone marks the file read-only, also for a
    // user (root) whom the system would let write it anyway.
    if (exists && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        throw FileError(QStringLiteral("the file is read-only"));

    // Where the file is, or will be made: a link is followed.
    const QString linkTarget = exists ? QString() : danglingLinkTarget(path);
    const QString file = exists ? QFileInfo(path).canonicalFilePath() : linkTarget.isEmpty() ? path : linkTarget;
    const QString folder = QFileInfo(file).absolutePath();
    if (::access(native(folder).constData(), W_OK) == 0) return replaceByRename(path, content);
    const int folderError = errno;
    if (folderError == ENOENT)
        throw FileError(linkTarget.isEmpty()
                            ? QStringLiteral("the folder %1 does not exist").arg(folder)
                            : QStringLiteral("it links to %1, and the folder %2 does not exist").arg(linkTarget, folder));
    if (exists && ::access(native(file).constData(), W_OK) == 0) return replaceInPlace(file, content);
    throw FileError(systemReason(exists ? errno : folderError));
}

}  // namespace agelark
