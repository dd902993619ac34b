#pragma once
// What a file held when it was read or written, to tell later whether it has
// changed since; and why a file could not be read or written.

#include <sys/stat.h>
#include <sys/types.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>
#include <stdexcept>

namespace agelark {

struct FileStamp {
    qint64 size = -1;
    qint64 modifiedNs = 0;  // modification time, nanoseconds since the epoch
    QByteArray hash;        // of all the bytes
};

// The hash kept in a stamp: BLAKE2b is the fastest of the hashes Qt offers that
// has no known collisions (about 150 ms for 50 MB here); nothing depends on it
// beyond telling contents apart.
constexpr auto contentHashAlgorithm = QCryptographicHash::Blake2b_256;
QByteArray contentHash(QByteArrayView bytes);

// Whether two stamps stand for the same content. The modification time does not
// count: a file touched but not changed holds nothing that writing over it could lose.
bool sameContent(const FileStamp& a, const FileStamp& b);

// Why a file could not be read or written, worded to follow "Could not read
// the notes from <path>: ". `missing` marks a path with nothing at all there.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& reason, bool missing = false);
    QString reason() const { return QString::fromStdString(what()); }
    bool missing() const { return missing_; }

private:
    bool missing_;
};

// The system's words for an errno value ("No space left on device").
QString systemReason(int error);

// A file's modification time, in nanoseconds since the epoch.
qint64 modifiedNs(const struct stat& status);

// Why a file of this type is no notes file ("it is a folder, not a file"),
// for anything but a regular file.
QString notOrdinaryFile(mode_t mode);

// Where a link at `path` points when nothing is there (absolute), else an empty text.
QString danglingLinkTarget(const QString& path);

}  // namespace agelark
