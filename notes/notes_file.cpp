#include "notes/notes_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

#include "platform/platform.h"

namespace agelark {

namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

QString notAFile(mode_t mode) {
    if (S_ISDIR(mode)) return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(mode)) return QStringLiteral("it is a named pipe (FIFO), not an ordinary file");
    if (S_ISSOCK(mode)) return QStringLiteral("it is a socket, not an ordinary file");
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("it is a device, not an ordinary file");
    return QStringLiteral("it is not an ordinary file");
}

QString userName(uid_t uid) {
    passwd entry{}, *found = nullptr;
    char buffer[1024];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found) return QString::fromLocal8Bit(entry.pw_name);
    return QStringLiteral("user %1").arg(uid);
}

Loaded unreadable(Loaded at, const QString& reason) {
    at.kind = AtPath::Unreadable;
    at.reason = reason;
    return at;
}

// Reads the regular file `file` whole, unless it is too big.
Loaded readFile(Loaded at, const QString& file) {
    // Not following a link: one put there since the look at the path is not read through.
    const int fd = ::open(native(file).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
    if (fd < 0) return unreadable(std::move(at), systemReason(errno));
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0) return unreadable(std::move(at), systemReason(errno));
    if (!S_ISREG(status.st_mode)) return unreadable(std::move(at), notAFile(status.st_mode));
    at.device = status.st_dev;
    at.inode = status.st_ino;
    at.owner = status.st_uid;
    at.mode = status.st_mode;
    at.size = status.st_size;
    at.kind = AtPath::TooBig;
    if (at.size > largestNotesFile) return at;
    // Up to one byte past the limit, in case the file grew since the look.
    QByteArray bytes(largestNotesFile + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return unreadable(std::move(at), systemReason(errno));
        if (got == 0) break;
        filled += got;
    }
    at.size = filled;
    if (filled > largestNotesFile) return at;
    bytes.truncate(filled);
    at.kind = AtPath::File;
    at.bytes = std::move(bytes);
    return at;
}

bool permissionDenied(int error) { return error == EACCES || error == EPERM || error == EROFS; }

}  // namespace

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

Loaded readNotes(const QString& path) {
    Loaded at{.path = path};
    QString file = path;
    struct stat status {};
    for (int links = 0;; ++links) {
        if (::lstat(native(file).constData(), &status) != 0) {
            if (errno != ENOENT) return unreadable(std::move(at), systemReason(errno));
            at.kind = file == path ? AtPath::Missing : AtPath::DanglingLink;
            return at;
        }
        if (!S_ISLNK(status.st_mode)) break;
        at.leadsTo = QFileInfo(file).symLinkTarget();
        if (status.st_uid != ::geteuid() && status.st_uid != 0) {
            at.kind = AtPath::LinkNotYours;
            at.owner = status.st_uid;
            at.linkOwner = userName(status.st_uid);
            return at;
        }
        if (links == 8) return unreadable(std::move(at), systemReason(ELOOP));
        file = at.leadsTo;
    }
    if (!S_ISREG(status.st_mode)) return unreadable(std::move(at), notAFile(status.st_mode));
    return readFile(std::move(at), file);
}

bool sameAtPath(const Loaded& a, const Loaded& b) {
    return a.kind == b.kind && a.path == b.path && a.leadsTo == b.leadsTo && a.owner == b.owner &&
           a.device == b.device && a.inode == b.inode && a.size == b.size && a.bytes == b.bytes;
}

QString fileToReplace(const Loaded& at) {
    return at.kind == AtPath::LinkNotYours || at.leadsTo.isEmpty() ? at.path : at.leadsTo;
}

bool yoursToWrite(const Loaded& at) {
    const QString file = fileToReplace(at);
    const QByteArray folder = native(QFileInfo(file).absolutePath());
    struct stat status {};
    // A folder that is missing is no reason to go elsewhere: the save tells it.
    if (::stat(folder.constData(), &status) != 0 || ::access(folder.constData(), W_OK) != 0)
        return !permissionDenied(errno);
    const bool regular = at.kind == AtPath::File || at.kind == AtPath::TooBig;
    if (regular && ((at.mode & 0222) == 0 || ::access(native(file).constData(), W_OK) != 0)) return false;
    // In a sticky folder only root and the owners of the folder and of the entry may replace it.
    const uid_t me = ::geteuid();
    const bool owned = regular || at.kind == AtPath::LinkNotYours;
    return !(status.st_mode & S_ISVTX) || !owned || me == 0 || at.owner == me || status.st_uid == me;
}

NotesPaths notesPaths() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return {appFilePath("\\Notes.txt"), folder.isEmpty() ? QString() : folder + QStringLiteral("/Notes.txt")};
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

}  // namespace agelark
