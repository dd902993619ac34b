// The notes pad, one row per way of losing text or of being attacked: what is
// saved comes back exactly, a save with nothing changed changes nothing, odd
// files and files that changed since the load are told or asked about, other
// users' links are never written through, and a failed save keeps the file.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <cstdio>
#include <optional>

#include "notes/notes_file.h"
#include "notes/notes_save.h"
#include "platform/rebuild.h"
#include "platform/timers.h"
#include "tests/support/notes_files.h"

using namespace agelark;
using namespace agelark::testing;

Q_DECLARE_METATYPE(AtNotesPath)

namespace {

const QByteArray oldNotes("old notes\r\nkept whole");
const QString cancelKeeps("Cancel leaves the file as it is; your text stays in the pad.");

QStringList entries(const QString& folder) { return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }

// `size` bytes of lines of `length` characters, CR LF after each.
QByteArray lines(qsizetype size, qsizetype length) { return (QByteArray(length, 'x') + "\r\n").repeated(size / (length + 2) + 1).first(size); }

}  // namespace

class NotesTest : public QObject {
    Q_OBJECT
private slots:
    // A file as this or another program wrote it: the pad shows its text, an
    // unedited save leaves it byte for byte, an edited one writes UTF-8 with
    // every line break as CR LF, and that loads back the same.
    void textComesBackExactly_data() {
        QTest::addColumn<QByteArray>("onDisk");
        QTest::addColumn<QString>("inPad");
        QTest::addColumn<QByteArray>("editedSave");  // with "!" typed at the end
        QTest::newRow("typed text, two lines") << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC 5 \xF0\x9F\x98\x80\xC2\xA0x\r\n<PRE>&amp;")
                                               << QString::fromUtf8("Café € 5 😀\u00a0x\n<PRE>&amp;") << QByteArray();
        QTest::newRow("empty, blank lines, break at the end") << QByteArray("\r\n\r\nend\r\n") << QString("\n\nend\n") << QByteArray();
        QTest::newRow("Windows-1252") << QByteArray("Caf\xE9 \x80\x93q\x94\r\nna\xEFve \x9F\x8A\x81")
                                      << QString::fromUtf8("Café €“q”\nnaïve ŸŠ\u0081")
                                      << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC\xE2\x80\x9Cq\xE2\x80\x9D\r\nna\xC3\xAFve \xC5\xB8\xC5\xA0\xC2\x81!");
        QTest::newRow("UTF-8 with one stray byte") << QByteArray("caf\xC3\xA9 \xFF\xE9t\xE9") << QString::fromUtf8("café ÿété")
                                                   << QByteArray("caf\xC3\xA9 \xC3\xBF\xC3\xA9t\xC3\xA9!");
        QTest::newRow("overlong forms and surrogates are no UTF-8") << QByteArray("\xC0\xAF\xC1\xBF\xED\xA0\x80")
                                                                    << QString::fromUtf8("À¯Á¿í\u00a0€")
                                                                    << QByteArray("\xC3\x80\xC2\xAF\xC3\x81\xC2\xBF\xC3\xAD\xC2\xA0\xE2\x82\xAC!");
        QTest::newRow("UTF-8 cut off at the end") << QByteArray("abc\xC3") << QString::fromUtf8("abcÃ") << QByteArray("abc\xC3\x83!");
        QTest::newRow("byte-order mark dropped, a second one kept") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx")
                                                                   << QChar(0xFEFF) + QString("x")
                                                                   << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx!");
        QTest::newRow("breaks the pad reads as its own: CR, U+2028, U+2029, U+FDD0, U+FDD1, CR CR LF")
            << QByteArray("a\rb\xE2\x80\xA8" "c\xE2\x80\xA9" "d\xEF\xB7\x90" "e\xEF\xB7\x91" "f\r\r\ng")
            << QString("a\nb\nc\nd\ne\nf\n\ng") << QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n\r\ng!");
        QTest::newRow("controls, NUL, NEL and noncharacters") << QByteArray("a\tb\x0B" "c\x0C" "d\x00" "e\xC2\x85\xEF\xBF\xBE", 14)
                                                             << QString("a\tb\x0B" "c\x0C" "d") + QChar(0) + QString::fromUtf8("e\u0085\uFFFE")
                                                             << QByteArray();
    }
    void textComesBackExactly() {
        QFETCH(QByteArray, onDisk);
        QFETCH(QString, inPad);
        QFETCH(QByteArray, editedSave);
        if (editedSave.isNull()) editedSave = onDisk + "!";
        TestProgram program;
        const QString path = program.path("Notes.txt");
        QVERIFY(writeFile(path, onDisk));
        program.start();
        program.processEvents();
        QCOMPARE(padNow(program), inPad);
        pressSave(program);
        QCOMPARE(fileBytes(path), onDisk);
        pad(program)->setPlainText(inPad + "!");
        pressSave(program);
        QCOMPARE(fileBytes(path), editedSave);
        restart(program);
        QCOMPARE(padNow(program), inPad + "!");
        QCOMPARE(program.messages.told(), QStringList());
    }

    // Something else than a file of notes in the file's place, or a link to
    // one: what the load tells, and what the save does.
    void oddThingsAtThePath_data() {
        QTest::addColumn<AtNotesPath>("at");
        QTest::addColumn<QString>("linkTo");       // in the program folder
        QTest::addColumn<QByteArray>("content");   // of the file there, or where the link leads; null: none
        QTest::addColumn<QString>("toldAtLoad");   // a phrase; empty: nothing told
        QTest::addColumn<QString>("toldAtSave");   // a phrase; empty: saved, "mine" in the file
        const QByteArray big = lines(largestNotesFile + 1, 98);
        QTest::newRow("no file: the first save makes it") << AtNotesPath::Nothing << "" << QByteArray() << "" << "";
        QTest::newRow("a folder") << AtNotesPath::Folder << "" << QByteArray() << "it is a folder, not a file" << "it is a folder, not a file";
        QTest::newRow("a named pipe, never waited on") << AtNotesPath::Pipe << "" << QByteArray() << "named pipe (FIFO)" << "named pipe (FIFO)";
        QTest::newRow("your link to nothing: the save makes its file") << AtNotesPath::Link << "elsewhere/Notes.txt" << QByteArray()
                                                                       << "which does not exist. Save makes it." << "";
        QTest::newRow("your link into a missing folder") << AtNotesPath::Link << "gone/Notes.txt" << QByteArray()
                                                         << "which does not exist" << "the folder %1/gone does not exist";
        QTest::newRow("your link to a file elsewhere: written there") << AtNotesPath::Link << "elsewhere/Notes.txt" << oldNotes << "" << "";
        QTest::newRow("the largest file the pad takes, lines of 10,000") << AtNotesPath::Nothing << "" << lines(largestNotesFile, 10000) << "" << "";
        QTest::newRow("a file too big for the pad") << AtNotesPath::Nothing << "" << big << "holds 4.0 MB, more than the pad takes (4 MB)"
                                                    << "the file is too big for the pad";
        QTest::newRow("a line too long to edit") << AtNotesPath::Nothing << "" << QByteArray(10001, 'x') << "longer than 10,000 characters"
                                                 << "lines are too long to edit here";
    }
    void oddThingsAtThePath() {
        QFETCH(AtNotesPath, at);
        QFETCH(QString, linkTo);
        QFETCH(QByteArray, content);
        QFETCH(QString, toldAtLoad);
        QFETCH(QString, toldAtSave);
        TestProgram program;
        const QString path = program.path("Notes.txt"), target = linkTo.isEmpty() ? path : program.path(linkTo);
        QVERIFY(QDir(program.appFolder()).mkdir("elsewhere") && placeAtPath(path, at, target));
        if (!content.isNull()) QVERIFY(writeFile(target, content));
        alarm(20);  // a start that waits on the pipe for ever ends the test
        program.start();
        program.processEvents();
        alarm(0);
        const QStringList told = program.messages.told();
        QVERIFY2(toldAtLoad.isEmpty() ? told.isEmpty() : told.size() == 1 && told[0].contains(toldAtLoad), qPrintable(told.join('\n')));
        if (!content.isNull() && toldAtLoad.isEmpty()) QCOMPARE(padNow(program), QString::fromLatin1(content).replace("\r\n", "\n"));
        QCOMPARE(pad(program)->isReadOnly(), toldAtSave.contains("too"));

        const QStringList before = entries(program.appFolder());
        pad(program)->setPlainText("mine");
        pressSave(program);
        QCOMPARE(program.messages.shown.size(), told.size() + !toldAtSave.isEmpty());
        QCOMPARE(QFileInfo(path).isSymLink(), at == AtNotesPath::Link);
        if (toldAtSave.isEmpty()) {
            QCOMPARE(fileBytes(target), QByteArray("mine"));
            return;
        }
        QVERIFY2(program.messages.shown.last().text.contains(toldAtSave.arg(program.appFolder())), qPrintable(program.messages.shown.last().text));
        QCOMPARE(entries(program.appFolder()), before);
        if (!content.isNull()) QCOMPARE(fileBytes(target), content);
    }

    // Another program, or another copy, wrote the notes path between the load
    // and the save; or it could not be read at the start. Save asks, naming
    // where the path leads now: Cancel keeps both texts, Overwrite replaces
    // what the user was told of, and the next save asks nothing.
    void changedSinceLoad_data() {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("asked");  // a phrase of the question; empty: none
        QTest::newRow("another copy saved") << "renamed over" << "has been changed by another program";
        QTest::newRow("another editor wrote it in place, same size and time") << "same size" << "has been changed";
        QTest::newRow("touched, not changed") << "touched" << "";
        QTest::newRow("made after a start without a file") << "made" << "has been made by another program";
        QTest::newRow("unreadable at the start") << "was a folder" << "could not be read when Agelark started";
        QTest::newRow("a link to another file appeared") << "link" << "It now leads to %1/elsewhere.txt.";
        QTest::newRow("changed again while asked") << "renamed over, and again" << "has been changed";
    }
    void changedSinceLoad() {
        QFETCH(QString, meanwhile);
        QFETCH(QString, asked);
        TestProgram program;
        const QString path = program.path("Notes.txt");
        QVERIFY(writeFile(path, oldNotes));
        if (meanwhile == "made" || meanwhile == "was a folder") QVERIFY(placeAtPath(path, meanwhile == "made" ? AtNotesPath::Nothing : AtNotesPath::Folder));
        program.start();
        program.processEvents();
        program.messages.shown.clear();
        struct stat loaded {};
        ::stat(QFile::encodeName(path).constData(), &loaded);
        QTest::qWait(20);  // a later modification time for the touch
        if (meanwhile == "was a folder") QVERIFY(QDir().rmdir(path));
        if (meanwhile.startsWith("renamed over") || meanwhile == "made" || meanwhile == "was a folder")
            QVERIFY(writeFile(path + ".new", "their notes") && ::rename(qPrintable(path + ".new"), qPrintable(path)) == 0);
        if (meanwhile == "same size" || meanwhile == "touched") {
            QVERIFY(writeFile(path, meanwhile == "touched" ? oldNotes : QByteArray("OLD notes\r\nkept whole")));
            const timespec times[2] = {loaded.st_atim, meanwhile == "touched" ? timespec{0, UTIME_NOW} : loaded.st_mtim};
            QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
        }
        if (meanwhile == "link") QVERIFY(writeFile(program.path("elsewhere.txt"), "their notes") && placeAtPath(path, AtNotesPath::Link, program.path("elsewhere.txt")));
        const QString theirFile = meanwhile == "link" ? program.path("elsewhere.txt") : path;
        const QByteArray theirs = fileBytes(theirFile);
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            if (meanwhile.endsWith("again") && program.messages.shown.size() == 2) QVERIFY(writeFile(path, "their notes, later"));
        };
        pad(program)->setPlainText("mine");
        pressSave(program);  // answered Cancel
        if (asked.isEmpty()) {
            QCOMPARE(fileBytes(path), QByteArray("mine"));
            QCOMPARE(program.messages.told(), QStringList());
            return;
        }
        QCOMPARE(program.messages.shown.size(), 1);
        const QString question = program.messages.shown[0].text;
        QVERIFY2(question.startsWith("The notes file " + path) && question.contains(asked.arg(program.appFolder())) && question.contains(cancelKeeps), qPrintable(question));
        QCOMPARE(fileBytes(theirFile), theirs);
        QCOMPARE(padNow(program), QString("mine"));

        program.messages.answers = {true, true};
        pressSave(program);
        QCOMPARE(program.messages.shown.size(), meanwhile.endsWith("again") ? 3 : 2);
        QCOMPARE(fileBytes(theirFile), QByteArray("mine"));
        pad(program)->setPlainText("mine, later");
        pressSave(program);  // the file is as this copy left it
        QCOMPARE(fileBytes(theirFile), QByteArray("mine, later"));
        QCOMPARE(program.messages.shown.size(), meanwhile.endsWith("again") ? 3 : 2);
    }

    // Other users of the computer, each running as the user they are. In a
    // folder shared by a group, agelark-bob puts a link to a file of
    // agelark-ann's in place of Notes.txt: her Save asks, names the link, and
    // Overwrite puts her notes in the link's place; her file is never touched.
    // Where Notes.txt is not hers to change, her notes go to her own copy, and
    // she is told so once.
    void otherUsersOfTheComputer_data() {
        QTest::addColumn<QString>("folderOwner");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<QString>("fileOwner");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<QString>("bobLinksTo");  // a file in agelark-ann's home; none: no link
        QTest::addColumn<bool>("whileSheWrites");  // the link comes after her load, else before her start
        QTest::newRow("bob's link to ann's .bashrc, while she writes") << "root" << 02775 << "agelark-bob" << 0664 << ".bashrc" << true;
        QTest::newRow("bob's link to ann's missing .bash_aliases, before she starts") << "root" << 02775 << "agelark-bob" << 0664 << ".bash_aliases" << false;
        QTest::newRow("sticky shared folder, root's file writable by all") << "root" << 01777 << "root" << 0666 << "" << false;
        QTest::newRow("a read-only file in her own folder") << "agelark-ann" << 0755 << "agelark-ann" << 0444 << "" << false;
        QTest::newRow("a program folder only root may write") << "root" << 0755 << "root" << 0644 << "" << false;
    }
    void otherUsersOfTheComputer() {
        QFETCH(QString, folderOwner);
        QFETCH(int, folderMode);
        QFETCH(QString, fileOwner);
        QFETCH(int, fileMode);
        QFETCH(QString, bobLinksTo);
        QFETCH(bool, whileSheWrites);
        if (::geteuid() != 0) QSKIP("needs root, to run as other users");
        QTemporaryDir base;
        const QString home = base.filePath("ann"), folder = base.filePath("srv"), path = folder + "/Notes.txt";
        QVERIFY(QDir().mkdir(home) && QDir().mkdir(folder) && copyProgramFolder(folder) && writeFile(home + "/.bashrc", "ann's own"));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), folder + "/test_notes"));  // what she runs
        QVERIFY(::chmod(qPrintable(base.path()), 0755) == 0 && ::chown(qPrintable(home), userId("agelark-ann"), shareGroup()) == 0);
        QVERIFY(writeFile(path, "shared notes\r\n") && ::chown(qPrintable(path), userId(fileOwner), shareGroup()) == 0 && ::chmod(qPrintable(path), mode_t(fileMode)) == 0);
        QVERIFY(::chown(qPrintable(folder), userId(folderOwner), shareGroup()) == 0 && ::chmod(qPrintable(folder), mode_t(folderMode)) == 0);
        const auto plant = [&] { QCOMPARE(QProcess::execute("setpriv", asUser("agelark-bob") + QStringList{"ln", "-sf", home + "/" + bobLinksTo, path}), 0); };
        if (!bobLinksTo.isEmpty() && !whileSheWrites) plant();
        QProcess her;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home);
        environment.insert("TMPDIR", home);
        environment.insert("AGELARK_PROGRAM_FOLDER", folder);
        her.setProcessEnvironment(environment);
        her.start("setpriv", asUser("agelark-ann") + QStringList{folder + "/test_notes", "--her-session"});
        QTRY_VERIFY_WITH_TIMEOUT(her.canReadLine(), 30000);
        QCOMPARE(her.readLine(), QByteArray("loaded\n"));
        if (!bobLinksTo.isEmpty() && whileSheWrites) plant();
        her.write("go\n");
        QVERIFY(her.waitForFinished(60000) && her.exitCode() == 0);
        const QString told = QString::fromUtf8(her.readAllStandardOutput()).trimmed();
        QCOMPARE(fileBytes(home + "/.bashrc"), QByteArray("ann's own"));
        QVERIFY(!QFileInfo::exists(home + "/.bash_aliases"));
        if (bobLinksTo.isEmpty()) {
            const QString own = home + "/data/test_notes/Notes.txt";
            QCOMPARE(told, "information: Your notes were saved to your own copy, " + own + ", because the notes file beside the program, " + path +
                               ", is not yours to change. Agelark reads your notes from your copy from now on.");
            QCOMPARE(fileBytes(own), QByteArray("mine, later"));
            QCOMPARE(fileBytes(path), QByteArray("shared notes\r\n"));
        } else {
            QVERIFY2(told.contains("question: Overwrite: The notes file " + path) && told.contains("a link, made by agelark-bob, to " + home + "/" + bobLinksTo) && told.count("question") == 1, qPrintable(told));
            QVERIFY(!QFileInfo(path).isSymLink());
            QCOMPARE(fileBytes(path), QByteArray("mine, later"));
        }
    }

    // A save that fails is told, leaves the old file whole and no new file
    // behind, and keeps the pad; also while another box is open, once it closes.
    void aFailedSaveIsTold_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("reason");
        QTest::newRow("the file-size limit") << "limit" << "File too large";
        const QString busy = "another copy of Agelark is saving its notes there right now. Wait a moment and save again";
        QTest::newRow("another copy saving") << "other copy" << busy;
        QTest::newRow("another copy saving, told once Improper Format! is closed") << "other copy, bad date" << busy;
    }
    void aFailedSaveIsTold() {
        QFETCH(QString, how);
        QFETCH(QString, reason);
        TestProgram program;
        const QString path = program.path("Notes.txt");
        QVERIFY(writeFile(path, oldNotes));
        program.start();
        program.processEvents();
        const QStringList before = entries(program.appFolder());
        const QString mine = (QString(63, 'x') + '\n').repeated(1 << 14);  // 1 MB
        pad(program)->setPlainText(mine);
        std::optional<OtherCopySaving> other;
        if (how != "limit") other.emplace(program.appFolder());
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit lower{how == "limit" ? 4096 : limit.rlim_cur, limit.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lower);
        program.click("Form1", "cmdSave");
        if (how.endsWith("bad date")) {
            program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) { program.processEvents(); };
            program.find<QLineEdit>("Form1", "txtCusThen")->setText("someday");
            program.click("Form1", "cmdCustom");
            program.tick("Form1", "Timer24");
        }
        program.processEvents();
        ::setrlimit(RLIMIT_FSIZE, &limit);
        QVERIFY(!program.find<Timer>("Form1", "Timer23")->isActive() && program.beep.count == 0 && padNow(program) == mine);
        const QString told = program.messages.told().join("\n");
        QCOMPARE(told, QString(how.endsWith("bad date") ? "information: Improper Format!\n" : "") +
                           "warning: Could not save the notes to " + path + ": " + reason);
        QCOMPARE(fileBytes(path), oldNotes);
        QCOMPARE(entries(program.appFolder()), before);
    }

    // The file is complete on disk before "Working..." starts; the bar climbs
    // 5 a tick to 95, then one confirmation opens at the main window's corner, with the sound.
    void theFileFirstThenOneConfirmation() {
        StartedProgram program;
        program.window("Form1")->move(120, 80);
        pad(program)->setPlainText("abc");
        pressSave(program);
        QCOMPARE(fileBytes(program.path("Notes.txt")), QByteArray("abc"));
        for (int step = 1; step <= 19; ++step) program.tick("Form1", "Timer23");
        const auto bar = program.find<QProgressBar>("Form1", "ProgressBar1");
        QVERIFY(bar->value() == 95 && program.text("Form1", "lblWorking") == "Working..." && !program.window("Saved"));
        program.tick("Form1", "Timer23");
        QVERIFY(bar->value() == 0 && program.text("Form1", "lblWorking").isEmpty() && !program.find<QLabel>("Form1", "lblClock")->isHidden());
        QVERIFY(program.window("Saved")->isVisible() && !program.find<Timer>("Form1", "Timer23")->isActive());
        QCOMPARE(program.window("Saved")->pos(), QPoint(120, 80));
        QCOMPARE(program.beep.played, QStringList{"dialog-warning"});
    }

    // A rebuild while a save is being written: one that keeps unsaved notes
    // takes the text along and knows the file holds it; Reset reads what the
    // save wrote. Either way the next save asks nothing.
    void aRebuildDuringASave_data() {
        QTest::addColumn<bool>("keepUnsaved");
        QTest::newRow("a bad date, keeping the text") << true;
        QTest::newRow("Reset, reading the file again") << false;
    }
    void aRebuildDuringASave() {
        QFETCH(bool, keepUnsaved);
        StartedProgram program;
        OtherCopySaving other(program.appFolder());
        pad(program)->setPlainText("mine");
        program.click("Form1", "cmdSave");
        rebuildNow({.tab = 5, .keepUnsaved = keepUnsaved});
        QTimer::singleShot(100, [&] { other.release(); });
        program.processEvents();
        QCOMPARE(padNow(program), QString("mine"));
        QCOMPARE(program.find<Timer>("Form1", "Timer23")->isActive(), keepUnsaved);
        pad(program)->setPlainText("mine, later");
        pressSave(program);
        QCOMPARE(fileBytes(program.path("Notes.txt")), QByteArray("mine, later"));
        QCOMPARE(program.messages.told(), QStringList());
    }

    // The program ends at once while the notes thread waits on a file that
    // does not answer: here one that another process holds a write lease on,
    // which holds up anyone opening it until the lease is let go.
    void theEndDoesNotWaitForAStuckRead() {
        QTemporaryDir folder;
        const QDir built(QStringLiteral(AGELARK_BUILT_APP_DIR));
        for (const QString& name : built.entryList(QDir::Files)) QVERIFY(QFile::copy(built.filePath(name), folder.filePath(name)));
        const QString path = folder.filePath("Notes.txt");
        const int held = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        ::signal(SIGIO, SIG_IGN);
        if (::fcntl(held, F_SETLEASE, F_WRLCK) != 0) QSKIP("no leases here");
        QProcess program;
        program.setProcessEnvironment([&] { auto e = QProcessEnvironment::systemEnvironment(); e.insert("XDG_DATA_HOME", folder.path()); return e; }());
        program.start(folder.filePath("agelark"));
        QVERIFY(program.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(::fcntl(held, F_GETLEASE), F_RDLCK, 20000);  // the program is opening it
        QElapsedTimer took;
        took.start();
        program.terminate();
        QVERIFY(program.waitForFinished(20000));
        QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(program.exitCode(), 0);
        ::close(held);
    }

    // The real question box: Overwrite and Cancel, Cancel the default and Escape's.
    void theQuestionBoxDefaultsToCancel() {
        QWidget parent;
        parent.show();
        QTimer::singleShot(0, [&] {
            auto box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box && static_cast<QAbstractButton*>(box->defaultButton()) == box->button(QMessageBox::Cancel) && box->escapeButton() == box->button(QMessageBox::Cancel));
            QTest::keyClick(box, Qt::Key_Return);
        });
        QVERIFY(!systemMessageBoxes().question(&parent, "Overwrite it?", "Overwrite"));
    }
};

// What agelark-ann does in otherUsersOfTheComputer, in a process of her own:
// she starts, says "loaded" and waits for a line while agelark-bob may act,
// saves twice (Overwrite when asked), and prints what she was told.
int herSession() {
    TestProgram program(qEnvironmentVariable("AGELARK_PROGRAM_FOLDER"));
    qputenv("XDG_DATA_HOME", qgetenv("HOME") + "/data");
    program.start();
    program.processEvents();
    std::puts("loaded");
    std::fflush(stdout);
    char line[8];
    if (!std::fgets(line, sizeof line, stdin)) return 1;
    program.messages.answers = {true};
    for (const char* text : {"mine", "mine, later"}) {
        pad(program)->setPlainText(text);
        pressSave(program);
    }
    std::puts(qPrintable(program.messages.told().join("\n")));
    return 0;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--her-session") == 0) return herSession();
    app.setAttribute(Qt::AA_Use96Dpi, true);
    NotesTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_notes.moc"
