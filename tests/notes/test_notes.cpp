// The notes pad, one row per way of losing text or of being attacked: what is
// saved comes back exactly, a save with nothing changed changes nothing, odd
// files and files changed since the load are told or asked about, other users'
// links are never written through, and a failed save keeps the file.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <cstdio>
#include <optional>

#include "notes/notes_file.h"
#include "platform/rebuild.h"
#include "platform/timers.h"
#include "tests/support/notes_files.h"

using namespace agelark;
using namespace agelark::testing;

Q_DECLARE_METATYPE(AtNotesPath)

namespace {

const QByteArray oldNotes("old notes\r\nkept whole");

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// `size` bytes of lines of `length` characters, each followed by CR LF.
QByteArray lines(qsizetype size, qsizetype length) {
    return (QByteArray(length, 'x') + "\r\n").repeated(size / (length + 2) + 1).first(size);
}

}  // namespace

class NotesTest : public QObject {
    Q_OBJECT
private slots:
    // What stands at the notes path: a file as this or another program wrote
    // it, a link of the user's, or no file at all. The pad shows the file's
    // text; an unedited save leaves the file byte for byte, an edited one
    // writes UTF-8 with every line break as CR LF; or both are refused, and
    // what stands there stays.
    void whatStandsAtThePath_data() {
        QTest::addColumn<AtNotesPath>("at");
        QTest::addColumn<QString>("linkTo");      // in the program folder
        QTest::addColumn<QByteArray>("content");  // of the file at the path or where the link leads; null: none
        QTest::addColumn<QString>("inPad");       // null: the pad's first text
        QTest::addColumn<QString>("atLoad");      // a phrase of what the load tells; empty: nothing
        QTest::addColumn<QString>("atSave");      // a phrase of what the save tells; empty: it saves
        const auto row = [](const char* name, AtNotesPath at, const char* linkTo, const QByteArray& content,
                            const QString& inPad, const char* atLoad = "", const char* atSave = "") {
            QTest::newRow(name) << at << QString(linkTo) << content << inPad << QString(atLoad) << QString(atSave);
        };
        const auto file = [&](const char* name, const QByteArray& bytes, const QString& text) {
            row(name, AtNotesPath::Nothing, "", bytes, text);
        };
        file("typed text", "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\xC2\xA0<PRE>&amp;\r\n\r\n",
             QString::fromUtf8("Café € 😀\u00a0<PRE>&amp;\n\n"));
        file("Windows-1252", "Caf\xE9 \x80\x93q\x94\r\nna\xEFve \x9F\x8A\x81",
             QString::fromUtf8("Café €“q”\nnaïve ŸŠ\u0081"));
        file("UTF-8 with a stray byte", "caf\xC3\xA9 \xFF\xE9t\xE9", QString::fromUtf8("café ÿété"));
        file("overlong forms and surrogates are no UTF-8", "\xC0\xAF\xC1\xBF\xED\xA0\x80",
             QString::fromUtf8("À¯Á¿í\u00a0€"));
        file("UTF-8 cut off at the end", "abc\xC3", QString::fromUtf8("abcÃ"));
        file("byte-order mark dropped, a second kept", "\xEF\xBB\xBF\xEF\xBB\xBFx", QChar(0xFEFF) + QString("x"));
        file("breaks the pad reads as its own: CR, U+2028, U+2029, U+FDD0, U+FDD1, CR CR LF",
             "a\rb\xE2\x80\xA8" "c\xE2\x80\xA9" "d\xEF\xB7\x90" "e\xEF\xB7\x91" "f\r\r\ng", "a\nb\nc\nd\ne\nf\n\ng");
        file("controls, NUL, NEL, a noncharacter", QByteArray("a\tb\x0B" "c\x0C" "d\x00" "e\xC2\x85\xEF\xBF\xBE", 14),
             QString("a\tb\x0B" "c\x0C" "d") + QChar(0) + QString::fromUtf8("e\u0085\uFFFE"));
        file("the largest file the pad takes, lines of 10,000", lines(largestNotesFile, 10000),
             QString(lines(largestNotesFile, 10000)).replace("\r\n", "\n"));
        row("no file: the first save makes it", AtNotesPath::Nothing, "", {}, {});
        row("a link to nothing: the save makes its file", AtNotesPath::Link, "elsewhere/Notes.txt", {}, {},
            "does not exist. Save makes it.");
        row("a link to a file elsewhere: written there", AtNotesPath::Link, "elsewhere/Notes.txt", oldNotes,
            "old notes\nkept whole");
        row("a link into a missing folder", AtNotesPath::Link, "gone/Notes.txt", {}, {}, "does not exist",
            "the folder %1/gone does not exist");
        row("a folder", AtNotesPath::Folder, "", {}, {}, "it is a folder, not a file", "it is a folder, not a file");
        row("a named pipe, never waited on", AtNotesPath::Pipe, "", {}, {}, "named pipe", "named pipe");
        row("a file too big for the pad", AtNotesPath::Nothing, "", lines(largestNotesFile + 1, 98), "",
            "holds 4.0 MB, more than the pad takes (4 MB)", "too big");
        row("a line too long to edit: shown in pieces", AtNotesPath::Nothing, "", QByteArray(10001, 'x'),
            QString(10000, 'x') + "\nx", "longer than 10,000 characters", "too long");
    }
    void whatStandsAtThePath() {
        QFETCH(AtNotesPath, at);
        QFETCH(QString, linkTo);
        QFETCH(QByteArray, content);
        QFETCH(QString, inPad);
        QFETCH(QString, atLoad);
        QFETCH(QString, atSave);
        TestProgram program;
        const QString path = program.path("Notes.txt"), target = linkTo.isEmpty() ? path : program.path(linkTo);
        QVERIFY(QDir(program.appFolder()).mkdir("elsewhere") && placeAtPath(path, at, target));
        if (!content.isNull()) QVERIFY(writeFile(target, content));
        alarm(20);  // a start that waits on the pipe for ever ends the test
        startWith(program, std::nullopt);
        alarm(0);
        const QStringList told = program.messages.told();
        QVERIFY2(atLoad.isEmpty() ? told.isEmpty() : told.size() == 1 && told[0].contains(atLoad),
                 qPrintable(told.join("\n")));
        QCOMPARE(padNow(program), inPad.isNull() ? QString("Notes\n") : inPad);
        QCOMPARE(pad(program)->isReadOnly(), atSave.startsWith("too"));

        const QStringList before = entries(program.appFolder());
        const QString loaded = padNow(program);
        for (const QString& text : {loaded, loaded + "!"}) {
            save(program, text);
            QCOMPARE(QFileInfo(path).isSymLink(), at == AtNotesPath::Link);
            if (!atSave.isEmpty()) {
                const QString refused = program.messages.told().last();
                QVERIFY2(refused.contains(atSave.arg(program.appFolder())), qPrintable(refused));
                QVERIFY(entries(program.appFolder()) == before && (content.isNull() || fileBytes(target) == content));
            } else if (text == loaded && !content.isNull()) {
                QCOMPARE(fileBytes(target), content);
            } else {
                QCOMPARE(fileBytes(target), (text.startsWith(QChar(0xFEFF)) ? "\xEF\xBB\xBF" : "") +
                                                QString(text).replace("\n", "\r\n").toUtf8());
            }
        }
        QCOMPARE(program.messages.shown.size(), told.size() + (atSave.isEmpty() ? 0 : 2));
    }

    // Another program, or another copy, changed what stands at the notes path
    // between the load and the save, or it could not be read at the start.
    // Save asks, naming where the path leads now: Cancel keeps both texts,
    // Overwrite replaces what the user was told of, and the next save asks nothing.
    void changedSinceLoad_data() {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("asked");  // a phrase of the question; empty: none
        QTest::newRow("another copy saved") << "renamed over" << "has been changed by another program";
        QTest::newRow("another copy saved, the pad as loaded") << "renamed over, unedited" << "has been changed";
        QTest::newRow("another copy saved the same text") << "renamed over, same text" << "has been changed";
        QTest::newRow("another copy saved, and again while asked") << "renamed over, again" << "has been changed";
        QTest::newRow("an editor wrote it in place, same size and time") << "in place" << "has been changed";
        QTest::newRow("touched, not changed") << "touched" << "";
        QTest::newRow("made after a start without a file") << "made" << "has been made by another program";
        QTest::newRow("unreadable at the start") << "was a folder" << "could not be read when Agelark started";
        QTest::newRow("a link to another file appeared") << "link" << "It now leads to %1/elsewhere.txt.";
    }
    void changedSinceLoad() {
        QFETCH(QString, meanwhile);
        QFETCH(QString, asked);
        TestProgram program;
        const QString path = program.path("Notes.txt"), elsewhere = program.path("elsewhere.txt");
        const bool none = meanwhile == "made" || meanwhile == "was a folder";
        if (none) QVERIFY(placeAtPath(path, meanwhile == "made" ? AtNotesPath::Nothing : AtNotesPath::Folder));
        startWith(program, none ? std::nullopt : std::optional(oldNotes));
        struct stat loaded {};
        ::stat(QFile::encodeName(path).constData(), &loaded);
        QTest::qWait(20);  // a later modification time for the touch
        if (meanwhile.startsWith("renamed over") || none) {  // a new file, made before the old one goes
            QVERIFY(writeFile(path + ".new", meanwhile.endsWith("same text") ? oldNotes : "theirs"));
            QDir().rmdir(path);  // the folder that could not be read
            QVERIFY(::rename(qPrintable(path + ".new"), qPrintable(path)) == 0);
        }
        if (meanwhile == "in place" || meanwhile == "touched") {
            QVERIFY(writeFile(path, meanwhile == "touched" ? oldNotes : QByteArray("OLD notes\r\nkept whole")));
            const timespec now{0, UTIME_NOW}, times[2] = {now, meanwhile == "touched" ? now : loaded.st_mtim};
            QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
        }
        if (meanwhile == "link")
            QVERIFY(writeFile(elsewhere, "theirs") && placeAtPath(path, AtNotesPath::Link, elsewhere));
        const QString theirFile = meanwhile == "link" ? elsewhere : path;
        const QByteArray theirs = fileBytes(theirFile);
        const QString mine = meanwhile.endsWith("unedited") ? padNow(program) : "mine";
        program.messages.shown.clear();
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            if (meanwhile.endsWith("again") && program.messages.shown.size() == 2) writeFile(path, "theirs, later");
        };
        save(program, mine);  // answered Cancel
        if (asked.isEmpty()) {
            QVERIFY(fileBytes(path) == "mine" && program.messages.shown.isEmpty());
            return;
        }
        const QString question = program.messages.told().join("\n");
        QVERIFY2(question.startsWith("question: Overwrite: The notes file " + path) &&
                     question.contains(asked.arg(program.appFolder())) && program.messages.shown.size() == 1,
                 qPrintable(question));
        QVERIFY(fileBytes(theirFile) == theirs && padNow(program) == mine);

        program.messages.answers = {true, true};
        save(program, mine);
        const int asks = meanwhile.endsWith("again") ? 3 : 2;
        QCOMPARE(program.messages.shown.size(), asks);
        QCOMPARE(fileBytes(theirFile), QString(mine).replace("\n", "\r\n").toUtf8());
        save(program, "mine, later");  // the file is as this copy left it
        QVERIFY(fileBytes(theirFile) == "mine, later" && program.messages.shown.size() == asks);
    }

    // Other users of the computer, each running as the user they are. In a
    // folder shared by a group, agelark-bob puts a link to a file of
    // agelark-ann's in place of Notes.txt: her Save asks, naming the link, and
    // Overwrite puts her notes in the link's place; her file is never touched.
    // Where Notes.txt is not hers to change, her notes go to her own copy, and
    // she is told so once.
    void otherUsersOfTheComputer_data() {
        QTest::addColumn<QString>("folderOwner");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<QString>("fileOwner");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<QString>("bobLinksTo");   // a file in agelark-ann's home; none: no link
        QTest::addColumn<bool>("whileSheWrites");  // the link comes after her load, else before her start
        QTest::newRow("bob's link to ann's .bashrc, while she writes")
            << "root" << 02775 << "agelark-bob" << 0664 << ".bashrc" << true;
        QTest::newRow("bob's link to ann's missing .bash_aliases, before she starts")
            << "root" << 02775 << "agelark-bob" << 0664 << ".bash_aliases" << false;
        QTest::newRow("sticky shared folder, root's file writable by all")
            << "root" << 01777 << "root" << 0666 << "" << false;
        QTest::newRow("a read-only file in her own folder")
            << "agelark-ann" << 0755 << "agelark-ann" << 0444 << "" << false;
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
        QVERIFY(QDir().mkdir(home) && QDir().mkdir(folder) && copyProgramFolder(folder));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), folder + "/test_notes"));  // what she runs
        QVERIFY(writeFile(home + "/.bashrc", "ann's own") && writeFile(path, "shared notes\r\n"));
        asUser("agelark-ann"), asUser("agelark-bob");
        const auto own = [](const QString& file, const QString& user, int mode) {
            return QProcess::execute("chown", {user + ":agelark-share", file}) == 0 &&
                   ::chmod(qPrintable(file), mode_t(mode)) == 0;
        };
        QVERIFY(own(base.path(), "root", 0755) && own(home, "agelark-ann", 0700) &&
                own(home + "/.bashrc", "agelark-ann", 0644) && own(path, fileOwner, fileMode) &&
                own(folder, folderOwner, folderMode));
        const QStringList link{"ln", "-sf", home + "/" + bobLinksTo, path};
        const auto plant = [&] { QCOMPARE(QProcess::execute("setpriv", asUser("agelark-bob") + link), 0); };
        if (!bobLinksTo.isEmpty() && !whileSheWrites) plant();
        QProcess her;
        her.start("setpriv", asUser("agelark-ann") + QStringList{"env", "HOME=" + home, "TMPDIR=" + home,
                                                                  folder + "/test_notes", "--her-session", folder});
        QTRY_VERIFY_WITH_TIMEOUT(her.canReadLine(), 30000);
        QCOMPARE(her.readLine(), QByteArray("loaded\n"));
        if (!bobLinksTo.isEmpty() && whileSheWrites) plant();
        her.write("go\n");
        QVERIFY(her.waitForFinished(60000) && her.exitCode() == 0);
        const QString told = QString::fromUtf8(her.readAllStandardOutput()).trimmed();
        QVERIFY(fileBytes(home + "/.bashrc") == "ann's own" && !QFileInfo::exists(home + "/.bash_aliases"));
        if (!bobLinksTo.isEmpty()) {
            QVERIFY2(told.count("question") == 1 && told.contains("question: Overwrite: The notes file " + path) &&
                         told.contains("a link, made by agelark-bob, to " + home + "/" + bobLinksTo), qPrintable(told));
            QVERIFY(!QFileInfo(path).isSymLink() && fileBytes(path) == "mine, later");
            return;
        }
        const QString copy = home + "/data/test_notes/Notes.txt";
        QCOMPARE(told, "information: Your notes were saved to your own copy, " + copy + ", because the notes file "
                       "beside the program, " + path + ", is not yours to change. Agelark reads your notes from "
                       "your copy from now on.");
        QVERIFY(fileBytes(copy) == "mine, later" && fileBytes(path) == "shared notes\r\n");
    }

    // A save that fails is told, leaves the old file whole and no new file
    // behind, and keeps the pad; also while another box is open, once it closes.
    void aFailedSaveIsTold_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("reason");
        const QString busy = "another copy of Agelark is saving its notes there right now. "
                             "Wait a moment and save again";
        QTest::newRow("the file-size limit") << "limit" << "File too large";
        QTest::newRow("another copy saving") << "other copy" << busy;
        QTest::newRow("another copy saving, told once Improper Format! is closed") << "other copy, bad date" << busy;
    }
    void aFailedSaveIsTold() {
        QFETCH(QString, how);
        QFETCH(QString, reason);
        TestProgram program;
        const QString path = program.path("Notes.txt");
        startWith(program, oldNotes);
        const QStringList before = entries(program.appFolder());
        const QString mine = (QString(63, 'x') + '\n').repeated(1 << 14);  // 1 MB
        const int other = how == "limit" ? -1 : lockAsAnotherCopy(program.appFolder());
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit lower{how == "limit" ? 4096 : limit.rlim_cur, limit.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lower);
        pad(program)->setPlainText(mine);
        program.click("Form1", "cmdSave");
        if (how.endsWith("bad date")) {
            program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) { program.processEvents(); };
            program.find<QLineEdit>("Form1", "txtCusThen")->setText("someday");
            program.click("Form1", "cmdCustom");
            program.tick("Form1", "Timer24");
        }
        program.processEvents();
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::close(other);
        const QString failed = "warning: Could not save the notes to " + path + ": " + reason;
        const QString first = how.endsWith("bad date") ? "information: Improper Format!\n" : "";
        QCOMPARE(program.messages.told().join("\n"), first + failed);
        QVERIFY(!program.find<Timer>("Form1", "Timer23")->isActive() && program.beep.count == 0);
        QVERIFY(padNow(program) == mine);
        QVERIFY(fileBytes(path) == oldNotes && entries(program.appFolder()) == before);
    }

    // The file is complete on disk before "Working..." starts; the bar climbs
    // 5 a tick to 95, then one confirmation opens at the main window's corner,
    // with the sound.
    void theFileFirstThenOneConfirmation() {
        StartedProgram program;
        program.window("Form1")->move(120, 80);
        save(program, "abc");
        QCOMPARE(fileBytes(program.path("Notes.txt")), QByteArray("abc"));
        for (int step = 1; step <= 19; ++step) program.tick("Form1", "Timer23");
        const auto bar = program.find<QProgressBar>("Form1", "ProgressBar1");
        QVERIFY(bar->value() == 95 && program.text("Form1", "lblWorking") == "Working..." && !program.window("Saved"));
        program.tick("Form1", "Timer23");
        QVERIFY(bar->value() == 0 && program.text("Form1", "lblWorking").isEmpty());
        QVERIFY(program.window("Saved")->isVisible() && program.window("Saved")->pos() == QPoint(120, 80));
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
        const int other = lockAsAnotherCopy(program.appFolder());
        pad(program)->setPlainText("mine");
        program.click("Form1", "cmdSave");
        rebuildNow({.tab = 5, .keepUnsaved = keepUnsaved});
        QTimer::singleShot(100, [&] { ::close(other); });
        program.processEvents();
        QCOMPARE(padNow(program), QString("mine"));
        QCOMPARE(program.find<Timer>("Form1", "Timer23")->isActive(), keepUnsaved);
        save(program, "mine, later");
        QVERIFY(fileBytes(program.path("Notes.txt")) == "mine, later" && program.messages.shown.isEmpty());
    }

    // The program ends at once while the notes thread waits on a file that
    // does not answer: here one that another process holds a write lease on,
    // which holds up whoever opens it until the lease is let go (45 s).
    void theEndDoesNotWaitForAStuckRead() {
        QTemporaryDir folder;
        QVERIFY(copyProgramFolder(folder.path()));
        const int held = ::open(QFile::encodeName(folder.filePath("Notes.txt")).constData(), O_RDONLY | O_CLOEXEC);
        ::signal(SIGIO, SIG_IGN);  // the lease's word that someone opens the file
        if (::fcntl(held, F_SETLEASE, F_WRLCK) != 0) QSKIP("no leases on this file system");
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", folder.path());
        program.setProcessEnvironment(environment);
        program.start(folder.filePath("agelark"));
        QTRY_COMPARE_WITH_TIMEOUT(::fcntl(held, F_GETLEASE), F_RDLCK, 20000);  // the program is opening it
        QElapsedTimer took;
        took.start();
        program.terminate();
        QVERIFY(program.waitForFinished(20000) && program.exitCode() == 0);
        QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));
        ::close(held);
    }

    // The real question box: Cancel is the default, for Enter as for Escape.
    void theQuestionBoxDefaultsToCancel() {
        QWidget parent;
        parent.show();
        QTimer::singleShot(0, [&] {
            auto box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box && box->escapeButton() == box->button(QMessageBox::Cancel));
            QTest::keyClick(box, Qt::Key_Return);
        });
        QVERIFY(!systemMessageBoxes().question(&parent, "Overwrite it?", "Overwrite"));
    }
};

// What agelark-ann does in otherUsersOfTheComputer, in a process of her own:
// she starts, says "loaded" and waits for a line while agelark-bob may act,
// saves twice (Overwrite when asked), and prints what she was told.
int herSession(const QString& folder) {
    TestProgram program(folder);
    qputenv("XDG_DATA_HOME", qgetenv("HOME") + "/data");
    startWith(program, std::nullopt);
    std::puts("loaded");
    std::fflush(stdout);
    char line[8];
    if (!std::fgets(line, sizeof line, stdin)) return 1;
    program.messages.answers = {true};
    for (const char* text : {"mine", "mine, later"}) save(program, text);
    std::puts(qPrintable(program.messages.told().join("\n")));
    return 0;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 2 && qstrcmp(argv[1], "--her-session") == 0) return herSession(QString::fromLocal8Bit(argv[2]));
    app.setAttribute(Qt::AA_Use96Dpi, true);
    NotesTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_notes.moc"
