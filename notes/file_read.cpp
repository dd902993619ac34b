#include "notes/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

namespace agelark {

namespace {

constexpr qsizetype stampPart = 1 << 20;

[[noreturn]] void failOpening(const QString& path, int error) {
    if (error == ENOENT) {
        if (const QString target = danglingLinkTarget(path); !target.isEmpty())
            throw FileError(QStringLiteral("it links to %1, which does not exist").arg(target));
        throw FileError(QStringLiteral("the file does not exist"), true);
    }
    throw FileError(systemReason(error));
}

}  // namespace

RegularFileReader::RegularFileReader(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    // The type is looked at before opening, so that opening has no effect on a
    // device, and again on what was opened, in case the file was swapped between.
    struct stat status {};
    if (::stat(native.constData(), &status) != 0) failOpening(path, errno);
    if (!S_ISREG(status.st_mode)) throw FileError(notOrdinaryFile(status.st_mode));
    // Without O_NONBLOCK, opening a named pipe waits for a writer, for ever.
    fd_ = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) failOpening(path, errno);
    // The destructor does not run for a constructor that throws.
    auto fail = [this](const QString& reason) {
        ::close(fd_);
        fd_ = -1;
        throw FileError(reason);
    };
    if (::fstat(fd_, &status) != 0) fail(systemReason(errno));
    if (!S_ISREG(status.st_mode)) fail(notOrdinaryFile(status.st_mode));
    sizeAtOpening_ = qMax<qint64>(status.st_size, 0);
    modifiedNs_ = modifiedNs(status);
    // The kernel reads ahead further for a file read from start to end.
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

RegularFileReader::~RegularFileReader() {
    if (fd_ >= 0) ::close(fd_);
}

QByteArray RegularFileReader::next(qsizetype maxBytes) {
    QByteArray part(maxBytes, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < maxBytes) {
        const ssize_t got = ::read(fd_, part.data() + filled, size_t(maxBytes - filled));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw FileError(systemReason(errno));
        if (got == 0) break;
        filled += got;
    }
    part.truncate(filled);
    hash_.addData(part);
    read_ += filled;
    return part;
}

FileStamp RegularFileReader::stamp() { return {read_, modifiedNs_, hash_.result()}; }

FileStamp stampOfRegularFile(const QString& path) {
    RegularFileReader file(path);
    while (!file.next(stampPart).isEmpty()) {
    }
    return file.stamp();
}

}  // namespace agelark
