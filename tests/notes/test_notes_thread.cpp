// The notes file is read and written on a thread of its own. A file decoded a
// part at a time reads as it does whole; a save being written leaves the
// window answering and the pad taking typing, refuses a second Save, and
// loses nothing when the main window is rebuilt under it.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QPlainTextEdit>
#include <QTimer>

#include "notes/notes_pad.h"
#include "notes/notes_save.h"
#include "notes/notes_text.h"
#include "platform/rebuild.h"
#include "platform/timers.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

QPlainTextEdit* pad(const TestProgram& program) { return program.find<QPlainTextEdit>("Form1", "txtNotes"); }

// Holds the lock that copies of the program take on the notes folder to
// save, as another copy saving would, until release() or the end.
class OtherCopySaving {
public:
    explicit OtherCopySaving(const QString& folder)
        : fd_(open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY)) {
        if (fd_ < 0 || flock(fd_, LOCK_EX) != 0) qFatal("cannot lock %s", qPrintable(folder));
    }
    ~OtherCopySaving() { release(); }
    void release() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

}  // namespace

class NotesThreadTest : public QObject {
    Q_OBJECT
private slots:
    // Every way to cut a file into three parts decodes to the whole file's
    // text: characters of two to four bytes, the byte-order mark, stray bytes
    // and a character cut off at the very end.
    void aFileDecodedInPartsReadsAsItDoesWhole() {
        const QByteArray file("\xEF\xBB\xBF" "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xFF\xE9t\xE9 \xED\xA0\x80 "
                              "\xE0\x80 x\xF0\x9F\x98");
        const QString whole = decodeNotesFile(file);
        for (qsizetype i = 0; i <= file.size(); ++i)
            for (qsizetype j = i; j <= file.size(); ++j) {
                NotesFileDecoder decoder;
                QString text = decoder.decode(QByteArrayView(file).first(i), false);
                text += decoder.decode(QByteArrayView(file).sliced(i, j - i), false);
                text += decoder.decode(QByteArrayView(file).sliced(j), true);
                if (text != whole) QFAIL(qPrintable(QStringLiteral("cut at %1 and %2: '%3'").arg(i).arg(j).arg(text)));
            }
    }

    // While another copy holds the folder, this save waits on the notes
    // thread: the window goes on answering, a second Save is refused, and
    // what is typed meanwhile stays in the pad, unsaved; the file gets the
    // text the pad held when Save was pressed.
    void aSaveBeingWrittenLeavesTheWindowAnswering() {
        StartedProgram program;
        const QString path = program.path("Notes.txt");
        OtherCopySaving other(program.appFolder());
        pad(program)->setPlainText("mine");
        program.click("Form1", "cmdSave");
        QVERIFY(notesSaveUnderWay());

        program.click("Form1", "cmdSave");
        QCOMPARE(program.messages.told(),
                 QStringList{"warning: The notes are still being written to " + path +
                             " by the last Save. Save again once \"Working...\" shows to save what you typed since."});
        pad(program)->appendPlainText("typed meanwhile");
        int turns = 0;
        QTimer counter;
        QObject::connect(&counter, &QTimer::timeout, [&] {
            if (++turns == 10) other.release();
        });
        counter.start(20);
        program.processEvents();
        QVERIFY2(turns >= 10, "the event loop did not turn while the save waited");
        QVERIFY(!notesSaveUnderWay());
        QCOMPARE(fileBytes(path), QByteArray("mine"));
        QCOMPARE(padText(program.window("Form1")), QString("mine\ntyped meanwhile"));
        QVERIFY(program.find<Timer>("Form1", "Timer23")->isActive());
        QCOMPARE(program.messages.shown.size(), 1);
    }

    // A rebuild that keeps the pad's text, coming while the save is written:
    // the new window holds the text and knows the file holds it, so that the
    // next save asks nothing; the confirmation comes on the new window.
    void aRebuildKeepingTheTextDuringASave() {
        StartedProgram program;
        const QString path = program.path("Notes.txt");
        OtherCopySaving other(program.appFolder());
        pad(program)->setPlainText("mine");
        const QPointer<FormWindow> old = program.window("Form1");
        program.click("Form1", "cmdSave");
        rebuildNow({.tab = 5, .keepUnsaved = true});
        QTimer::singleShot(100, [&] { other.release(); });
        program.processEvents();
        QVERIFY(!old && program.window("Form1"));
        QCOMPARE(fileBytes(path), QByteArray("mine"));
        QCOMPARE(padText(program.window("Form1")), QString("mine"));
        QVERIFY(program.find<Timer>("Form1", "Timer23")->isActive());

        pad(program)->setPlainText("mine, later");
        program.click("Form1", "cmdSave");
        program.processEvents();
        QCOMPARE(fileBytes(path), QByteArray("mine, later"));
        QVERIFY(program.messages.shown.isEmpty());
    }

    // Reset loads the file afresh while the save is written: the load reads
    // what the save wrote, not the file from before it.
    void aResetDuringASaveLoadsWhatItWrote() {
        StartedProgram program;
        const QString path = program.path("Notes.txt");
        OtherCopySaving other(program.appFolder());
        pad(program)->setPlainText("mine");
        program.click("Form1", "cmdSave");
        rebuildNow({.tab = 5});
        QTimer::singleShot(100, [&] { other.release(); });
        program.processEvents();
        QCOMPARE(fileBytes(path), QByteArray("mine"));
        QCOMPARE(padText(program.window("Form1")), QString("mine"));
        pad(program)->setPlainText("mine, later");
        program.click("Form1", "cmdSave");
        program.processEvents();
        QCOMPARE(fileBytes(path), QByteArray("mine, later"));
        QVERIFY(program.messages.shown.isEmpty());
    }
};

QTEST_MAIN(NotesThreadTest)
#include "test_notes_thread.moc"
