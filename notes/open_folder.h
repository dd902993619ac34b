#pragma once
// Files reached through a folder opened once: walked one name at a time from
// the root, a link on the way followed only where this user or root owns it
// (as the kernel's protected-symlinks rule does in sticky folders), every
// later step through its descriptor (openat, fstatat, renameat, unlinkat), so
// that nothing put in place on the way since is followed. No open here waits:
// not on a pipe, a device, nor a file under another program's lease. Failures
// throw std::runtime_error with the reason for the user. For the notes thread.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <functional>
#include <utility>

namespace agelark::files {

// Every file opened here: never waited on, never through a link, never left open in a program this one starts.
constexpr int openFlags = O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;

QByteArray native(const QString& path);
QString systemReason(int error);
[[noreturn]] void fail(const QString& reason);
QString userName(uid_t uid);  // "user <uid>" for one without a name

// A descriptor, closed with its holder.
struct Fd {
    int fd = -1;
    explicit Fd(int opened = -1) : fd(opened) {}
    Fd(Fd&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    Fd& operator=(Fd other) noexcept {
        std::swap(fd, other.fd);
        return *this;
    }
    ~Fd() { if (fd >= 0) ::close(fd); }
    operator int() const { return fd; }
};

inline bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
// Whether a link of `owner`'s is followed: this user's and root's.
inline bool trusted(uid_t owner) { return owner == ::geteuid() || owner == 0; }
// "<link> is a link that <owner> made, to <target>"
QString linkOf(const QString& link, uid_t owner, const QString& target);
// A name in an open folder, for messages: where the folder is now, as the
// system knows it. Leaves errno as it was, for the message's reason.
QString inFolder(int folder, const QByteArray& name);
QString readLink(int folder, const QByteArray& name);

// The folder the absolute `path` names, walked from the root; a link of
// another user's on the way is refused. `make` makes the folders missing, for
// this user alone; then one of another user's at the end is refused too.
Fd openFolder(const QString& path, bool make);

// Writes `bytes` into a new file in `folder`, named `name(attempt)` until a
// name is free, with `mode` (0: as the umask has it), and syncs it. Gives its
// name and status; on failure nothing of it is left.
std::pair<QByteArray, struct stat> writeNew(int folder, const std::function<QByteArray(int attempt)>& name,
                                            const QByteArray& bytes, mode_t mode);

}  // namespace agelark::files
