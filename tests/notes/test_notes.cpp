// The notes pad. What is saved is what the next start of the main window puts
// in the pad, byte for byte on disk and character for character in the pad.
// Saving writes the file first, then runs the "Working..." animation, then one
// confirmation and one beep; a save that fails leaves the old file whole.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>

#include "notes_load.h"
#include "notes_pad.h"
#include "page_view.h"
#include "test_program.h"
#include "timers.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

const QByteArray oldNotes("old notes\r\nkept whole");

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
             qPrintable(path));
}

QPlainTextEdit* pad(const TestProgram& program) { return program.find<QPlainTextEdit>("Form1", "txtNotes"); }
QString padNow(const TestProgram& program) { return padText(program.window("Form1")); }

// Unloads the main window and loads it afresh, as the next start of the program does.
void restart(TestProgram& program) {
    windows().unload("Form1");
    program.processEvents();
    program.start();
    program.processEvents();
}

Timer* animation(const TestProgram& p) { return p.find<Timer>("Form1", "Timer23"); }
int bar(const TestProgram& p) { return p.find<QProgressBar>("Form1", "ProgressBar1")->value(); }
void ticks(TestProgram& p, int count) {
    for (int i = 0; i < count; ++i) p.tick("Form1", "Timer23");
}

// No animation: the bar at 0, no "Working...", the clock in its place.
bool quiet(const TestProgram& p) {
    return !animation(p)->isActive() && bar(p) == 0 && p.text("Form1", "lblWorking").isEmpty() &&
           !p.find<QLabel>("Form1", "lblClock")->isHidden();
}

QStringList folderEntries(const TestProgram& p) {
    return QDir(p.appFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

class NotesTest : public QObject {
    Q_OBJECT
private slots:
    void savedTextLoadsBackExactly_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::newRow("markup characters") << QString("a<b & c>d") << QByteArray("a<b & c>d");
        QTest::newRow("wrapper tags and references typed")
            << QString("<PRE>x</PRE>\n&lt; &amp;gt; &#60; & &") << QByteArray("<PRE>x</PRE>\r\n&lt; &amp;gt; &#60; & &");
        QTest::newRow("lower-case tags") << QString("<pre></pre>") << QByteArray("<pre></pre>");
        QTest::newRow("empty pad") << QString() << QByteArray();
        QTest::newRow("two lines") << QString("first\nsecond") << QByteArray("first\r\nsecond");
        QTest::newRow("blank lines, break at the end") << QString("\n\nend\n") << QByteArray("\r\n\r\nend\r\n");
        // Shift+Return breaks a line inside a paragraph (U+2028): a line break like any other.
        QTest::newRow("break inside a paragraph") << QString::fromUtf8("one\ntwo\u2028three")
                                                  << QByteArray("one\r\ntwo\r\nthree");
        QTest::newRow("non-ASCII") << QString::fromUtf8("Café €5 — 日本 😀\u00a0x")
                                   << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC" "5 \xE2\x80\x94 \xE6\x97\xA5\xE6\x9C\xAC "
                                                 "\xF0\x9F\x98\x80\xC2\xA0x");
        // A text that begins with U+FEFF is not mistaken for a byte-order mark when it loads.
        QTest::newRow("leading zero-width no-break space")
            << QString(QChar(0xFEFF)) + "x" << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx");
    }
    void savedTextLoadsBackExactly() {
        QFETCH(QString, typed);
        QFETCH(QByteArray, onDisk);
        StartedProgram program;
        pad(program)->setPlainText(typed);
        // Saved again unchanged, the file stays the same: nothing creeps in at each start.
        for (int save = 1; save <= 2; ++save) {
            program.click("Form1", "cmdSave");
            QCOMPARE(fileBytes(program.path("Notes.txt")), onDisk);
            restart(program);
            QCOMPARE(padNow(program), QString(typed).replace(QChar::LineSeparator, u'\n'));
        }
        QVERIFY(program.messages.shown.isEmpty());
    }

    void filesWrittenElsewhereLoadAsText_data() {
        QTest::addColumn<QByteArray>("onDisk");  // none: a folder in the file's place
        QTest::addColumn<QString>("inPad");
        QTest::newRow("Windows-1252") << QByteArray("Caf\xE9 \x80\x93q\x94\r\nna\xEFve \x9F\x8A\x81")
                                      << QString::fromUtf8("Café €“q”\nnaïve ŸŠ\u0081");
        QTest::newRow("encoded surrogate is not UTF-8") << QByteArray("\xED\xA0\x80") << QString::fromUtf8("í\u00a0€");
        QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBFNotes \xE2\x82\xAC\r\n")
                                                    << QString::fromUtf8("Notes €\n");
        QTest::newRow("two marks") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QChar(0xFEFF) + QString("x");
        QTest::newRow("UTF-8 cut off at the end") << QByteArray("abc\xC3") << QString::fromUtf8("abcÃ");
        QTest::newRow("references in the file stay") << QByteArray("x &amp; <y>") << QString("x &amp; <y>");
        QTest::newRow("unreadable: told, pad as it was") << QByteArray() << QString("Notes\n");
    }
    void filesWrittenElsewhereLoadAsText() {
        QFETCH(QByteArray, onDisk);
        QFETCH(QString, inPad);
        TestProgram program;
        if (onDisk.isNull())
            QVERIFY(QFile::remove(program.path("Notes.txt")) && QDir(program.appFolder()).mkdir("Notes.txt"));
        else
            writeFile(program.path("Notes.txt"), onDisk);
        program.start();
        QCOMPARE(padNow(program), QString("Notes\n"));  // read once the load handler has returned
        program.processEvents();
        QCOMPARE(padNow(program), inPad);
        QCOMPARE(program.messages.shown.size(), onDisk.isNull() ? 1 : 0);
        if (onDisk.isNull())
            QVERIFY2(program.messages.shown[0].text.startsWith("Could not read the notes from " + program.path("Notes.txt")),
                     qPrintable(program.messages.shown[0].text));
    }

    // A folder name that a pattern match would read as wildcards still loads
    // its own notes, and only those: not a look-alike's, nor a stray view's.
    void onlyTheNotesOfItsOwnFolderFillThePad() {
        TestProgram program;
        QDir top(program.appFolder());
        const QString folderName = "notes #1 [draft]";
        QVERIFY(top.mkdir(folderName) && top.mkdir("notes 11 d"));
        for (const QString& picture : top.entryList({"*.jpg", "*.png"}, QDir::Files))
            QVERIFY(QFile::copy(top.filePath(picture), top.filePath(folderName + "/" + picture)));
        const QString folder = top.filePath(folderName);
        writeFile(folder + "/Notes.txt", "kept in #1");
        writeFile(top.filePath("notes 11 d/Notes.txt"), "a look-alike folder");
        install(Platform{&program.clock, &program.messages, &program.beep, &program.launcher, folder});
        program.start();
        program.processEvents();
        QCOMPARE(padNow(program), QString("kept in #1"));

        // The look-alike's document completes, and is not the notes document.
        auto view = program.find<PageView>("Form1", "WebBrowser1");
        QSignalSpy completed(view, &PageView::documentComplete);
        view->navigate(top.filePath("notes 11 d/Notes.txt"));
        program.processEvents();
        QCOMPARE(completed.size(), 1);
        QCOMPARE(padNow(program), QString("kept in #1"));
        pad(program)->setPlainText("changed in #1");
        PageView stray;  // a view in no window of the program
        stray.navigate(folder + "/Notes.txt");
        program.processEvents();
        WebBrowser1_DocumentComplete(program.window("Form1"), &stray, folder + "/Notes.txt");
        QCOMPARE(padNow(program), QString("changed in #1"));

        program.click("Form1", "cmdSave");
        restart(program);
        QCOMPARE(padNow(program), QString("changed in #1"));
        QCOMPARE(fileBytes(top.filePath("notes 11 d/Notes.txt")), QByteArray("a look-alike folder"));
        QVERIFY(program.messages.shown.isEmpty());
    }

    void fileFirstThenAnimationThenOneConfirmation() {
        StartedProgram program;
        const QString path = program.path("Notes.txt");
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path, permissions));
        program.window("Form1")->move(120, 80);
        pad(program)->setPlainText("abc");

        program.click("Form1", "cmdSave");
        QCOMPARE(fileBytes(path), QByteArray("abc"));  // before any tick
        QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), permissions);
        QVERIFY(animation(program)->isActive() && animation(program)->isEnabled());
        QCOMPARE(animation(program)->interval(), 100);
        QVERIFY(program.text("Form1", "lblWorking").isEmpty() && !program.find<QLabel>("Form1", "lblClock")->isHidden());
        for (int step = 1; step <= 19; ++step) {
            ticks(program, 1);
            QCOMPARE(bar(program), 5 * step);
            QVERIFY(program.find<QLabel>("Form1", "lblClock")->isHidden());
            QCOMPARE(program.text("Form1", "lblWorking"), QString("Working..."));
            QVERIFY(!program.window("Saved") && program.beep.count == 0);
        }
        ticks(program, 1);  // past 90: the finish
        QVERIFY(quiet(program) && !animation(program)->isEnabled());
        QVERIFY(program.window("Saved")->isVisible());
        QCOMPARE(program.window("Saved")->pos(), QPoint(120, 80));
        QCOMPARE(program.beep.played, QStringList{"dialog-warning"});
        program.click("Saved", "cmdOK");
        QVERIFY(program.window("Saved") && !program.window("Saved")->isVisible());

        // A second save while animating writes at once and confirms once, at the
        // main window's corner where it is now; the bar goes on from where it stands.
        program.window("Form1")->move(300, 210);
        program.click("Form1", "cmdSave");
        ticks(program, 10);
        pad(program)->setPlainText("second");
        program.click("Form1", "cmdSave");
        QCOMPARE(fileBytes(path), QByteArray("second"));
        QVERIFY(bar(program) == 50 && animation(program)->isActive());
        ticks(program, 9);
        QVERIFY(bar(program) == 95 && program.beep.count == 1 && !program.window("Saved")->isVisible());
        ticks(program, 1);
        QVERIFY(quiet(program) && program.window("Saved")->isVisible());
        QCOMPARE(program.window("Saved")->pos(), QPoint(300, 210));
        QCOMPARE(program.beep.count, 2);
        QVERIFY(program.messages.shown.isEmpty());
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
        program.start();
        program.processEvents();
        const QString path = program.path("Notes.txt");
        if (setup == "read-only") QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        if (setup != "read-only") QVERIFY(QFile::remove(path));
        if (setup == "folder") QVERIFY(QDir(program.appFolder()).mkdir("Notes.txt"));
        const QStringList entries = folderEntries(program);
        pad(program)->setPlainText("new text");

        program.click("Form1", "cmdSave");
        QCOMPARE(program.messages.told(), QStringList{"warning: Could not save the notes to " + path + ": " + reason});
        QCOMPARE(padNow(program), QString("new text"));
        QVERIFY(quiet(program) && program.beep.count == 0 && !program.window("Saved"));
        QCOMPARE(folderEntries(program), entries);  // nothing created, no copy left behind
        if (setup == "read-only") QCOMPARE(fileBytes(path), oldNotes);
    }

    // The file size limit stops the write halfway, as a full disk would; the
    // save runs in a child process so that the limit binds it alone.
    void saveThatFailsMidwayLeavesTheOldFileWhole() {
        TestProgram program;
        writeFile(program.path("Notes.txt"), oldNotes);
        program.start();
        program.processEvents();
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

        // Without the limit the same save goes through, its animation on its own timer.
        program.click("Form1", "cmdSave");
        QTRY_COMPARE_WITH_TIMEOUT(program.beep.count, 1, 10000);
        QVERIFY(quiet(program) && program.window("Saved")->isVisible());
        QCOMPARE(fileBytes(program.path("Notes.txt")), QByteArray(1 << 20, 'x'));
    }
};

QTEST_MAIN(NotesTest)
#include "test_notes.moc"
