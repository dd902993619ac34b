#include "notes/notes_file.h"

#include <dirent.h>
#include <sys/file.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
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
    at.file = status;
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
            if (::fstat(place.folder, &at.folder) != 0) fail(systemReason(errno));
            at.leadsTo = leadsTo(place, path);
            struct stat status {};
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
                at.file.st_uid = status.st_uid;
                at.reason = linkOf(at.leadsTo.isEmpty() ? QStringLiteral("it") : at.leadsTo, status.st_uid, target);
                at.leadsTo = target;
                return at;
            }
            if (links == 40) fail(systemReason(ELOOP));
            file = target.startsWith(u'/') ? target : inFolder(place.folder, native(target));
        }
    } catch (const std::runtime_error& failure) {
        place.folder = Fd();
        return unreadable(at, QString::fromStdString(failure.what()));
    }
}

bool yoursToWrite(const Loaded& at) {
    // The file a save replaces: where a followed link leads, else the path itself.
    const QString file = at.kind == AtPath::LinkNotYours || at.leadsTo.isEmpty() ? at.path : at.leadsTo;
    const QByteArray folder = native(QFileInfo(file).absolutePath());
    struct stat status {};
    // A missing folder is no reason to go elsewhere: the save tells it.
    if (::stat(folder.constData(), &status) != 0 || ::access(folder.constData(), W_OK) != 0)
        return errno != EACCES && errno != EPERM && errno != EROFS;
    const bool regular = at.kind == AtPath::File || at.kind == AtPath::TooBig;
    if (regular && ((at.file.st_mode & 0222) == 0 || ::access(native(file).constData(), W_OK) != 0)) return false;
    // In a sticky folder only root and the owners of the folder and of the entry may replace it.
    const uid_t me = ::geteuid();
    const bool owned = regular || at.kind == AtPath::LinkNotYours;
    return !(status.st_mode & S_ISVTX) || !owned || me == 0 || at.file.st_uid == me || status.st_uid == me;
}

// An exclusive lock from the look at the file to the rename, so that two
// copies saving at once do not both find the file as they loaded it: flock on
// ".<name>.lock" beside it, which only this user may open, or also the
// folder's group where it may write the folder. Other programs do not look at
// it; the system lets go of it when the process ends.
Fd lockNotes(int folder, const QByteArray& name, int patienceMs) {
    struct stat status {};
    const mode_t mode = ::fstat(folder, &status) == 0 && (status.st_mode & S_IWGRP) ? 0660 : 0600;
    const gid_t group = status.st_gid;
    const QByteArray lockName = "." + name + ".lock";
    Fd lock(::openat(folder, lockName.constData(), O_RDONLY | O_CREAT | openFlags, mode));
    if (lock < 0)
        fail(QStringLiteral("its lock file %1 could not be opened (%2)")
                 .arg(inFolder(folder, lockName), systemReason(errno)));
    // Made under a wider umask, or, in a folder without the setgid bit, in this user's own group.
    if (::fstat(lock, &status) == 0 && status.st_uid == ::geteuid() && ::fchmod(lock, mode) == 0 && mode == 0660)
        ::fchown(lock, uid_t(-1), group);
    QElapsedTimer waited;
    waited.start();
    while (::flock(lock, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR)) {
        if (waited.elapsed() >= patienceMs)
            fail(QStringLiteral("another copy of Agelark is saving its notes there right now. "
                                "Wait a moment and save again"));
        QThread::msleep(10);
    }
    return lock;
}

const QString recoveryName = QStringLiteral("Notes-recovered-");

}  // namespace

Loaded readNotes(const QString& path) {
    Place place;
    return look(path, place);
}

bool sameAtPath(const Loaded& a, const Loaded& b) {
    // A folder not known: a path not looked at yet.
    const bool sameFolder = sameFile(a.folder, b.folder) || a.folder.st_ino == 0 || b.folder.st_ino == 0;
    return a.kind == b.kind && a.path == b.path && a.leadsTo == b.leadsTo && a.file.st_uid == b.file.st_uid &&
           sameFolder && sameFile(a.file, b.file) && a.size == b.size && a.bytes == b.bytes;
}

NotesPaths notesPaths() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString own = folder.isEmpty() ? QString() : folder + QStringLiteral("/Notes.txt");
    // An installed program has no notes file beside it: the user's own copy is the only one.
    return {runsInstalled() ? own : platform().appFolder + QStringLiteral("/Notes.txt"), own};
}

QString notesToRead(const NotesPaths& paths) {
    struct stat status {};
    return !paths.own.isEmpty() && ::lstat(native(paths.own).constData(), &status) == 0 ? paths.own : paths.beside;
}

QString notesToWrite(const NotesPaths& paths) {
    const QString read = notesToRead(paths);
    return read != paths.beside || paths.own.isEmpty() || yoursToWrite(readNotes(paths.beside)) ? read : paths.own;
}

Written writeNotes(const QString& path, const QByteArray& bytes, const Expected& expected, bool unchanged) {
    Place place;
    const Loaded locked = look(path, place);
    if (place.folder < 0) fail(locked.reason);
    const Fd lock = lockNotes(place.folder, place.name, 1000);
    const Loaded found = look(path, place);
    if (found.kind == AtPath::Unreadable) fail(found.reason);
    if (!sameFile(found.folder, locked.folder))
        fail(QStringLiteral("its folder was moved while it was being saved. Save again"));
    if (found.kind == AtPath::TooBig)
        fail(QStringLiteral("it now holds %1, more than the pad takes (%2): another program put it there since the "
                            "pad got its text. Agelark does not save over it; your text stays in the pad")
                 .arg(sizeText(found.size, 1), sizeText(largestNotesFile, 0)));
    const AtPath was = expected.at.kind;
    const bool padHoldsIt = was == AtPath::Missing || was == AtPath::File || was == AtPath::DanglingLink;
    if (!sameAtPath(found, expected.at) || !(padHoldsIt || expected.agreed)) return {false, found};
    if (unchanged && !expected.agreed && found.kind == AtPath::File) return {true, found};

    const bool yours = found.kind == AtPath::File && found.file.st_uid == ::geteuid();
    const auto random = [&](int) {
        return "." + place.name + QString::asprintf(".%08x", QRandomGenerator::global()->generate()).toLatin1();
    };
    const auto [temp, status] = writeNew(place.folder, random, bytes, yours ? found.file.st_mode & 0666 : 0);
    if (::renameat(place.folder, temp.constData(), place.folder, place.name.constData()) != 0) {
        const int error = errno;
        ::unlinkat(place.folder, temp.constData(), 0);
        fail(systemReason(error));
    }
    return {true, {.kind = AtPath::File, .path = path, .leadsTo = leadsTo(place, path), .file = status,
                   .size = bytes.size(), .bytes = bytes, .folder = found.folder}};
}

QStringList tidyNotesFolders(const NotesPaths& paths) {
    QStringList kept;
    for (const QString& path : {paths.beside, paths.own}) {
        if (path.isEmpty()) continue;
        const QFileInfo notes(path);
        // ".Notes.txt." and eight hexadecimal digits: what a save writes first.
        const QString prefix = "." + notes.fileName() + ".";
        const auto temporary = [&](const QString& name) {
            const auto lowerHex = [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'); };
            return name.size() == prefix.size() + 8 && name.startsWith(prefix) &&
                   std::all_of(name.begin() + prefix.size(), name.end(), lowerHex);
        };
        try {
            const Fd folder = openFolder(notes.path(), false);
            QList<QByteArray> left;
            DIR* listing = ::fdopendir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | openFlags));
            for (const dirent* entry; listing && (entry = ::readdir(listing));) {
                // Names first: the folder beside the program also holds its pictures.
                const QString name = QFile::decodeName(entry->d_name);
                const bool leftover = temporary(name), recovery = path == paths.own && name.startsWith(recoveryName);
                struct stat status {};  // this user's own files only
                if ((!leftover && !recovery) || ::fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 ||
                    !S_ISREG(status.st_mode) || status.st_uid != ::geteuid())
                    continue;
                if (leftover) left << entry->d_name;
                if (recovery) kept << notes.path() + u'/' + name;
            }
            if (listing) ::closedir(listing);
            if (left.isEmpty()) continue;
            const Fd lock = lockNotes(folder, native(notes.fileName()), 0);  // no save of this user's under way there
            for (const QByteArray& file : left) ::unlinkat(folder, file.constData(), 0);
        } catch (const std::exception&) {
            // a folder not there, or not to be looked into; or another copy saving there: left for a later start
        }
    }
    kept.sort();
    return kept;
}

QString keepRecoveryCopy(const QString& padText) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty()) fail(QStringLiteral("this user has no data folder"));
    const QString name = recoveryName + QDateTime::currentDateTime().toString(u"yyyy-MM-dd-HHmmss");
    const auto numbered = [&](int attempt) {
        return native(name + (attempt ? QStringLiteral("-%1").arg(attempt + 1) : QString()) + ".txt");
    };
    const auto [file, status] = writeNew(openFolder(folder, true), numbered, encodeNotesFile(padText), 0600);
    return folder + u'/' + QFile::decodeName(file);
}

}  // namespace agelark
