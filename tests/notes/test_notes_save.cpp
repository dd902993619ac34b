// Saving the pad: the file first, then the "Working..." animation, then one
// confirmation and one beep; a save that fails leaves the old file whole.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "notes_fixture.h"
#include "timers.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

const QByteArray oldNotes("old notes\r\nkept whole");

QTimer* animation(const TestProgram& p) { return p.find<QTimer>("Form1", "Timer23"); }
int bar(const TestProgram& p) { return p.find<QProgressBar>("Form1", "ProgressBar1")->value(); }
QLabel* label(const TestProgram& p, const char* name) { return p.find<QLabel>("Form1", name); }
void ticks(TestProgram& p, int count) {
    for (int i = 0; i < count; ++i) p.tick("Form1", "Timer23");
}

bool quiet(const TestProgram& p) {
    return !animation(p)->isActive() && bar(p) == 0 && label(p, "lblWorking")->text().isEmpty() &&
           !label(p, "lblClock")->isHidden();
}

QStringList folderEntries(const TestProgram& p) {
    return QDir(p.appFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

class NotesSaveTest : public QObject {
    Q_OBJECT
private slots:
    void fileFirstThenAnimationThenOneConfirmation() {
        TestProgram program;
        startAndLoad(program);
        const QString path = program.path("Notes.txt");
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path, permissions));
        program.window("Form1")->move(120, 80);
        pad(program)->setPlainText("abc");

        program.click("Form1", "cmdSave");
        QCOMPARE(fileBytes(path), QByteArray("abc"));  // before any tick
        QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), permissions);
        QVERIFY(animation(program)->isActive() && timerEnabled(animation(program)));
        QCOMPARE(animation(program)->interval(), 100);
        QVERIFY(label(program, "lblWorking")->text().isEmpty() && !label(program, "lblClock")->isHidden());

        for (int step = 1; step <= 19; ++step) {
            ticks(program, 1);
            QCOMPARE(bar(program), 5 * step);
            QVERIFY(label(program, "lblClock")->isHidden());
            QCOMPARE(label(program, "lblWorking")->text(), QString("Working..."));
            QVERIFY(!program.window("Saved") && program.beep.count == 0);
        }
        ticks(program, 1);  // past 90: the finish
        QVERIFY(quiet(program) && !timerEnabled(animation(program)));
        QVERIFY(program.window("Saved")->isVisible());
        QCOMPARE(program.window("Saved")->pos(), QPoint(120, 80));
        QCOMPARE(program.beep.count, 1);

        program.click("Saved", "cmdOK");
        QVERIFY(program.window("Saved") && !program.window("Saved")->isVisible());
        // The next save confirms again, at the main window's corner where it is now.
        program.window("Form1")->move(300, 210);
        program.click("Form1", "cmdSave");
        ticks(program, 20);
        QVERIFY(quiet(program) && program.window("Saved")->isVisible());
        QCOMPARE(program.window("Saved")->pos(), QPoint(300, 210));
        QCOMPARE(program.beep.count, 2);
        QVERIFY(program.messages.shown.isEmpty());
    }

    void secondSaveWhileAnimatingConfirmsOnce() {
        TestProgram program;
        startAndLoad(program);
        program.click("Form1", "cmdSave");
        ticks(program, 10);
        pad(program)->setPlainText("second");
        program.click("Form1", "cmdSave");
        QCOMPARE(fileBytes(program.path("Notes.txt")), QByteArray("second"));
        QVERIFY(bar(program) == 50 && animation(program)->isActive());  // goes on from where it stands
        ticks(program, 9);
        QVERIFY(bar(program) == 95 && program.beep.count == 0);
        ticks(program, 1);
        QVERIFY(quiet(program) && program.window("Saved")->isVisible());
        QCOMPARE(program.beep.count, 1);
    }

    void animationRunsOnItsOwnTimer() {
        TestProgram program;
        startAndLoad(program);
        program.click("Form1", "cmdSave");
        QTRY_COMPARE_WITH_TIMEOUT(program.beep.count, 1, 10000);
        QVERIFY(quiet(program) && program.window("Saved")->isVisible());
    }

    void refusedSaveKeepsEverything_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only file") << QString("read-only") << QString("the file is read-only");
        QTest::newRow("missing file") << QString("missing") << QString("the file does not exist");
        QTest::newRow("folder in its place") << QString("folder") << QString("it is a folder, not a file");
    }
    void refusedSaveKeepsEverything() {
        QFETCH(QString, setup);
        QFETCH(QString, reason);
        TestProgram program;
        writeFile(program.path("Notes.txt"), oldNotes);
        startAndLoad(program);
        const QString path = program.path("Notes.txt");
        if (setup == "read-only") QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        if (setup != "read-only") QVERIFY(QFile::remove(path));
        if (setup == "folder") QVERIFY(QDir(program.appFolder()).mkdir("Notes.txt"));
        const QStringList entries = folderEntries(program);
        pad(program)->setPlainText("new text");

        program.click("Form1", "cmdSave");
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.messages.shown[0].kind, QString("warning"));
        QCOMPARE(program.messages.shown[0].text, "Could not save the notes to " + path + ": " + reason);
        QCOMPARE(padText(program.window("Form1")), QString("new text"));
        QVERIFY(quiet(program) && program.beep.count == 0 && !program.window("Saved"));
        QCOMPARE(folderEntries(program), entries);  // nothing created, no copy left behind
        if (setup == "read-only") QCOMPARE(fileBytes(path), oldNotes);
    }

    // The file size limit stops the write halfway, as a full disk would; the
    // save runs in a child process so that the limit binds it alone.
    void saveThatFailsMidwayLeavesTheOldFileWhole() {
        TestProgram program;
        writeFile(program.path("Notes.txt"), oldNotes);
        startAndLoad(program);
        pad(program)->setPlainText(QString(1 << 20, QChar('x')));
        const QStringList entries = folderEntries(program);

        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of killing the process
            const rlimit limit{4096, 4096};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(10);
            program.click("Form1", "cmdSave");
            const bool warned = program.messages.shown.size() == 1 &&
                                program.messages.shown[0].text.startsWith("Could not save the notes to ");
            _exit(warned && quiet(program) && program.beep.count == 0 ? 0 : 11);  // the folder stays the parent's
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(fileBytes(program.path("Notes.txt")), oldNotes);
        QCOMPARE(folderEntries(program), entries);
    }
};

QTEST_MAIN(NotesSaveTest)
#include "test_notes_save.moc"
