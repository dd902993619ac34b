#pragma once
// The notes file on disk: where the notes live, what stands at their path
// (decided in one place), and the one way it is written. Everything here
// touches the file system and runs on the notes thread, except notesPaths().

#include <sys/stat.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace agelark {

// Notes files larger than this are not put into the pad.
constexpr qint64 largestNotesFile = 4 * 1000 * 1000;

enum class AtPath {
    Missing,       // nothing there
    File,          // a regular file, read whole
    TooBig,        // a regular file larger than largestNotesFile, not read
    LinkNotYours,  // a link that neither this user nor root owns: not followed
    DanglingLink,  // a link of this user's or root's to nothing
    Unreadable,    // a folder, a pipe, a device, or a file that could not be read
};

struct Loaded {
    AtPath kind = AtPath::Missing;
    QString path;       // where the notes were looked for
    QString leadsTo;    // where the path leads through links, or the target of a link not followed; empty: the path
    QString reason;     // all but Missing, File and TooBig: why it was not read, worded to follow "...from <path>: "
    struct stat file {};    // File, TooBig: the file as the system knows it; LinkNotYours: the link's owner alone
    qint64 size = 0;
    QByteArray bytes;       // File: all it holds
    struct stat folder {};  // the folder the path leads into; st_ino 0: none found
};

// Looks at `path` and reads the file there, through its folder opened once
// (see notes/open_folder.h). A link at the path is followed, link by link,
// only where this user or root owns it; one of another user's in a folder on
// the way makes the notes unreadable. Nothing is waited on; a file system
// that does not answer holds up this thread only.
Loaded readNotes(const QString& path);
// Whether two looks found the same: the same file holding the same bytes in
// the same folder, the same link, or nothing.
bool sameAtPath(const Loaded& a, const Loaded& b);

struct NotesPaths {
    QString beside;  // Notes.txt beside the program
    QString own;     // the user's own copy in their data folder; empty when they have none
};
NotesPaths notesPaths();  // from the main thread: names only, no look at the disk

// The user's own copy once there is one, so that notes saved there are never
// hidden by the file beside the program becoming writable again; until then
// the file beside the program.
QString notesToRead(const NotesPaths& paths);
// Where Save writes: the file read, unless that is the one beside the program
// and not this user's to replace (its folder not writable, the file read-only
// (also for root), or in a sticky folder someone else's); then their own copy.
QString notesToWrite(const NotesPaths& paths);

// What the pad's text stands for: what was at the path when the pad got its
// text or was saved, or what the user agreed to have replaced.
struct Expected {
    Loaded at;
    bool agreed = false;
};
struct Written {
    bool written = false;  // false: the path holds something else than expected
    Loaded now;            // what the path holds now
};

// With the notes folder locked against other copies of the program, looks at
// `path`. Where it holds just what `expected` says, and that is nothing, a
// file whose text the pad holds, or what the user agreed to replace, `bytes`
// replace it: written to a new file beside it, synced, and renamed over it
// through the folder found at the look (never written through a link of
// another user's), so that a failure leaves the old file whole. The new file
// keeps the read and write bits of a file of this user's, else the umask's.
// When `unchanged` such a file is left as it is. Throws std::runtime_error
// with the reason for the user (another copy saving for more than a second, a
// file too big for the pad put in the file's place, a full disk...).
Written writeNotes(const QString& path, const QByteArray& bytes, const Expected& expected, bool unchanged);

// For the end of the program, where the text could not be saved: keeps it in
// a new file "Notes-recovered-<date>-<time>.txt", mode 0600, of this user's
// data folder, never through a link of another user's; gives its path.
// Throws std::runtime_error with the reason for the user.
QString keepRecoveryCopy(const QString& padText);
// At the start: removes what saves of this user's that were killed left
// beside the notes files of `paths`, and gives the recovery copies there.
QStringList tidyNotesFolders(const NotesPaths& paths);

}  // namespace agelark
