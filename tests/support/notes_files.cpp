#include "tests/support/notes_files.h"

#include <fcntl.h>
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
    if (!QFile::remove(path)) QDir().rmdir(path);
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

int lockAsAnotherCopy(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0) qFatal("cannot lock %s", qPrintable(folder));
    return fd;
}

bool copyProgramFolder(const QString& folder) {
    const QDir built(QStringLiteral(AGELARK_BUILT_APP_DIR));
    for (const QString& name : built.entryList(QDir::Files | QDir::Hidden))
        if (!QFile::copy(built.filePath(name), QDir(folder).filePath(name))) return false;
    return true;
}

QStringList asUser(const QString& user) {
    // Made once for all tests, under a lock: two tests may start at once.
    const int lock = ::open("/tmp/agelark-test-users.lock", O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    ::flock(lock, LOCK_EX);
    if (!::getpwnam(qPrintable(user))) {
        QProcess::execute("groupadd", {"-f", "agelark-share"});
        QProcess::execute("useradd", {"--system", "--no-create-home", "--home-dir", "/nonexistent", "--shell",
                                      "/usr/sbin/nologin", "--groups", "agelark-share", user});
    }
    ::close(lock);
    if (!::getpwnam(qPrintable(user))) qFatal("cannot make the test user %s (needs root)", qPrintable(user));
    return {"--reuid", user, "--regid", user, "--init-groups"};
}

}  // namespace agelark::testing
