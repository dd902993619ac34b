#pragma once
// What stands at a notes path, decided in one place, and where the notes live.
// Everything here touches the file system: it runs on the notes thread.

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace agelark {

// Notes files larger than this are not put into the pad.
constexpr qint64 largestNotesFile = 4 * 1000 * 1000;

enum class AtPath {
    Missing,       // nothing there
    File,          // a regular file, read whole
    TooBig,        // a regular file larger than largestNotesFile, not read
    LinkNotYours,  // a link owned by another user than this one or root: not followed
    DanglingLink,  // a link (of this user's or root's) to nothing
    Unreadable,    // a folder, a pipe, a device, or a file that could not be read
};

struct Loaded {
    AtPath kind = AtPath::Missing;
    QString path;       // where the notes were looked for
    QString leadsTo;    // for a link, where it leads; empty when the path is no link
    QString linkOwner;  // LinkNotYours: the owner's user name
    QString reason;     // Unreadable: why, worded to follow "Could not read ... from <path>: "
    dev_t device = 0;   // File and TooBig: the file's identity, and its owner and mode
    ino_t inode = 0;
    uid_t owner = 0;
    mode_t mode = 0;
    qint64 size = 0;
    QByteArray bytes;   // File: everything it holds
};

// Looks at `path` and reads the file there. A link is followed only when this
// user or root owns it (as the kernel's protected-symlinks rule does in sticky
// folders), link by link. Only a regular file is opened: a pipe or a device
// in its place is never waited on. A file system that does not answer holds
// up the calling thread, and nothing else.
Loaded readNotes(const QString& path);

// Whether two looks at a path found the same thing: the same file (device and
// inode) holding the same bytes, or the same link, or nothing.
bool sameAtPath(const Loaded& a, const Loaded& b);

// The file a save replaces: the file a followed link leads to, else the path
// itself (another user's link is replaced, never written through).
QString fileToReplace(const Loaded& at);

// Whether this user may replace what `at` found: its folder is writable, the
// file is not read-only (no write permission for anyone marks it so, also for
// root), and in a sticky folder it is this user's own.
bool yoursToWrite(const Loaded& at);

struct NotesPaths {
    QString beside;  // Notes.txt beside the program
    QString own;     // the user's own copy in the per-user data folder; empty when there is no such folder
};
// Worked out on the main thread, without touching the file system.
NotesPaths notesPaths();

// The file the notes are read from: the user's own copy once there is one
// (so that notes saved there are never hidden by the file beside the program
// becoming writable again), else the file beside the program.
QString notesToRead(const NotesPaths& paths);
// The file Save writes: the one read, unless that is beside the program and
// not this user's to write; then the user's own copy.
QString notesToWrite(const NotesPaths& paths);

// Why a notes file could not be read or written, worded to follow
// "Could not save the notes to <path>: ".
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& reason) : std::runtime_error(reason.toStdString()) {}
    QString reason() const { return QString::fromStdString(what()); }
};

// The system's words for an errno value ("No space left on device").
QString systemReason(int error);

}  // namespace agelark
