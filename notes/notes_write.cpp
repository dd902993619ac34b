#include "notes/notes_write.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>
#include <cerrno>

namespace agelark {

namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// An exclusive lock (flock) on the notes folder from the look at the file to
// the rename, so that two copies saving at once do not both find the file as
// they loaded it. Any user who may read the folder can take it; the system
// drops it when the process ends. Other programs do not look at it.
class FolderLock {
public:
    explicit FolderLock(const QString& folder) {
        fd_ = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ < 0) throw FileError(systemReason(errno));
        QElapsedTimer waited;
        waited.start();
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) return;  // no locks here: the look at the file still stands
            if (waited.elapsed() >= 1000) {
                ::close(fd_);
                throw FileError(QStringLiteral("another copy of Agelark is saving its notes there right now. "
                                               "Wait a moment and save again"));
            }
            QThread::msleep(10);
        }
    }
    ~FolderLock() { ::close(fd_); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

// Writes `bytes` into a new file beside `file`, with the old file's
// permissions (`mode`, 0 for none), syncs it and renames it over `file`; the
// rename replaces whatever entry is there, a link included, without following
// it. Gives the new file's status. On failure the new file is removed.
struct stat replace(const QString& file, const QByteArray& bytes, mode_t mode) {
    const QFileInfo info(file);
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = native(info.absolutePath() + QStringLiteral("/.%1.%2").arg(info.fileName()).arg(
                                                QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || (errno == EEXIST && attempt < 10)) continue;
        if (errno == ENOENT) throw FileError(QStringLiteral("the folder %1 does not exist").arg(info.absolutePath()));
        throw FileError(QStringLiteral("no new copy could be written beside it (%1)").arg(systemReason(errno)));
    }
    struct stat status {};
    try {
        const auto check = [](bool ok) {
            if (!ok) throw FileError(systemReason(errno));
        };
        if (mode != 0) check(::fchmod(fd, mode & 07777) == 0);
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t wrote = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (wrote < 0 && errno == EINTR) continue;
            check(wrote >= 0);
            done += wrote;
        }
        // Errors of the delayed writing (a full network disk) show only here.
        check(::fdatasync(fd) == 0 && ::fstat(fd, &status) == 0);
        const int closed = ::close(fd);
        fd = -1;
        check(closed == 0 && ::rename(temp.constData(), native(file).constData()) == 0);
    } catch (...) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.constData());
        throw;
    }
    return status;
}

}  // namespace

WriteOutcome writeNotes(const QString& path, const QByteArray& bytes, const Expected& expected, bool unchanged) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) throw FileError(QStringLiteral("its folder %1 could not be made").arg(folder));
    const FolderLock lock(folder);
    const Loaded found = readNotes(path);
    if (found.kind == AtPath::Unreadable) throw FileError(found.reason);
    const AtPath was = expected.at.kind;
    const bool padStandsForIt = was == AtPath::Missing || was == AtPath::File || was == AtPath::DanglingLink;
    if (!sameAtPath(found, expected.at) || !(padStandsForIt || expected.agreed)) return {false, found};
    if (unchanged && found.kind == AtPath::File) return {true, found};

    const QString file = fileToReplace(found);
    const bool regular = found.kind == AtPath::File || found.kind == AtPath::TooBig;
    const struct stat status = replace(file, bytes, regular ? found.mode : 0);
    Loaded now{.kind = AtPath::File, .path = path, .leadsTo = file == path ? QString() : file};
    now.device = status.st_dev;
    now.inode = status.st_ino;
    now.owner = status.st_uid;
    now.mode = status.st_mode;
    now.size = bytes.size();
    now.bytes = bytes;
    return {true, now};
}

}  // namespace agelark
