#include "notes/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cerrno>

#include "notes/file_stamp.h"

namespace agelark {

FolderLock::FolderLock(const QString& folder, int patienceMs) {
    fd_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) throw FileError(systemReason(errno));
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
        const int error = errno;
        if (error == EINTR) continue;
        if (error != EWOULDBLOCK) {
            // No locks here (some network file systems): the check for changes still stands.
            ::close(fd_);
            fd_ = -1;
            return;
        }
        if (waited.elapsed() >= patienceMs) {
            ::close(fd_);
            fd_ = -1;
            throw FileError(QStringLiteral("another copy of Agelark is saving its notes there right now. "
                                           "Wait a moment and save again"));
        }
        QThread::msleep(10);
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace agelark
