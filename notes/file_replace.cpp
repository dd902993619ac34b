#include "file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace agelark {

namespace {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Why the existing file at `path` may not be replaced, or an empty text.
QString refusal(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat status {};
    if (::stat(native.constData(), &status) != 0)
        return errno == ENOENT ? QStringLiteral("the file does not exist") : systemReason(errno);
    if (S_ISDIR(status.st_mode)) return QStringLiteral("it is a folder, not a file");
    if (!S_ISREG(status.st_mode)) return QStringLiteral("it is not an ordinary file");
    // No write permission for anyone marks the file read-only, also for a
    // user (root) whom the system would let write it anyway.
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return QStringLiteral("the file is read-only");
    // Opening it for writing, without creating or emptying it, asks the system
    // whether this user may write it; the rename below would not ask.
    const int fd = ::open(native.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return systemReason(errno);
    ::close(fd);
    return {};
}

}  // namespace

QString replaceExistingFile(const QString& path, const QByteArray& content) {
    if (QString why = refusal(path); !why.isEmpty()) return why;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("no new copy could be written in its folder %1 (%2)")
            .arg(QFileInfo(path).absolutePath(), file.errorString());
    if (file.write(content) != content.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit()) return file.errorString();
    return {};
}

}  // namespace agelark
