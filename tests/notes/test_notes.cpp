// The notes pad, one row per way of losing text or of being attacked.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <cstdio>

#include "notes/notes_file.h"
#include "tests/support/notes_files.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

using Change = std::function<void(const QString& path)>;

// What stands at the notes path at the start, what happens around one Save, and what follows.
struct Case {
    AtNotesPath at = AtNotesPath::Notes;
    const char* linkTo = nullptr;  // where a link leads, in the program folder
    QByteArray content;            // of the file at the path or where the link leads; null: none
    QString inPad;                 // what the pad shows; null: its first text
    Change change;                 // what another program does after the load, and again while the user is asked
    bool edited = false;           // "!" typed before Save
    int otherCopyMs = 0;           // how long another copy holds the folder's lock while Save waits; -1: too long
    rlim_t fileSizeLimit = RLIM_INFINITY;
    const char* meanwhile = "";  // the button pressed while Save waits, a bad date typed
    QStringList says;            // a phrase of each box, in order; %1: the program folder
    bool writes = false;         // Save writes the pad's text; else the file stays as it is
    int asks = 0;                // questions until Overwrite has written the pad's text; -1: Save refuses
};

// A program folder shared by a group, and the link agelark-bob puts in place of Notes.txt.
struct Shared {
    const char* owner;  // of the folder and Notes.txt
    int folderMode, fileMode;
    const char* bobLinksTo;  // after her load, to a file in agelark-ann's home; empty: no link
};

const QByteArray fourMB = (QByteArray(10000, 'x') + "\r\n").repeated(400).first(largestNotesFile);


QStringList entries(const QString& folder) { return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden); }

// Another program writing `bytes` in place, or another copy saving them: into a new file renamed over what is there.
Change written(const QByteArray& bytes, bool inPlace = false) {
    return [=](const QString& path) {
        const QString file = inPlace ? path : path + ".new";
        QVERIFY(writeFile(file, bytes) && ::rename(qPrintable(file), qPrintable(path)) == 0);
    };
}

}  // namespace

Q_DECLARE_METATYPE(Case)
Q_DECLARE_METATYPE(Shared)

class NotesTest : public QObject {
    Q_OBJECT
private slots:
    // The pad shows the file's text, which an unedited save leaves byte for byte. What changed since the
    // load is asked about: Cancel keeps it, Overwrite replaces what the user was told of. A failure is
    // told, even while another box is open, and keeps the file. The pad keeps the text; the next save asks nothing.
    void aSave_data() {
        QTest::addColumn<Case>("row");
        using enum AtNotesPath;
        const Change link = [](const QString& path) {
            QVERIFY(placeAtPath(path, Link, QFileInfo(path).path() + "/elsewhere/Notes.txt"));
        };
        QTest::newRow("Windows-1252 and UTF-8 with stray bytes, overlong forms, a surrogate, cut off at the end")
            << Case{.content = "Caf\xE9 \x80\x93q\x94\x81 \xC3\xA9\xF0\x9F\x98\x80 \xC0\xAF\xC1\xBF\xED\xA0\x80 \xC3",
                    .inPad = "Café €“q”\u0081 é😀 À¯Á¿í\u00a0€ Ã"};
        QTest::newRow("breaks the pad reads as its own: CR, U+2028, U+2029, U+FDD0, U+FDD1, CR CR LF")
            << Case{.content = "a\rb\xE2\x80\xA8" "c\xE2\x80\xA9" "d\xEF\xB7\x90" "e\xEF\xB7\x91" "f\r\r\ng",
                    .inPad = "a\nb\nc\nd\ne\nf\n\ng"};
        QTest::newRow("the largest file the pad takes, lines as long as it takes")
            << Case{.content = fourMB, .inPad = QString(fourMB).remove('\r')};
        QTest::newRow("a file too big for the pad")
            << Case{.content = fourMB + "x", .inPad = "", .says = {"%1/Notes.txt holds 4.0 MB", "too big"}, .asks = -1};
        QTest::newRow("a line too long to edit, shown in pieces")
            << Case{.content = QByteArray(10001, 'x'), .inPad = QString(10000, 'x') + "\nx",
                    .says = {"longer than 10,000 characters", "too long"}, .asks = -1};
        QTest::newRow("a named pipe, never waited on") << Case{.at = Pipe, .says = {"pipe", "pipe"}, .asks = -1};
        QTest::newRow("a folder") << Case{.at = Folder, .says = {"not a file", "not a file"}, .asks = -1};
        QTest::newRow("no file: the save makes it") << Case{.at = Nothing, .writes = true};
        const auto changed = [](const Change& change, int asks) {
            return Case{.change = change, .says = {"%1/Notes.txt has been changed"}, .asks = asks};
        };
        QTest::newRow("another copy saved, and again while asked") << changed(written("theirs"), 3);
        QTest::newRow("another copy saved the same text") << changed(written("Notes\r\n"), 3);
        QTest::newRow("an editor wrote it in place") << changed(written("NOTES\r\n", true), 2);
        QTest::newRow("made after a start without a file")
            << Case{.at = Nothing, .change = written("theirs"), .says = {"%1/Notes.txt has been made"}, .asks = 3};
        QTest::newRow("a link to another file appeared")
            << Case{.linkTo = "elsewhere/Notes.txt", .content = "theirs", .change = link,
                    .says = {"now leads to %1/elsewhere/Notes.txt"}, .asks = 2};
        QTest::newRow("the file-size limit") << Case{.edited = true, .fileSizeLimit = 4, .says = {"File too large"}};
        QTest::newRow("another copy saving, told once Improper Format! is closed")
            << Case{.edited = true, .otherCopyMs = -1, .meanwhile = "cmdCustom",
                    .says = {"Improper Format!", "another copy of Agelark is saving"}};
        QTest::newRow("a bad date while another copy saves, keeping the text") << Case{
            .edited = true, .otherCopyMs = 100, .meanwhile = "cmdCustom", .says = {"Improper Format!"}, .writes = true};
        QTest::newRow("Reset while another copy saves, reading the file again")
            << Case{.edited = true, .otherCopyMs = 100, .meanwhile = "cmdReset", .writes = true};
    }
    void aSave() {
        QFETCH(Case, row);
        TestProgram program;
        const QString path = program.path("Notes.txt"), target = row.linkTo ? program.path(row.linkTo) : path;
        QVERIFY(QDir(program.appFolder()).mkdir("elsewhere") && placeAtPath(path, row.at, target));
        QVERIFY(row.content.isNull() || writeFile(target, row.content));
        program.start();
        program.processEvents();
        QCOMPARE(padNow(program), row.inPad.isNull() ? QString("Notes\n") : row.inPad);
        if (row.change) row.change(path);
        const QString mine = padNow(program) + (row.edited ? "!" : "");
        const QByteArray theirs = QFileInfo(target).isFile() ? fileBytes(target) : QByteArray();  // no pipe opened
        const QStringList before = entries(program.appFolder());
        int questions = 0;
        program.messages.whileOpen = [&](auto& box) {
            program.processEvents();  // a save under way ends meanwhile
            if (box.kind.startsWith("question") && ++questions == 2) row.change(path);
        };
        const int other = row.otherCopyMs ? lockAsAnotherCopy(program.appFolder()) : -1;
        if (row.otherCopyMs > 0) QTimer::singleShot(row.otherCopyMs, [&] { ::close(other); });
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY}, limit{row.fileSizeLimit, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        save(program, mine, [&] {  // answered Cancel when asked
            program.find<QLineEdit>("Form1", "txtCusThen")->setText("someday");  // a bad date, for cmdCustom
            if (*row.meanwhile) program.click("Form1", row.meanwhile);
            if (QString(row.meanwhile) == "cmdCustom") program.tick();
        });
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        if (row.otherCopyMs < 0) ::close(other);
        const QStringList boxes = program.messages.told();
        QVERIFY2(std::equal(boxes.begin(), boxes.end(), row.says.begin(), row.says.end(), [&](auto& box, auto& phrase) {
                     return box.contains(QString(phrase).replace("%1", program.appFolder()));
                 }), qPrintable(boxes.join("\n")));
        QCOMPARE(padNow(program), mine);
        if (row.writes) QCOMPARE(fileBytes(target), QString(mine).replace("\n", "\r\n").toUtf8());
        else QVERIFY(entries(program.appFolder()) == before && (theirs.isNull() || fileBytes(target) == theirs));

        if (row.asks < 0) return;
        program.messages.answers = {true, true};
        if (row.asks) save(program, mine);
        QVERIFY(!row.asks || fileBytes(target) == "Notes\r\n");
        save(program, "mine, later");
        QVERIFY(fileBytes(target) == "mine, later" && questions == row.asks);
    }

    // Other users, as themselves: agelark-bob's link to a file of agelark-ann's is never written through (her
    // Save asks, naming it); where Notes.txt is not hers to change, her notes go to her own copy, told once.
    void otherUsersOfTheComputer_data() {
        QTest::addColumn<Shared>("row");
        QTest::newRow("bob's link to ann's .bashrc") << Shared{"root", 02775, 0664, ".bashrc"};
        QTest::newRow("bob's link to ann's missing .bash_aliases") << Shared{"root", 02775, 0664, ".bash_aliases"};
        QTest::newRow("sticky shared folder, root's file writable by all") << Shared{"root", 01777, 0666, ""};
        QTest::newRow("a read-only file in her own folder") << Shared{"agelark-ann", 0755, 0444, ""};
        QTest::newRow("a program folder only root may write") << Shared{"root", 0755, 0644, ""};
    }
    void otherUsersOfTheComputer() {
        QFETCH(Shared, row);
        if (::geteuid() != 0) QSKIP("needs root, to run as other users");
        QTemporaryDir base;
        const QString home = base.filePath("ann"), folder = base.filePath("srv"), path = folder + "/Notes.txt";
        QVERIFY(QDir().mkdir(home) && QDir().mkdir(folder) && copyProgramFolder(folder));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), folder + "/test_notes"));  // what she runs
        QVERIFY(writeFile(home + "/.bashrc", "ann's own") && writeFile(path, "shared notes\r\n"));
        const QStringList ann = asUser("agelark-ann"), bob = asUser("agelark-bob");
        const auto own = [](const QString& file, const QString& user, int mode) {
            return QProcess::execute("chown", {user + ":agelark-share", file}) == 0 &&
                   ::chmod(qPrintable(file), mode) == 0;
        };
        QVERIFY(own(base.path(), "root", 0755) && own(home, "agelark-ann", 0700) &&
                own(path, row.owner, row.fileMode) && own(folder, row.owner, row.folderMode));
        const QString victim = home + "/" + row.bobLinksTo;
        QProcess her;
        her.start("setpriv", ann + QStringList{"env", "HOME=" + home, "TMPDIR=" + home, folder + "/test_notes",
                                               "--her-session", folder});
        QVERIFY(her.waitForReadyRead(30000) && her.readLine() == "loaded\n");
        if (*row.bobLinksTo) QCOMPARE(QProcess::execute("setpriv", bob + QStringList{"ln", "-sf", victim, path}), 0);
        her.write("go\n");
        QVERIFY(her.waitForFinished(60000) && her.exitCode() == 0);
        const QString said = QString::fromUtf8(her.readAllStandardOutput()).trimmed();
        QVERIFY(fileBytes(home + "/.bashrc") == "ann's own" && !QFileInfo::exists(home + "/.bash_aliases"));
        const QString copy = home + "/data/test_notes/Notes.txt", written = *row.bobLinksTo ? path : copy;
        const QString named = *row.bobLinksTo ? "agelark-bob, to " + victim : "own copy, " + copy;
        QVERIFY2(said.count("question: ") + said.count("information: ") == 1 && said.contains(named), qPrintable(said));
        QVERIFY(fileBytes(written) == "mine, later" && (written == path || fileBytes(path) == "shared notes\r\n"));
    }

    // The program ends at once while the notes thread waits on a file that does not answer: here one with
    // another process's write lease, which holds up whoever opens it until the lease is let go (45 s).
    void theEndDoesNotWaitForAStuckRead() {
        QTemporaryDir folder;
        QVERIFY(copyProgramFolder(folder.path()));
        const int held = ::open(qPrintable(folder.filePath("Notes.txt")), O_RDONLY | O_CLOEXEC);
        ::signal(SIGIO, SIG_IGN);  // the lease's word that someone opens the file
        if (::fcntl(held, F_SETLEASE, F_WRLCK) != 0) QSKIP("no leases on this file system");
        QProcess program;
        program.setEnvironment(QStringList{"XDG_DATA_HOME=" + folder.path()} + QProcess::systemEnvironment());
        program.start(folder.filePath("agelark"));
        QTRY_COMPARE_WITH_TIMEOUT(::fcntl(held, F_GETLEASE), F_RDLCK, 20000);  // the program is opening it
        program.terminate();
        QVERIFY(program.waitForFinished(5000) && program.exitCode() == 0);
        ::close(held);
    }
};

// agelark-ann in a process of her own: she starts, says so and waits for a line while agelark-bob may act,
// saves twice (Overwrite when asked), and prints what she was told.
int herSession(const QString& folder) {
    TestProgram program(folder);
    qputenv("XDG_DATA_HOME", qgetenv("HOME") + "/data");
    program.start();
    program.processEvents();
    std::puts("loaded");
    std::fflush(stdout);
    if (std::getchar() == EOF) return 1;
    program.messages.answers = {true};
    for (const char* text : {"mine", "mine, later"}) save(program, text);
    std::puts(qPrintable(program.messages.told().join("\n")));
    return 0;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--her-session") == 0) return herSession(QString::fromLocal8Bit(argv[2]));
    NotesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_notes.moc"
