#include "notes/notes_file.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <stdexcept>

#include "notes/notes_text.h"
#include "notes/open_folder.h"
#include "platform/platform.h"

namespace agelark {

namespace {

using namespace files;

// Where the entry of the notes is: its folder, open, and its name there.
struct Place {
    Fd folder;
    QByteArray name;
};

// What the path leads to, when that is not the path itself.
QString leadsTo(const Place& place, const QString& path) {
    const QString where = inFolder(place.folder, place.name);
    return where == QDir::cleanPath(path) ? QString() : where;
}

// The file that `at` found, as the system knows it.
void identify(Loaded& at, const struct stat& status) {
    at.device = status.st_dev;
    at.inode = status.st_ino;
    at.owner = status.st_uid;
    at.mode = status.st_mode;
}

Loaded unreadable(Loaded at, const QString& reason) {
    at.kind = AtPath::Unreadable;
    at.reason = reason;
    return at;
}

QString notAFile(mode_t mode) {
    if (S_ISDIR(mode)) return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(mode)) return QStringLiteral("it is a named pipe (FIFO), not an ordinary file");
    return QStringLiteral("it is a device or a socket, not an ordinary file");
}

// Reads the regular file at `place` whole, unless it is too big.
Loaded readFile(Loaded at, const Place& place) {
    // Not following a link: one put there since the look at the path is not read through.
    const int fd = ::openat(place.folder, place.name.constData(), O_RDONLY | openFlags);
    if (fd < 0 && errno == EWOULDBLOCK) return unreadable(at, QStringLiteral("another program holds it open"));
    if (fd < 0) return unreadable(at, systemReason(errno));
    QFile opened;
    opened.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);  // closes it, whatever follows
    struct stat status {};
    if (::fstat(fd, &status) != 0) return unreadable(at, systemReason(errno));
    if (!S_ISREG(status.st_mode)) return unreadable(at, notAFile(status.st_mode));
    identify(at, status);
    at.kind = AtPath::TooBig;
    at.size = status.st_size;
    if (at.size > largestNotesFile) return at;
    const QByteArray bytes = opened.read(largestNotesFile + 1);  // a byte more tells a file grown since
    if (opened.error() != QFileDevice::NoError) return unreadable(at, opened.errorString());
    at.size = bytes.size();
    if (at.size > largestNotesFile) return at;
    at.kind = AtPath::File;
    at.bytes = bytes;
    return at;
}

// Looks at `path` (see readNotes); `place` is where its entry was found, unless it is Unreadable on the way.
Loaded look(const QString& path, Place& place) {
    Loaded at{.path = path};
    QString file = path;
    // No folder yet (the user's own copy before the first save): nothing there.
    if (!QFileInfo::exists(QFileInfo(path).path())) return at;
    try {
        for (int links = 0;; ++links) {
            place = {openFolder(QFileInfo(file).path(), false), native(QFileInfo(file).fileName())};
            struct stat status {};
            if (::fstat(place.folder, &status) != 0) fail(systemReason(errno));
            at.folderDevice = status.st_dev;
            at.folderInode = status.st_ino;
            at.folderOwner = status.st_uid;
            at.leadsTo = leadsTo(place, path);
            if (::fstatat(place.folder, place.name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno != ENOENT) fail(systemReason(errno));
                at.kind = links == 0 ? AtPath::Missing : AtPath::DanglingLink;
                at.reason = QStringLiteral("it links to %1, which does not exist").arg(at.leadsTo);
                return at;
            }
            if (S_ISREG(status.st_mode)) return readFile(at, place);
            if (!S_ISLNK(status.st_mode)) return unreadable(at, notAFile(status.st_mode));
            const QString target = readLink(place.folder, place.name);
            if (!trusted(status.st_uid)) {
                at.kind = AtPath::LinkNotYours;
                at.owner = status.st_uid;
                at.reason = linkOf(at.leadsTo.isEmpty() ? QStringLiteral("it") : at.leadsTo, status.st_uid, target);
                at.leadsTo = target;
                return at;
            }
            if (links == 40) fail(systemReason(ELOOP));
            file =
                target.startsWith(u'/') ? target : QFileInfo(inFolder(place.folder, place.name)).path() + u'/' + target;
        }
    } catch (const std::runtime_error& failure) {
        place = Place{};
        return unreadable(at, QString::fromStdString(failure.what()));
    }
}

// The file a save replaces: where a followed link leads, else the path itself.
QString fileToReplace(const Loaded& at) {
    return at.kind == AtPath::LinkNotYours || at.leadsTo.isEmpty() ? at.path : at.leadsTo;
}

bool yoursToWrite(const Loaded& at) {
    const QString file = fileToReplace(at);
    const QByteArray folder = native(QFileInfo(file).absolutePath());
    struct stat status {};
    // A missing folder is no reason to go elsewhere: the save tells it.
    if (::stat(folder.constData(), &status) != 0 || ::access(folder.constData(), W_OK) != 0)
        return errno != EACCES && errno != EPERM && errno != EROFS;
    const bool regular = at.kind == AtPath::File || at.kind == AtPath::TooBig;
    if (regular && ((at.mode & 0222) == 0 || ::access(native(file).constData(), W_OK) != 0)) return false;
    // In a sticky folder only root and the owners of the folder and of the entry may replace it.
    const uid_t me = ::geteuid();
    const bool owned = regular || at.kind == AtPath::LinkNotYours;
    return !(status.st_mode & S_ISVTX) || !owned || me == 0 || at.owner == me || status.st_uid == me;
}

// An exclusive lock from the look at the file to the rename, so that two
// copies saving at once do not both find the file as they loaded it: flock on
// ".<name>.lock" beside it, which only this user may open, or also the
// folder's group where it may write the folder. Other programs do not look at
// it; the system lets go of it when the process ends.
class NotesLock {
public:
    NotesLock(int folder, const QByteArray& name, int patienceMs) {
        struct stat status {};
        const mode_t mode = ::fstat(folder, &status) == 0 && (status.st_mode & S_IWGRP) ? 0660 : 0600;
        const gid_t group = status.st_gid;
        fd_ = Fd(::openat(folder, ("." + name + ".lock").constData(), O_RDONLY | O_CREAT | openFlags, mode));
        if (fd_ < 0)
            fail(QStringLiteral("its lock file %1 could not be opened (%2)")
                     .arg(inFolder(folder, "." + name + ".lock"), systemReason(errno)));
        folder_ = {status.st_dev, status.st_ino};
        // Made under a wider umask, or, in a folder without the setgid bit, in this user's own group.
        if (::fstat(fd_, &status) == 0 && status.st_uid == ::geteuid() && ::fchmod(fd_, mode) == 0 && mode == 0660)
            ::fchown(fd_, uid_t(-1), group);
        QElapsedTimer waited;
        waited.start();
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR)) {
            if (waited.elapsed() >= patienceMs)
                fail(QStringLiteral("another copy of Agelark is saving its notes there right now. "
                                    "Wait a moment and save again"));
            QThread::msleep(10);
        }
    }
    bool guards(const Loaded& at) const { return folder_ == std::pair{at.folderDevice, at.folderInode}; }

private:
    Fd fd_;
    std::pair<dev_t, ino_t> folder_;
};

const QString recoveryName = QStringLiteral("Notes-recovered-");

}  // namespace

Loaded readNotes(const QString& path) {
    Place place;
    return look(path, place);
}

bool sameAtPath(const Loaded& a, const Loaded& b) {
    const bool sameFolder = (a.folderDevice == b.folderDevice && a.folderInode == b.folderInode) ||
                            a.folderInode == 0 || b.folderInode == 0;  // not known: a path not looked at yet
    return a.kind == b.kind && a.path == b.path && a.leadsTo == b.leadsTo && a.owner == b.owner && sameFolder &&
           a.device == b.device && a.inode == b.inode && a.size == b.size && a.bytes == b.bytes;
}

NotesPaths notesPaths() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString own = folder.isEmpty() ? QString() : folder + QStringLiteral("/Notes.txt");
    // An installed program has no notes file beside it: the user's own copy is the only one.
    return {runsInstalled() ? own : platform().appFolder + QStringLiteral("/Notes.txt"), own};
}

QString notesToRead(const NotesPaths& paths) {
    struct stat status {};
    if (!paths.own.isEmpty() && ::lstat(native(paths.own).constData(), &status) == 0) return paths.own;
    return paths.beside;
}

QString notesToWrite(const NotesPaths& paths) {
    const QString read = notesToRead(paths);
    if (read != paths.beside || paths.own.isEmpty() || yoursToWrite(readNotes(paths.beside))) return read;
    return paths.own;
}

Written writeNotes(const QString& path, const QByteArray& bytes, const Expected& expected, bool unchanged) {
    Place place;
    Loaded found = look(path, place);
    if (place.folder < 0) fail(found.reason);
    const NotesLock lock(place.folder, place.name, 1000);
    found = look(path, place);
    if (found.kind == AtPath::Unreadable) fail(found.reason);
    if (!lock.guards(found)) fail(QStringLiteral("its folder was moved while it was being saved. Save again"));
    if (found.kind == AtPath::TooBig)
        fail(QStringLiteral("it now holds %1, more than the pad takes (%2): another program put it there since the "
                            "pad got its text. Agelark does not save over it; your text stays in the pad")
                 .arg(sizeText(found.size, 1), sizeText(largestNotesFile, 0)));
    const AtPath was = expected.at.kind;
    const bool padHoldsIt = was == AtPath::Missing || was == AtPath::File || was == AtPath::DanglingLink;
    if (!sameAtPath(found, expected.at) || !(padHoldsIt || expected.agreed)) return {false, found};
    if (unchanged && !expected.agreed && found.kind == AtPath::File) return {true, found};

    const bool yours = found.kind == AtPath::File && found.owner == ::geteuid();
    const auto [temp, status] = writeNew(
        place.folder,
        [&](int) {
            const QByteArray random = QByteArray::number(QRandomGenerator::global()->generate(), 16);
            return "." + place.name + "." + random.rightJustified(8, '0');
        },
        bytes, yours ? found.mode & 0666 : 0);
    if (::renameat(place.folder, temp.constData(), place.folder, place.name.constData()) != 0) {
        const int error = errno;
        ::unlinkat(place.folder, temp.constData(), 0);
        fail(systemReason(error));
    }
    Loaded now = found;
    identify(now, status);
    now.kind = AtPath::File;
    now.leadsTo = leadsTo(place, path);
    now.reason.clear();
    now.size = bytes.size();
    now.bytes = bytes;
    return {true, now};
}

QStringList tidyNotesFolders(const NotesPaths& paths) {
    QStringList kept;
    for (const QString& path : {paths.beside, paths.own}) {
        if (path.isEmpty()) continue;
        const QFileInfo notes(path);
        const QRegularExpression temporary("^" + QRegularExpression::escape("." + notes.fileName() + ".") +
                                           "[0-9a-f]{8}$");
        try {
            const Fd folder = openFolder(notes.path(), false);
            QList<QByteArray> left;
            for (const QByteArray& file : ownFiles(folder)) {
                const QString name = QFile::decodeName(file);
                if (temporary.match(name).hasMatch()) left << file;
                if (path == paths.own && name.startsWith(recoveryName)) kept << notes.path() + u'/' + name;
            }
            if (left.isEmpty()) continue;
            const NotesLock lock(folder, native(notes.fileName()), 0);  // no save of this user's is under way there
            for (const QByteArray& file : left) ::unlinkat(folder, file.constData(), 0);
        } catch (const std::exception&) {
            // a folder not there, or not to be looked into; or another copy saving there: left for a later start
        }
    }
    kept.sort();
    return kept;
}

void makeOwnFolder(const QString& file) { ownFolder(QFileInfo(file).path()); }

QString keepRecoveryCopy(const QString& padText) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty()) fail(QStringLiteral("this user has no data folder"));
    const QString name = recoveryName + QDateTime::currentDateTime().toString(u"yyyy-MM-dd-HHmmss");
    const auto [file, status] = writeNew(
        ownFolder(folder),
        [&](int attempt) {
            return native(name + (attempt ? QStringLiteral("-%1").arg(attempt + 1) : QString()) + ".txt");
        },
        encodeNotesFile(padText), 0600);
    return folder + u'/' + QFile::decodeName(file);
}

}  // namespace agelark
