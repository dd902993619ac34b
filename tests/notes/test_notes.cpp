// The notes pad. What is saved is what the next start of the main window puts
// in the pad, byte for byte on disk and character for character in the pad.
// Saving writes the file first, then runs the "Working..." animation, then one
// confirmation and one beep; a save that fails leaves the old file whole, and
// a save never writes over text the pad did not load without asking.

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>

#include "notes/notes_load.h"
#include "notes/notes_pad.h"
#include "notes/pad_state.h"
#include "notes/page_view.h"
#include "platform/rebuild.h"
#include "platform/timers.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

const QByteArray oldNotes("old notes\r\nkept whole");

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

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}
QStringList folderEntries(const TestProgram& p) { return folderEntries(p.appFolder()); }

PadPhase phase(const TestProgram& p) { return padState(p.window("Form1")).phase; }

// Save Changes, and the event loop until the file is written and what follows has come.
void pressSave(TestProgram& p) {
    p.click("Form1", "cmdSave");
    p.processEvents();
}

// Turns the event loop until the pad's load is under way: its first part is in.
void untilLoadingShows(TestProgram& p) {
    QElapsedTimer waited;
    waited.start();
    while (p.text("Form1", "lblWorking").isEmpty() && phase(p) == PadPhase::Loading && waited.elapsed() < 20000)
        QCoreApplication::processEvents();
}

// Waits (through the event loop) until the pad's load has ended.
bool loaded(TestProgram& p) {
    QElapsedTimer waited;
    waited.start();
    while (phase(p) == PadPhase::Loading && waited.elapsed() < 20000) p.processEvents();
    return phase(p) != PadPhase::Loading;
}

// Runs `body` in a child process and gives its exit status, or 128 + the signal that ended it.
int inChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// `size` bytes of ordinary lines, as a notes file holds them.
QByteArray lines(qsizetype size) {
    const QByteArray line("Bought a boxed SNES with two pads, 12/03/1999; still works.\r\n");
    QByteArray bytes;
    while (bytes.size() < size) bytes += line;
    return bytes;
}

void sameTimeAs(const QString& path, const struct stat& before) {
    const timespec times[2] = {before.st_atim, before.st_mtim};
    QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
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
            pressSave(program);
            QCOMPARE(fileBytes(program.path("Notes.txt")), onDisk);
            restart(program);
            QCOMPARE(padNow(program), QString(typed).replace(QChar::LineSeparator, u'\n'));
        }
        QVERIFY(program.messages.shown.isEmpty());
    }

    // Each row is a file as another program may leave it; `onDisk` names the
    // thing in the file's place when it is no file: none, a folder, a named
    // pipe, a link to nothing. What loads saves back as the pad shows it.
    void filesWrittenElsewhereLoadAsText_data() {
        QTest::addColumn<QByteArray>("onDisk");
        QTest::addColumn<QString>("inPad");
        QTest::addColumn<QString>("told");  // the warning's reason; none: no warning
        QTest::newRow("Windows-1252") << QByteArray("Caf\xE9 \x80\x93q\x94\r\nna\xEFve \x9F\x8A\x81")
                                      << QString::fromUtf8("Café €“q”\nnaïve ŸŠ\u0081") << QString();
        // One stray byte costs only itself: the rest stays UTF-8.
        QTest::newRow("UTF-8 with one stray byte")
            << QByteArray("caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC" "5 \xFF\xE9t\xE9")
            << QString::fromUtf8("café naïve €5 ÿété") << QString();
        QTest::newRow("encoded surrogate is not UTF-8") << QByteArray("\xED\xA0\x80") << QString::fromUtf8("í\u00a0€")
                                                        << QString();
        QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBFNotes \xE2\x82\xAC\r\n")
                                                    << QString::fromUtf8("Notes €\n") << QString();
        QTest::newRow("two marks") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QChar(0xFEFF) + QString("x") << QString();
        QTest::newRow("UTF-8 cut off at the end") << QByteArray("abc\xC3") << QString::fromUtf8("abcÃ") << QString();
        QTest::newRow("references in the file stay") << QByteArray("x &amp; <y>") << QString("x &amp; <y>") << QString();
        QTest::newRow("no file: the pad's first text") << QByteArray("none") << QString("Notes\n") << QString();
        QTest::newRow("a folder") << QByteArray("folder") << QString("Notes\n") << QString("it is a folder, not a file");
        QTest::newRow("a named pipe: never waited on")
            << QByteArray("fifo") << QString("Notes\n") << QString("it is a named pipe (FIFO), not an ordinary file");
        QTest::newRow("a link to nothing: its target named")
            << QByteArray("dangling") << QString("Notes\n") << QString("it links to %1, which does not exist");
    }
    void filesWrittenElsewhereLoadAsText() {
        QFETCH(QByteArray, onDisk);
        QFETCH(QString, inPad);
        QFETCH(QString, told);
        TestProgram program;
        const QString path = program.path("Notes.txt");
        const QString target = program.path("gone/Notes.txt");
        if (QList<QByteArray>{"none", "folder", "fifo", "dangling"}.contains(onDisk))
            QVERIFY(QFile::remove(path));
        else
            writeFile(path, onDisk);
        if (onDisk == "folder") QVERIFY(QDir(program.appFolder()).mkdir("Notes.txt"));
        if (onDisk == "fifo") QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        if (onDisk == "dangling") QVERIFY(QFile::link(target, path));
        alarm(20);  // a start that waits on the pipe for ever ends the test
        program.start();
        QCOMPARE(padNow(program), QString("Notes\n"));  // read once the load handler has returned
        program.processEvents();
        alarm(0);
        QCOMPARE(padNow(program), inPad);
        QCOMPARE(phase(program), PadPhase::Editing);
        QVERIFY(!pad(program)->isReadOnly());
        const QStringList expected =
            told.isEmpty() ? QStringList()
                           : QStringList{"warning: Could not read the notes from " + path + ": " + told.arg(target) +
                                         ".\n\nThe file is left as it is: Save will not replace it without asking you first."};
        QCOMPARE(program.messages.told(), expected);
        if (!told.isEmpty()) return;

        // Saved, the file holds the pad's text in UTF-8, and loads back the same.
        pressSave(program);
        QByteArray inUtf8 = QString(inPad).replace("\n", "\r\n").toUtf8();
        if (inPad.startsWith(QChar(0xFEFF))) inUtf8.prepend("\xEF\xBB\xBF");  // so that it is not read as a mark
        QCOMPARE(fileBytes(path), inUtf8);
        restart(program);
        QCOMPARE(padNow(program), inPad);
        QCOMPARE(program.messages.told(), QStringList());
    }

    // Characters the text document gives a meaning of its own. The pad keeps
    // one kind of line break, so every break that is not CR LF (a lone CR,
    // U+2028, U+2029 and U+FDD0, which the document takes for a frame's
    // start) is saved as CR LF; everything else comes back as it was.
    void charactersTheDocumentMightTakeForBreaks_data() {
        QTest::addColumn<QByteArray>("onDisk");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("noncharacters U+FFFE and U+FFFF") << QByteArray("a\xEF\xBF\xBE" "b\xEF\xBF\xBF" "c")
                                                         << QByteArray("a\xEF\xBF\xBE" "b\xEF\xBF\xBF" "c");
        QTest::newRow("controls, NUL and NEL") << QByteArray("a\tb\x0B" "c\x0C" "d\x00" "e\xC2\x85" "f", 12)
                                              << QByteArray("a\tb\x0B" "c\x0C" "d\x00" "e\xC2\x85" "f", 12);
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QByteArray("a\r\n\r\nb");
        QTest::newRow("lone CR") << QByteArray("a\rb\r") << QByteArray("a\r\nb\r\n");
        QTest::newRow("U+2028") << QByteArray("a\xE2\x80\xA8" "b") << QByteArray("a\r\nb");
        QTest::newRow("U+2029") << QByteArray("a\xE2\x80\xA9" "b") << QByteArray("a\r\nb");
        QTest::newRow("noncharacter U+FDD0") << QByteArray("a\xEF\xB7\x90" "b") << QByteArray("a\r\nb");
    }
    void charactersTheDocumentMightTakeForBreaks() {
        QFETCH(QByteArray, onDisk);
        QFETCH(QByteArray, saved);
        TestProgram program;
        writeFile(program.path("Notes.txt"), onDisk);
        program.start();
        program.processEvents();
        pressSave(program);
        QCOMPARE(fileBytes(program.path("Notes.txt")), saved);
        QVERIFY(program.messages.shown.isEmpty());
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
        QTRY_COMPARE(completed.size(), 1);
        QCOMPARE(padNow(program), QString("kept in #1"));
        pad(program)->setPlainText("changed in #1");
        PageView stray;  // a view in no window of the program
        QSignalSpy strayStarted(&stray, &PageView::navigateComplete2);
        stray.navigate(folder + "/Notes.txt");
        QTRY_COMPARE(strayStarted.size(), 1);
        WebBrowser1_NavigateComplete2(program.window("Form1"), &stray, folder + "/Notes.txt");
        program.processEvents();
        QCOMPARE(padNow(program), QString("changed in #1"));

        pressSave(program);
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

        pressSave(program);
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
        pressSave(program);
        ticks(program, 10);
        pad(program)->setPlainText("second");
        pressSave(program);
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

    // Another copy of the program, or another editor, writes the file between
    // the load and the save; or there was no file, or an unreadable one, at the
    // start. Save asks, Cancel keeps both texts, Overwrite replaces what the
    // user was told of, and the next save of an unchanged file asks nothing.
    void saveAsksBeforeWritingOverTextItDidNotLoad_data() {
        QTest::addColumn<QString>("before");  // what is in the file's place at the start
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("asked");  // a phrase of the question; none: no question
        QTest::newRow("another copy saved") << "file" << "longer text" << "has been changed by another program";
        QTest::newRow("another editor: same size and time") << "file" << "same size" << "has been changed";
        QTest::newRow("touched, not changed") << "file" << "touched" << QString();
        QTest::newRow("made after a start without a file") << "none" << "made" << "has been made by another program";
        QTest::newRow("unreadable at the start") << "folder" << "made" << "could not be read when Agelark started";
    }
    void saveAsksBeforeWritingOverTextItDidNotLoad() {
        QFETCH(QString, before);
        QFETCH(QString, meanwhile);
        QFETCH(QString, asked);
        TestProgram program;
        const QString path = program.path("Notes.txt");
        writeFile(path, oldNotes);
        if (before != "file") QVERIFY(QFile::remove(path));
        if (before == "folder") QVERIFY(QDir(program.appFolder()).mkdir("Notes.txt"));
        program.start();
        program.processEvents();
        if (before == "folder") QVERIFY(QDir(program.appFolder()).rmdir("Notes.txt"));
        program.messages.shown.clear();

        struct stat loadedStatus {};
        QVERIFY(before != "file" || stat(QFile::encodeName(path).constData(), &loadedStatus) == 0);
        QByteArray theirs = meanwhile == "longer text" ? QByteArray("their notes, forty lines\r\n").repeated(40)
                            : meanwhile == "same size"   ? QByteArray("OLD notes\r\nkept whole")
                            : meanwhile == "made"        ? QByteArray("their notes\r\n").repeated(40)
                                                         : oldNotes;
        QTest::qWait(20);  // a later modification time for the touch
        writeFile(path, theirs);
        if (meanwhile == "same size") sameTimeAs(path, loadedStatus);
        pad(program)->setPlainText("mine");

        pressSave(program);  // answered Cancel
        if (asked.isEmpty()) {
            QCOMPARE(fileBytes(path), QByteArray("mine"));
            QVERIFY(program.messages.shown.isEmpty() && animation(program)->isActive());
            return;
        }
        QCOMPARE(program.messages.shown.size(), 1);
        const auto question = program.messages.shown[0];
        QCOMPARE(question.kind, QString("question: Overwrite"));
        QVERIFY2(question.text.contains(path) && question.text.contains(asked) &&
                     question.text.contains("Cancel leaves the file as it is; your text stays in the pad."),
                 qPrintable(question.text));
        QCOMPARE(fileBytes(path), theirs);
        QCOMPARE(padNow(program), QString("mine"));
        QVERIFY(quiet(program) && program.beep.count == 0);

        program.messages.answers = {true};
        pressSave(program);
        QCOMPARE(program.messages.shown.size(), 2);
        QCOMPARE(fileBytes(path), QByteArray("mine"));
        QVERIFY(animation(program)->isActive());
        pad(program)->setPlainText("mine, later");
        pressSave(program);  // the file is as this copy left it
        QCOMPARE(program.messages.shown.size(), 2);
        QCOMPARE(fileBytes(path), QByteArray("mine, later"));
    }

    // A change made while the question stands open is asked about again:
    // Overwrite replaces only the version the user was told of.
    void aChangeDuringTheQuestionIsAskedAboutAgain() {
        StartedProgram program;
        const QString path = program.path("Notes.txt");
        writeFile(path, "theirs");
        program.messages.answers = {true, false};
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            if (program.messages.shown.size() == 1) writeFile(path, "theirs, later");
        };
        pad(program)->setPlainText("mine");
        pressSave(program);
        QCOMPARE(program.messages.shown.size(), 2);
        QCOMPARE(fileBytes(path), QByteArray("theirs, later"));
        QVERIFY(quiet(program));
    }

    // A copy saving into the same folder holds its lock from the look at the
    // file to the rename; another copy waits a second for it, then says so.
    void aSaveWaitsForAnotherCopysSave() {
        StartedProgram program;
        const int folder = open(QFile::encodeName(program.appFolder()).constData(), O_RDONLY | O_DIRECTORY);
        QVERIFY(folder >= 0 && flock(folder, LOCK_EX) == 0);
        pad(program)->setPlainText("mine");
        QElapsedTimer took;
        took.start();
        pressSave(program);
        QVERIFY(took.elapsed() >= 900);
        close(folder);
        QCOMPARE(program.messages.told(),
                 QStringList{"warning: Could not save the notes to " + program.path("Notes.txt") +
                             ": another copy of Agelark is saving its notes there right now. Wait a moment and save again"});
        QCOMPARE(fileBytes(program.path("Notes.txt")), QByteArray("Notes\r\n"));
        pressSave(program);
        QCOMPARE(fileBytes(program.path("Notes.txt")), QByteArray("mine"));
    }

    void refusedSaveKeepsEverything_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder in its place") << QString("folder") << QString("it is a folder, not a file");
        QTest::newRow("named pipe in its place")
            << QString("fifo") << QString("it is a named pipe (FIFO), not an ordinary file");
        QTest::newRow("link into a missing folder")
            << QString("dangling") << QString("it links to %1, and the folder %2 does not exist");
    }
    void refusedSaveKeepsEverything() {
        QFETCH(QString, setup);
        QFETCH(QString, reason);
        StartedProgram program;
        const QString path = program.path("Notes.txt");
        const QString target = program.path("gone/Notes.txt");
        QVERIFY(QFile::remove(path));
        if (setup == "folder") QVERIFY(QDir(program.appFolder()).mkdir("Notes.txt"));
        if (setup == "fifo") QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        if (setup == "dangling") QVERIFY(QFile::link(target, path));
        const QStringList entries = folderEntries(program);
        pad(program)->setPlainText("new text");

        alarm(20);
        pressSave(program);
        alarm(0);
        QCOMPARE(program.messages.told(),
                 QStringList{"warning: Could not save the notes to " + path + ": " + reason.arg(target, program.path("gone"))});
        QCOMPARE(padNow(program), QString("new text"));
        QVERIFY(quiet(program) && program.beep.count == 0 && !program.window("Saved"));
        QCOMPARE(folderEntries(program), entries);  // nothing made, no copy left behind
    }

    // With no notes file, the first save makes it; through a link to a file
    // not there yet, the link's target is made and the link stays.
    void saveMakesAMissingFile_data() {
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("no file") << false;
        QTest::newRow("link to a file not there yet") << true;
    }
    void saveMakesAMissingFile() {
        QFETCH(bool, throughLink);
        TestProgram program;
        const QString path = program.path("Notes.txt");
        const QString target = program.path("elsewhere/Notes.txt");
        QVERIFY(QFile::remove(path) && QDir(program.appFolder()).mkdir("elsewhere"));
        if (throughLink) QVERIFY(QFile::link(target, path));
        program.start();
        program.processEvents();
        program.messages.shown.clear();  // the link to nothing was told
        QCOMPARE(padNow(program), QString("Notes\n"));
        pad(program)->setPlainText("first notes");
        const mode_t mask = umask(022);
        pressSave(program);
        umask(mask);
        QVERIFY(program.messages.shown.isEmpty());
        QCOMPARE(fileBytes(path), QByteArray("first notes"));
        QCOMPARE(QFileInfo(path).isSymLink(), throughLink);
        struct stat status {};
        QVERIFY(stat(QFile::encodeName(path).constData(), &status) == 0);
        QCOMPARE(status.st_mode & 0777, mode_t(0644));
        restart(program);
        QCOMPARE(padNow(program), QString("first notes"));
    }

    // Where the program's Notes.txt may not be written (here: read-only), the
    // first save makes the user's own copy, which is read from then on, also
    // once the program's file could be written again; the program's file is
    // never touched.
    void theUsersOwnCopyWhereTheProgramsFileIsNotTheirs() {
        TestProgram program;
        const QString beside = program.path("Notes.txt");
        const QString own = program.userPath("Notes.txt");
        writeFile(beside, oldNotes);
        QVERIFY(QFile::setPermissions(beside, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        program.start();
        program.processEvents();
        QCOMPARE(padNow(program), QString("old notes\nkept whole"));
        pad(program)->setPlainText("my own");
        pressSave(program);
        QVERIFY(program.messages.shown.isEmpty());
        QCOMPARE(fileBytes(own), QByteArray("my own"));
        QCOMPARE(fileBytes(beside), oldNotes);

        QVERIFY(QFile::setPermissions(beside, QFile::ReadOwner | QFile::WriteOwner));
        restart(program);
        QCOMPARE(padNow(program), QString("my own"));
        pad(program)->setPlainText("my own, later");
        pressSave(program);
        QCOMPARE(fileBytes(own), QByteArray("my own, later"));
        QCOMPARE(fileBytes(beside), oldNotes);
        QVERIFY(program.messages.shown.isEmpty());
    }

    // A disk that fills up during the save: its reason is the system's, and
    // the old file stays whole. The notes live in the user's own copy, in a
    // folder over which a child process mounts a private 64 KiB tmpfs holding
    // the same notes; the child saves (and paints nothing: painting threads do
    // not survive fork).
    void aFullDiskIsToldAndTheOldFileStays() {
        TestProgram program;
        const QString disk = program.path("small disk");
        qputenv("XDG_DATA_HOME", QFile::encodeName(disk));
        const QString own = program.userPath("Notes.txt");
        const QString folder = QFileInfo(own).absolutePath();
        QVERIFY(QDir().mkpath(folder));
        writeFile(own, oldNotes);
        program.start();
        program.processEvents();
        QCOMPARE(padNow(program), QString("old notes\nkept whole"));
        pad(program)->setPlainText(QString(1 << 20, QChar('x')));
        const int status = inChild([&] {
            if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k") != 0)
                return 77;
            QFile old(own);
            if (!QDir().mkpath(folder) || !old.open(QIODevice::WriteOnly) || old.write(oldNotes) != oldNotes.size())
                return 10;
            old.close();
            const QStringList before = folderEntries(folder);
            pressSave(program);
            const bool told = program.messages.told() ==
                              QStringList{"warning: Could not save the notes to " + own + ": No space left on device"};
            const bool whole = fileBytes(own) == oldNotes && folderEntries(folder) == before;
            return told && whole && quiet(program) ? 0 : 11;
        });
        if (status == 77) QSKIP("no private tmpfs can be mounted here (needs root or user namespaces)");
        QCOMPARE(status, 0);
    }

    // The file-size limit stops the save as a full disk would: told, the old
    // file whole, and the program goes on (the start of the program, here the
    // test's, set SIGXFSZ aside; the child inherits that, as it inherits the limit).
    void theFileSizeLimitIsToldAndTheProgramGoesOn() {
        TestProgram program;
        writeFile(program.path("Notes.txt"), oldNotes);
        program.start();
        program.processEvents();
        pad(program)->setPlainText(QString(1 << 20, QChar('x')));
        const QStringList entries = folderEntries(program);
        const int status = inChild([&] {
            const rlimit limit{4096, 4096};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
            pressSave(program);
            const bool told = program.messages.told() == QStringList{"warning: Could not save the notes to " +
                                                                      program.path("Notes.txt") + ": File too large"};
            return told && quiet(program) && program.beep.count == 0 ? 0 : 11;
        });
        QCOMPARE(status, 0);
        QCOMPARE(fileBytes(program.path("Notes.txt")), oldNotes);
        QCOMPARE(folderEntries(program), entries);

        // Without the limit the same save goes through, its animation on its own timer.
        pressSave(program);
        QTRY_COMPARE_WITH_TIMEOUT(program.beep.count, 1, 10000);
        QVERIFY(quiet(program) && program.window("Saved")->isVisible());
        QCOMPARE(fileBytes(program.path("Notes.txt")), QByteArray(1 << 20, 'x'));
    }

    // A big file goes into the pad over many turns of the event loop: the
    // window answers meanwhile, the pad takes no typing, Save says to wait,
    // and at the end the pad holds the file exactly and saves it unchanged.
    void aBigFileLoadsInPartsWhileTheWindowAnswers() {
        TestProgram program;
        const QByteArray big = lines(10 * 1000 * 1000);
        writeFile(program.path("Notes.txt"), big);
        int turns = 0;  // of the event loop with part of the file in the pad
        QTimer counter;
        QObject::connect(&counter, &QTimer::timeout, [&] {
            if (program.window("Form1") && program.text("Form1", "lblWorking") == "Loading notes...") ++turns;
        });
        counter.start(0);
        program.start();
        untilLoadingShows(program);
        QCOMPARE(phase(program), PadPhase::Loading);
        QVERIFY(pad(program)->isReadOnly());
        QCOMPARE(program.text("Form1", "lblWorking"), QString("Loading notes..."));
        QTest::keyClicks(pad(program), "typed");
        program.click("Form1", "cmdSave");
        QCOMPARE(program.messages.told(), QStringList{"warning: The notes are still being loaded into the pad. "
                                                      "Save again once they are all there; nothing was saved."});
        QVERIFY(loaded(program));
        QVERIFY2(turns >= 3, qPrintable(QString::number(turns)));
        QCOMPARE(phase(program), PadPhase::Editing);
        QVERIFY(!pad(program)->isReadOnly() && program.text("Form1", "lblWorking").isEmpty());
        QCOMPARE(padNow(program), QString::fromLatin1(big).replace("\r\n", "\n"));
        // Many lines share a block of the document, which reads back as lines all the same.
        QVERIFY(pad(program)->document()->blockCount() < big.count('\n') / 10);
        pressSave(program);
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(fileBytes(program.path("Notes.txt")), big);
    }

    // A rebuild that keeps unsaved notes, coming while the pad is still being
    // filled, loads the file afresh instead of keeping half of it.
    void aRebuildDuringTheLoadLoadsTheFileAgain() {
        TestProgram program;
        const QByteArray big = lines(10 * 1000 * 1000);
        writeFile(program.path("Notes.txt"), big);
        program.start();
        untilLoadingShows(program);
        QCOMPARE(phase(program), PadPhase::Loading);
        rebuildNow({.tab = 5, .keepUnsaved = true});
        QVERIFY(loaded(program));
        QCOMPARE(padNow(program), QString::fromLatin1(big).replace("\r\n", "\n"));
        pressSave(program);
        QCOMPARE(fileBytes(program.path("Notes.txt")), big);
        QVERIFY(program.messages.shown.isEmpty());
    }

    // A line of more than 10,000 characters would take the text layout minutes
    // to wrap: it is shown in pieces, read-only, and Save leaves the file alone.
    void aLineTooLongToEditIsShownReadOnly() {
        TestProgram program;
        const QByteArray file = "short\r\n" + QByteArray(25000, '&') + "\r\nend";
        writeFile(program.path("Notes.txt"), file);
        program.start();
        QVERIFY(loaded(program));
        QCOMPARE(phase(program), PadPhase::ReadOnly);
        QVERIFY(pad(program)->isReadOnly());
        QCOMPARE(program.messages.shown.size(), 1);
        QVERIFY2(program.messages.shown[0].text.contains(program.path("Notes.txt")) &&
                     program.messages.shown[0].text.contains("longer than 10,000 characters"),
                 qPrintable(program.messages.shown[0].text));
        QCOMPARE(padNow(program), "short\n" + QString(10000, '&') + "\n" + QString(10000, '&') + "\n" +
                                      QString(5000, '&') + "\nend");
        pressSave(program);
        QCOMPARE(program.messages.shown.size(), 2);
        QVERIFY(program.messages.shown[1].text.startsWith("Nothing was saved"));
        QCOMPARE(fileBytes(program.path("Notes.txt")), file);
        restart(program);  // Reset's way: the file is read again
        QVERIFY(loaded(program));
        QCOMPARE(phase(program), PadPhase::ReadOnly);
    }

    // The real question box: Overwrite and Cancel, Cancel the default and Escape's.
    void theQuestionBoxDefaultsToCancel() {
        QWidget parent;
        parent.show();
        bool escaped = true, overwritten = false;
        QTimer::singleShot(0, [&] {
            auto box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Cancel));
            QCOMPARE(box->escapeButton(), box->button(QMessageBox::Cancel));
            QTest::keyClick(box, Qt::Key_Escape);
        });
        escaped = systemMessageBoxes().question(&parent, "Overwrite it?", "Overwrite");
        QTimer::singleShot(0, [&] {
            auto box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons())
                if (b->text() == "Overwrite") b->click();
        });
        overwritten = systemMessageBoxes().question(&parent, "Overwrite it?", "Overwrite");
        QVERIFY(!escaped && overwritten);
    }
};

QTEST_MAIN(NotesTest)
#include "test_notes.moc"
