#include "notes/notes_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "platform/platform.h"

namespace agelark {

namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }
QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }
[[noreturn]] void fail(const QString& reason) { throw std::runtime_error(reason.toStdString()); }

Loaded unreadable(Loaded at, const QString& reason) {
    at.kind = AtPath::Unreadable;
    at.reason = reason;
    return at;
}

QString notAFile(mode_t mode) {
    if (S_ISDIR(mode)) return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(mode)) return QStringLiteral("it is a named pipe (FIFO), not an ordinary file");
    return QStringLiteral("it is a device or a socket, not an ordinary file");
}

QString userName(uid_t uid) {
    passwd entry{}, *found = nullptr;
    char buffer[1024];
    const bool known = ::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found;
    return known ? QString::fromLocal8Bit(entry.pw_name) : QStringLiteral("user %1").arg(uid);
}

// Reads the regular file `file` whole, unless it is too big.
Loaded readFile(Loaded at, const QString& file) {
    // Not following a link: one put there since the look at the path is not read through.
    const int fd = ::open(native(file).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
    if (fd < 0) return unreadable(at, systemReason(errno));
    QFile opened;
    opened.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);  // closes it, whatever follows
    struct stat status {};
    if (::fstat(fd, &status) != 0) return unreadable(at, systemReason(errno));
    if (!S_ISREG(status.st_mode)) return unreadable(at, notAFile(status.st_mode));
    at.device = status.st_dev;
    at.inode = status.st_ino;
    at.owner = status.st_uid;
    at.mode = status.st_mode;
    at.kind = AtPath::TooBig;
    at.size = status.st_size;
    if (at.size > largestNotesFile) return at;
    const QByteArray bytes = opened.read(largestNotesFile + 1);  // a byte more tells a file grown since
    if (opened.error() != QFileDevice::NoError) return unreadable(at, opened.errorString());
    at.size = bytes.size();
    if (at.size > largestNotesFile) return at;
    at.kind = AtPath::File;
    at.bytes = bytes;
    return at;
}

// The file a save replaces: where a followed link leads, else the path itself.
QString fileToReplace(const Loaded& at) {
    return at.kind == AtPath::LinkNotYours || at.leadsTo.isEmpty() ? at.path : at.leadsTo;
}

bool yoursToWrite(const Loaded& at) {
    const QString file = fileToReplace(at);
    const QByteArray folder = native(QFileInfo(file).absolutePath());
    struct stat status {};
    // A missing folder is no reason to go elsewhere: the save tells it.
    if (::stat(folder.constData(), &status) != 0 || ::access(folder.constData(), W_OK) != 0)
        return errno != EACCES && errno != EPERM && errno != EROFS;
    const bool regular = at.kind == AtPath::File || at.kind == AtPath::TooBig;
    if (regular && ((at.mode & 0222) == 0 || ::access(native(file).constData(), W_OK) != 0)) return false;
    // In a sticky folder only root and the owners of the folder and of the entry may replace it.
    const uid_t me = ::geteuid();
    const bool owned = regular || at.kind == AtPath::LinkNotYours;
    return !(status.st_mode & S_ISVTX) || !owned || me == 0 || at.owner == me || status.st_uid == me;
}

// An exclusive lock (flock) on the notes folder from the look at the file to
// the rename, so that two copies saving at once do not both find the file as
// they loaded it. Any user who may read the folder can take it; the system
// drops it when the process ends. Other programs do not look at it.
class FolderLock {
public:
    explicit FolderLock(const QString& folder)
        : fd_(::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ < 0) fail(systemReason(errno));
        QElapsedTimer waited;
        waited.start();
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR)) {
            if (waited.elapsed() >= 1000) {
                ::close(fd_);
                fail(QStringLiteral("another copy of Agelark is saving its notes there right now. "
                                    "Wait a moment and save again"));
            }
            QThread::msleep(10);
        }
    }
    ~FolderLock() { ::close(fd_); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

// Writes `bytes` into a new file beside `file`, with the old file's
// permissions (`mode`, 0 for none), syncs it and renames it over `file`,
// replacing whatever entry is there without following it. Gives the new
// file's status; on failure the new file is removed.
struct stat replace(const QString& file, const QByteArray& bytes, mode_t mode) {
    const QFileInfo info(file);
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = native(QStringLiteral("%1/.%2.%3").arg(info.absolutePath(), info.fileName()).arg(
            QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || (errno == EEXIST && attempt < 10)) continue;
        if (errno == ENOENT) fail(QStringLiteral("the folder %1 does not exist").arg(info.absolutePath()));
        fail(QStringLiteral("no new copy could be written beside it (%1)").arg(systemReason(errno)));
    }
    struct stat status {};
    try {
        const auto check = [](bool done) {
            if (!done) fail(systemReason(errno));
        };
        if (mode != 0) check(::fchmod(fd, mode & 07777) == 0);
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t wrote = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            check(wrote >= 0 || errno == EINTR);
            done += qMax<ssize_t>(wrote, 0);
        }
        // Errors of the delayed writing (a full network disk) show only here.
        check(::fdatasync(fd) == 0 && ::fstat(fd, &status) == 0);
        check(::close(std::exchange(fd, -1)) == 0 && ::rename(temp.constData(), native(file).constData()) == 0);
    } catch (...) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.constData());
        throw;
    }
    return status;
}

}  // namespace

Loaded readNotes(const QString& path) {
    Loaded at{.path = path};
    QString file = path;
    struct stat status {};
    for (int links = 0;; ++links) {
        if (::lstat(native(file).constData(), &status) != 0) {
            if (errno != ENOENT) return unreadable(at, systemReason(errno));
            at.kind = file == path ? AtPath::Missing : AtPath::DanglingLink;
            at.reason = QStringLiteral("it links to %1, which does not exist").arg(at.leadsTo);
            return at;
        }
        if (!S_ISLNK(status.st_mode)) break;
        at.leadsTo = QFileInfo(file).symLinkTarget();
        if (status.st_uid != ::geteuid() && status.st_uid != 0) {
            at.kind = AtPath::LinkNotYours;
            at.owner = status.st_uid;
            at.reason = QStringLiteral("it is a link, made by %1, to %2").arg(userName(status.st_uid), at.leadsTo);
            return at;
        }
        if (links == 8) return unreadable(at, systemReason(ELOOP));
        file = at.leadsTo;
    }
    if (!S_ISREG(status.st_mode)) return unreadable(at, notAFile(status.st_mode));
    return readFile(at, file);
}

bool sameAtPath(const Loaded& a, const Loaded& b) {
    return a.kind == b.kind && a.path == b.path && a.leadsTo == b.leadsTo && a.owner == b.owner &&
           a.device == b.device && a.inode == b.inode && a.size == b.size && a.bytes == b.bytes;
}

NotesPaths notesPaths() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString own = folder.isEmpty() ? QString() : folder + QStringLiteral("/Notes.txt");
    // An installed program has no notes file beside it: the user's own copy is the only one.
    return {runsInstalled() ? own : platform().appFolder + QStringLiteral("/Notes.txt"), own};
}

QString notesToRead(const NotesPaths& paths) {
    struct stat status {};
    if (!paths.own.isEmpty() && ::lstat(native(paths.own).constData(), &status) == 0) return paths.own;
    return paths.beside;
}

QString notesToWrite(const NotesPaths& paths) {
    const QString read = notesToRead(paths);
    if (read != paths.beside || paths.own.isEmpty() || yoursToWrite(readNotes(paths.beside))) return read;
    return paths.own;
}

Written writeNotes(const QString& path, const QByteArray& bytes, const Expected& expected, bool unchanged) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) fail(QStringLiteral("its folder %1 could not be made").arg(folder));
    const FolderLock lock(folder);
    const Loaded found = readNotes(path);
    if (found.kind == AtPath::Unreadable) fail(found.reason);
    const AtPath was = expected.at.kind;
    const bool padHoldsIt = was == AtPath::Missing || was == AtPath::File || was == AtPath::DanglingLink;
    if (!sameAtPath(found, expected.at) || !(padHoldsIt || expected.agreed)) return {false, found};
    if (unchanged && !expected.agreed && found.kind == AtPath::File) return {true, found};

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
