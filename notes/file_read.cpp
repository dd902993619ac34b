#include "notes/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

namespace agelark {

namespace {

// Closes a descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

[[noreturn]] void failOpening(const QString& path, int error) {
    if (error == ENOENT) {
        if (const QString target = danglingLinkTarget(path); !target.isEmpty())
            throw FileError(QStringLiteral("it links to %1, which does not exist").arg(target));
        throw FileError(QStringLiteral("the file does not exist"), true);
    }
    throw FileError(systemReason(error));
}

}  // namespace

FileContent readRegularFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    // The type is looked at before opening, so that opening has no effect on a
    // device, and again on what was opened, in case the file was swapped between.
    struct stat status {};
    if (::stat(native.constData(), &status) != 0) failOpening(path, errno);
    if (!S_ISREG(status.st_mode)) throw FileError(notOrdinaryFile(status.st_mode));
    // Without O_NONBLOCK, opening a named pipe waits for a writer, for ever.
    const Descriptor file{::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0) failOpening(path, errno);
    if (::fstat(file.fd, &status) != 0) throw FileError(systemReason(errno));
    if (!S_ISREG(status.st_mode)) throw FileError(notOrdinaryFile(status.st_mode));

    FileContent content;
    content.stamp.modifiedNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    // Read to the end, which may come later than the size said if the file grows meanwhile.
    QByteArray& bytes = content.bytes;
    bytes.resize(qMax<qsizetype>(status.st_size, 0) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t got = ::read(file.fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw FileError(systemReason(errno));
        if (got == 0) break;
        filled += got;
    }
    bytes.truncate(filled);
    content.stamp.size = filled;
    content.stamp.hash = contentHash(bytes);
    return content;
}

}  // namespace agelark
