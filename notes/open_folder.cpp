#include "notes/open_folder.h"

#include <pwd.h>

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <climits>
#include <cstring>
#include <stdexcept>

namespace agelark::files {

QByteArray native(const QString& path) { return QFile::encodeName(path); }
QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }
void fail(const QString& reason) { throw std::runtime_error(reason.toStdString()); }

QString userName(uid_t uid) {
    passwd entry{}, *found = nullptr;
    char buffer[1024];
    const bool known = ::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found;
    return known ? QString::fromLocal8Bit(entry.pw_name) : QStringLiteral("user %1").arg(uid);
}

QString linkOf(const QString& link, uid_t owner, const QString& target) {
    return QStringLiteral("%1 is a link that %2 made, to %3").arg(link, userName(owner), target);
}

QString inFolder(int folder, const QByteArray& name) {
    const int error = errno;
    const QString at = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(folder));
    errno = error;
    return (at.endsWith(u'/') ? at : at + u'/') + QFile::decodeName(name);
}

QString readLink(int folder, const QByteArray& name) {
    QByteArray target(PATH_MAX, Qt::Uninitialized);
    const ssize_t length = ::readlinkat(folder, name.constData(), target.data(), size_t(target.size()));
    if (length < 0) fail(systemReason(errno));
    return QFile::decodeName(target.first(length));
}

Fd openFolder(const QString& path, bool make) {
    const auto root = [] { return Fd(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC)); };
    QStringList rest = path.split(u'/', Qt::SkipEmptyParts);  // from an absolute path
    Fd at = root();
    for (int links = 0; !rest.isEmpty();) {
        const QByteArray name = native(rest.takeFirst());
        struct stat status {};
        const bool there = ::fstatat(at, name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0;
        if (there && S_ISLNK(status.st_mode)) {
            const QString target = readLink(at, name);
            if (!trusted(status.st_uid))
                fail(linkOf(inFolder(at, name), status.st_uid, target) + ", which is not followed");
            if (++links > 40) fail(systemReason(ELOOP));
            rest = target.split(u'/', Qt::SkipEmptyParts) + rest;
            if (target.startsWith(u'/')) at = root();
            continue;
        }
        if (!there && make && errno == ENOENT) ::mkdirat(at, name.constData(), 0700);
        Fd next(::openat(at, name.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (next < 0 && errno == ENOENT) fail(QStringLiteral("the folder %1 does not exist").arg(inFolder(at, name)));
        if (next < 0) fail(QStringLiteral("%1: %2").arg(inFolder(at, name), systemReason(errno)));
        at = std::move(next);
    }
    struct stat status {};
    if (make && (::fstat(at, &status) != 0 || status.st_uid != ::geteuid()))
        fail(QStringLiteral("the folder %1 is %2's, not yours").arg(path, userName(status.st_uid)));
    return at;
}

std::pair<QByteArray, struct stat> writeNew(int folder, const std::function<QByteArray(int)>& name,
                                            const QByteArray& bytes, mode_t mode) {
    QByteArray file;
    Fd fd;
    for (int attempt = 0; fd < 0; ++attempt) {
        fd = Fd(::openat(folder, (file = name(attempt)).constData(), O_WRONLY | O_CREAT | O_EXCL | openFlags,
                         mode ? mode : 0666));
        if (fd < 0 && (errno != EEXIST || attempt == 10))
            fail(QStringLiteral("no new file could be written in %1 (%2)")
                     .arg(inFolder(folder, {}), systemReason(errno)));
    }
    struct stat status {};
    const auto check = [&](bool done) {
        if (done) return;
        const int error = errno;
        ::unlinkat(folder, file.constData(), 0);
        fail(systemReason(error));
    };
    if (mode) check(::fchmod(fd, mode) == 0);
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        check(wrote >= 0 || errno == EINTR);
        done += qMax<ssize_t>(wrote, 0);
    }
    // Errors of the delayed writing (a full network disk) show only here.
    check(::fdatasync(fd) == 0 && ::fstat(fd, &status) == 0);
    check(::close(std::exchange(fd.fd, -1)) == 0);
    return {file, status};
}

}  // namespace agelark::files
