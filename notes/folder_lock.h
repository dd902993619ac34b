#pragma once
// Keeps two copies of the program from saving into one folder at once.

#include <QString>

namespace agelark {

// Holds an exclusive lock (flock) on `folder` while it lives. Any user who may
// read the folder can take it, also where the folder is not theirs to write,
// and the system drops it when the process ends, however it ends. It is only
// advice between copies of this program: other programs do not look at it.
class FolderLock {
public:
    // Waits up to `patienceMs` for another holder to let go; throws FileError
    // if it does not. Where the folder cannot be locked at all (a file system
    // without locks), goes on without the lock.
    explicit FolderLock(const QString& folder, int patienceMs = 1000);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace agelark
