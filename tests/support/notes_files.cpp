#include "tests/support/notes_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <QDir>
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
    if (what == AtNotesPath::Notes) return QFileInfo(path).isFile();
    if (!QFile::remove(path)) QDir().rmdir(path);
    if (what == AtNotesPath::Folder) return QDir().mkdir(path);
    if (what == AtNotesPath::Pipe) return ::mkfifo(qPrintable(path), 0644) == 0;
    return what == AtNotesPath::Link ? QFile::link(target, path) : !QFileInfo::exists(path);
}

QString padNow(const TestProgram& program) { return program.pad()->text(); }

void save(TestProgram& program, const QString& text, const std::function<void()>& meanwhile) {
    program.pad()->setPlainText(text);
    program.click("Form1", "cmdSave");
    if (meanwhile) meanwhile();
    program.processEvents();
}

int lockAsAnotherCopy(const QString& folder) {
    const int fd = ::open(qPrintable(folder + "/.Notes.txt.lock"), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0) qFatal("cannot lock %s", qPrintable(folder));
    return fd;
}

bool copyProgramFolder(const QString& folder) {
    return QProcess::execute("cp", {"-a", AGELARK_BUILT_APP_DIR "/.", folder}) == 0;
}

QStringList asUser(const QString& user) {
    // Under a lock on the list of users, for tests that make them at once.
    QProcess::execute("flock", {"/etc/passwd", "sh", "-c",
                                "getent passwd \"$0\" >/dev/null || { groupadd -f agelark-share && useradd --system "
                                "--no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "
                                "--groups agelark-share \"$0\"; }",
                                user});
    if (!::getpwnam(qPrintable(user))) qFatal("cannot make the test user %s (needs root)", qPrintable(user));
    return {"--reuid", user, "--regid", user, "--init-groups"};
}

}  // namespace agelark::testing
