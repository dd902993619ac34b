#include "tests/support/notes_files.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>

#include "notes/notes_pad.h"

namespace agelark::testing {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool placeAtPath(const QString& path, AtNotesPath what, const QString& target) {
    QFile::remove(path);
    switch (what) {
    case AtNotesPath::Nothing: return !QFileInfo::exists(path);
    case AtNotesPath::Folder: return QDir().mkdir(path);
    case AtNotesPath::Pipe: return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
    case AtNotesPath::Link: return QFile::link(target, path);
    }
    return false;
}

QPlainTextEdit* pad(const TestProgram& program) { return program.find<QPlainTextEdit>("Form1", "txtNotes"); }
QString padNow(const TestProgram& program) { return padText(program.window("Form1")); }

void startWith(TestProgram& program, const std::optional<QByteArray>& notes) {
    if (notes && !writeFile(program.path("Notes.txt"), *notes)) qFatal("cannot write the notes file");
    program.start();
    program.processEvents();
}

void save(TestProgram& program, const QString& text) {
    pad(program)->setPlainText(text);
    program.click("Form1", "cmdSave");
    program.processEvents();
}

OtherCopySaving::OtherCopySaving(const QString& folder)
    : fd_(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0 || ::flock(fd_, LOCK_EX) != 0) qFatal("cannot lock %s", qPrintable(folder));
}

void OtherCopySaving::release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool copyProgramFolder(const QString& folder) {
    const QDir built(QStringLiteral(AGELARK_BUILT_APP_DIR));
    for (const QString& name : built.entryList(QDir::Files | QDir::Hidden))
        if (!QFile::copy(built.filePath(name), QDir(folder).filePath(name))) return false;
    return true;
}

namespace {

const char* const shareGroupName = "agelark-share";

// Made once for all tests, under a lock: two tests may start at once.
const passwd* testUser(const QString& user) {
    const int lock = ::open("/tmp/agelark-test-users.lock", O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    ::flock(lock, LOCK_EX);
    if (!::getpwnam(qPrintable(user))) {
        QProcess::execute("groupadd", {"-f", shareGroupName});
        QProcess::execute("useradd", {"--system", "--no-create-home", "--home-dir", "/nonexistent", "--shell",
                                      "/usr/sbin/nologin", "--groups", shareGroupName, user});
    }
    ::close(lock);
    const passwd* entry = ::getpwnam(qPrintable(user));
    if (!entry) qFatal("cannot make the test user %s (needs root)", qPrintable(user));
    return entry;
}

}  // namespace

QStringList asUser(const QString& user) {
    testUser(user);
    return {"--reuid", user, "--regid", user, "--init-groups"};
}

unsigned userId(const QString& user) { return user == "root" ? 0 : testUser(user)->pw_uid; }

unsigned shareGroup() {
    testUser("agelark-ann");
    return ::getgrnam(shareGroupName)->gr_gid;
}

}  // namespace agelark::testing
