#include "notes/file_stamp.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QFileInfo>
#include <cstring>

namespace agelark {

QByteArray contentHash(QByteArrayView bytes) { return QCryptographicHash::hash(bytes, contentHashAlgorithm); }

bool sameContent(const FileStamp& a, const FileStamp& b) { return a.size == b.size && a.hash == b.hash; }

FileError::FileError(const QString& reason, bool missing) : std::runtime_error(reason.toStdString()), missing_(missing) {}

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

qint64 modifiedNs(const struct stat& status) {
    return qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

QString notOrdinaryFile(mode_t mode) {
    if (S_ISDIR(mode)) return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(mode)) return QStringLiteral("it is a named pipe (FIFO), not an ordinary file");
    if (S_ISSOCK(mode)) return QStringLiteral("it is a socket, not an ordinary file");
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("it is a device, not an ordinary file");
    return QStringLiteral("it is not an ordinary file");
}

QString danglingLinkTarget(const QString& path) {
    const QFileInfo link(path);
    if (!link.isSymLink() || link.exists()) return {};
    return link.symLinkTarget();
}

}  // namespace agelark
