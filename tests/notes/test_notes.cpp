// The notes pad, one row per way of losing text or of being attacked.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <cstdio>
#include <iostream>
#include <tuple>

#include "notes/notes_file.h"
#include "notes/notes_pad.h"
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
    QString typed;                 // typed before Save
    int otherCopyMs = 0;           // how long another copy holds the folder's lock while Save waits; -1: too long
    rlim_t fileSizeLimit = RLIM_INFINITY;
    bool recovered = false;        // a recovery copy in the user's data folder at the start, %2 in `says`
    const char* meanwhile = "";  // the button pressed while Save waits, a bad date typed
    QStringList says;            // a phrase of each box, in order; %1: the program folder
    bool writes = false;         // Save writes the pad's text; else the file stays as it is
    int asks = 0;                // questions until Overwrite has written the pad's text; -1: Save refuses
};

// agelark-ann runs the program from the folder $S, in $B (root's, group agelark-share, setgid, the group may
// write); her home is $H. Steps: hers, "start [data folder]", "save TEXT", "quit TEXT" (Save, and the program
// ends at once); a shell command of "ann", "bob" or "root" (which must succeed).
struct Shared {
    const char* owner;  // of $S and its Notes.txt
    int folderMode, fileMode;
    QStringList steps;
    QStringList says;   // a phrase of each box she is shown, in order
    QString holds;      // the file that ends up holding her last text ("*": any name); empty: none
    int mode = 0;       // its permissions; 0: not looked at
};

const QByteArray fourMB = (QByteArray(10000, 'x') + "\r\n").repeated(400).first(largestNotesFile);

// What a folder holds, the lock that saves take there aside.
QStringList entries(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
    names.removeAll(".Notes.txt.lock");
    return names;
}

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
        QTest::newRow("a named pipe, never waited on")
            << Case{.at = Pipe, .says = {"pipe (FIFO), not an ordinary file.\n\nSave cannot", "pipe"}, .asks = -1};
        QTest::newRow("a folder")
            << Case{.at = Folder, .says = {"not a file.\n\nSave cannot", "not a file"}, .asks = -1};
        QTest::newRow("more than the pad takes, refused")
            << Case{.content = fourMB, .inPad = QString(fourMB).remove('\r'), .typed = "!",
                    .says = {"4.0 MB, more than"}, .asks = -1};
        QTest::newRow("a line too long for the pad, refused")
            << Case{.typed = "\n" + QString(10001, 'y'), .says = {"a line of 10,001 characters"}, .asks = -1};
        QTest::newRow("a recovery copy, told at the start") << Case{.recovered = true, .says = {"kept in %2."}};
        QTest::newRow("no file: the save makes it") << Case{.at = Nothing, .writes = true};
        const auto changed = [](const Change& change, int asks) {
            return Case{.change = change, .says = {"%1/Notes.txt has been changed"}, .asks = asks};
        };
        QTest::newRow("another copy saved, and again while asked") << changed(written("theirs"), 3);
        QTest::newRow("another copy saved the same text") << changed(written("Notes\r\n"), 3);
        QTest::newRow("an editor wrote it in place") << changed(written("NOTES\r\n", true), 2);
        QTest::newRow("made after a start without a file")
            << Case{.at = Nothing, .change = written("theirs"), .says = {"%1/Notes.txt has been made"}, .asks = 3};
        QTest::newRow("a bad date while asked, told after the answer") << Case{
            .change = written("theirs"), .meanwhile = "cmdCustom", .says = {"has been changed", "Improper"}, .asks = 3};
        QTest::newRow("a file too big for the pad put in its place") << Case{
            .change = written(fourMB + "x"), .says = {"it now holds 4.0 MB, more than the pad takes"}, .asks = -1};
        QTest::newRow("a link to another file appeared")
            << Case{.linkTo = "elsewhere/Notes.txt", .content = "theirs", .change = link,
                    .says = {"now leads to %1/elsewhere/Notes.txt"}, .asks = 2};
        QTest::newRow("the file-size limit") << Case{.typed = "!", .fileSizeLimit = 4, .says = {"File too large"}};
        QTest::newRow("another copy saving, told once Improper Format! is closed")
            << Case{.typed = "!", .otherCopyMs = -1, .meanwhile = "cmdCustom",
                    .says = {"Improper Format!", "another copy of Agelark is saving"}};
        QTest::newRow("a bad date while another copy saves, keeping the text") << Case{
            .typed = "!", .otherCopyMs = 100, .meanwhile = "cmdCustom", .says = {"Improper Format!"}, .writes = true};
        QTest::newRow("Reset while another copy saves, reading the file again")
            << Case{.typed = "!", .otherCopyMs = 100, .meanwhile = "cmdReset", .writes = true};
    }
    void aSave() {
        QFETCH(Case, row);
        TestProgram program;
        const QString path = program.path("Notes.txt"), target = row.linkTo ? program.path(row.linkTo) : path;
        QVERIFY(QDir(program.appFolder()).mkdir("elsewhere") && placeAtPath(path, row.at, target));
        QVERIFY(row.content.isNull() || writeFile(target, row.content));
        const QString kept = row.recovered ? keepRecoveryCopy("lost words") : QString();
        program.start();
        program.processEvents();
        QCOMPARE(padNow(program), row.inPad.isNull() ? QString("Notes\n") : row.inPad);
        if (row.change) row.change(path);
        const QString mine = padNow(program) + row.typed;
        const QByteArray theirs = QFileInfo(target).isFile() ? fileBytes(target) : QByteArray();  // no pipe opened
        const QStringList before = entries(program.appFolder());
        int questions = 0;
        const auto tick = [&] {
            if (QString(row.meanwhile) == "cmdCustom") program.tick();
        };
        program.messages.whileOpen = [&](auto& box) {
            program.processEvents();  // a save under way ends meanwhile
            if (!box.kind.startsWith("question")) return;
            if (++questions == 1) tick();  // with a change to ask about, the bad date ticks while the user is asked
            if (questions == 2) row.change(path);
        };
        const int other = row.otherCopyMs ? lockAsAnotherCopy(program.appFolder()) : -1;
        if (row.otherCopyMs > 0) QTimer::singleShot(row.otherCopyMs, [&] { ::close(other); });
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY}, limit{row.fileSizeLimit, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        save(program, mine, [&] {  // answered Cancel when asked
            program.find<QLineEdit>("Form1", "txtCusThen")->setText("someday");  // a bad date, for cmdCustom
            if (*row.meanwhile) program.click("Form1", row.meanwhile);
            if (!row.change) tick();
        });
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        if (row.otherCopyMs < 0) ::close(other);
        const QStringList boxes = program.messages.told();
        QVERIFY2(std::equal(boxes.begin(), boxes.end(), row.says.begin(), row.says.end(), [&](auto& box, auto& phrase) {
                     return box.contains(QString(phrase).replace("%1", program.appFolder()).replace("%2", kept));
                 }), qPrintable(boxes.join("\n")));
        QCOMPARE(padNow(program), mine);
        if (row.writes) QCOMPARE(fileBytes(target), QString(mine).replace("\n", "\r\n").toUtf8());
        else QVERIFY(entries(program.appFolder()) == before && (theirs.isNull() || fileBytes(target) == theirs));

        if (row.asks < 0) return;
        program.messages.answers = {0, 0};
        if (row.asks) save(program, mine);
        QVERIFY(!row.asks || fileBytes(target) == "Notes\r\n");
        save(program, "mine, later");
        QVERIFY(fileBytes(target) == "mine, later" && questions == row.asks);
    }

    // Other users of the computer, as themselves: nothing of hers is written through a link of agelark-bob's,
    // made his or open to him; nothing waits on him; her last text ends up in a file of hers, told.
    void otherUsersOfTheComputer_data() {
        QTest::addColumn<Shared>("row");
        const QString start = "start", save = "save mine", quit = "quit mine, later", own = "$H/data/test_notes/";
        const QString kept = own + "Notes-recovered-*";
        const QString bobLocks = "bob (flock %1 sleep %2 >/dev/null 2>&1 &); sleep .3";
        const QString lease = "bob rm $S/Notes.txt && echo >$S/Notes.txt && (/usr/bin/python3 -c 'import fcntl, os, "
                              "signal, sys, time; signal.signal(signal.SIGIO, signal.SIG_IGN); fcntl.fcntl(os.open("
                              "sys.argv[1], os.O_RDONLY), fcntl.F_SETLEASE, fcntl.F_WRLCK); time.sleep(40)' "
                              "$S/Notes.txt >/dev/null 2>&1 &); sleep 1";
        for (const QString file : {".bashrc", ".bash_aliases"})  // the latter missing
            QTest::newRow(qPrintable("bob's link to her " + file))
                << Shared{"root", 02775, 0664, {start, "bob ln -sf $H/" + file + " $S/Notes.txt", save, quit},
                          {"agelark-bob made, to $H/" + file}, "$S/Notes.txt"};
        for (auto [name, owner, folder, file] : {std::tuple{"sticky shared folder, root's file writable by all", "root",
                                                            01777, 0666},
                                                 {"a read-only file in her own folder", "agelark-ann", 0755, 0444},
                                                 {"a program folder only root may write", "root", 0755, 0644}})
            QTest::newRow(name) << Shared{owner, folder, file, {start, save, quit}, {"own copy, " + own + "Notes.txt"},
                                          own + "Notes.txt", 0644};
        QTest::newRow("bob's locks on her folder and her lock file; her file keeps its 0660") << Shared{
            "agelark-ann", 0755, 0660, {start, save, bobLocks.arg("$S/.Notes.txt.lock", "3 & flock $S sleep 3"), quit},
            {}, "$S/Notes.txt", 0660};
        QTest::newRow("bob's empty folder put in place of hers, neither with notes") << Shared{"root", 02775, 0664,
            {"root rm $S/Notes.txt", start, "bob mv $S $B/old && mkdir -m 2777 $S", save, quit},
            {"replaced since by another, agelark-bob's."}, "$S/Notes.txt", 0644};
        QTest::newRow("bob's folder put in place of hers, his file setuid") << Shared{"root", 02775, 0664,
            {start, "bob mv $S $B/old && mkdir -m 2777 $S && echo >$S/Notes.txt && chmod 6777 $S/Notes.txt", save,
             quit},
            {"replaced since by another, agelark-bob's. The file there is agelark-bob's"}, "$S/Notes.txt", 0644};
        QTest::newRow("bob's link to her home put in place of the folder") << Shared{"root", 02775, 0664,
            {start, "bob mv $S $B/old && ln -s $H $S", save, quit}, {"$S is a link that agelark-bob made, to $H"},
            kept, 0600};
        QTest::newRow("bob's file in place of the notes, under a lease") << Shared{"root", 02775, 0664,
            {start, lease, save, quit}, {"another program holds it open"}, kept, 0600};
        QTest::newRow("bob's link as her data folder in a shared sticky one") << Shared{"root", 0755, 0644,
            {"bob mkdir $B/bobs && echo >$B/bobs/Notes.txt && ln -s $B/bobs $B/xdg/test_notes", "start $B/xdg", save,
             quit, "root test \"$(ls -A $B/bobs)\" = Notes.txt"},
            {"$B/xdg/test_notes is a link that agelark-bob made", "Could not save"}};
        QTest::newRow("bob's folder as her data folder in a shared sticky one") << Shared{"root", 0755, 0644,
            {"bob mkdir -m 777 $B/xdg/test_notes", "start $B/xdg", save, quit,
             "root test -z \"$(ls -A $B/xdg/test_notes)\""},
            {"the folder $B/xdg/test_notes is agelark-bob's, not yours"}};
        QTest::newRow("bob's hold on the group's lock as she quits: waited for") << Shared{"root", 02775, 0664,
            {start, save, bobLocks.arg("$S/.Notes.txt.lock", ".6"), quit}, {}, "$S/Notes.txt"};
        QTest::newRow("bob's hold on the group's lock as she quits: too long") << Shared{"root", 02775, 0664,
            {start, save, bobLocks.arg("$S/.Notes.txt.lock", "3"), quit}, {}, kept, 0600};
        QTest::newRow("a group's folder without the setgid bit: her lock file the group's") << Shared{"root", 0775, 0664,
            {start, save, "bob flock -n $S/.Notes.txt.lock true", quit}, {}, "$S/Notes.txt"};
        QTest::newRow("her leftovers of killed saves removed at the start, bob's kept") << Shared{"root", 02775, 0664,
            {"ann echo >$S/.Notes.txt.0123abcd", "bob echo >$S/.Notes.txt.89abcdef", start,
             "root test ! -e $S/.Notes.txt.0123abcd -a -e $S/.Notes.txt.89abcdef", quit}, {}, "$S/Notes.txt"};
    }
    void otherUsersOfTheComputer() {
        QFETCH(Shared, row);
        if (::geteuid() != 0) QSKIP("needs root, to run as other users");
        QTemporaryDir base;
        const QString home = base.filePath("ann"), folder = base.filePath("srv"), path = folder + "/Notes.txt";
        const auto expand = [&](QString s) {
            return s.replace("$S", folder).replace("$H", home).replace("$B", base.path());
        };
        QVERIFY(QDir().mkdir(home) && QDir().mkdir(folder) && QDir().mkdir(expand("$B/xdg")) &&
                copyProgramFolder(folder));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), folder + "/test_notes"));  // what she runs
        QVERIFY(writeFile(home + "/.bashrc", "ann's own") && writeFile(path, "shared notes\r\n"));
        const auto own = [](const QString& file, const QString& user, int mode) {
            return QProcess::execute("chown", {user + ":agelark-share", file}) == 0 &&
                   ::chmod(qPrintable(file), mode) == 0;
        };
        QVERIFY(own(base.path(), "root", 02775) && own(expand("$B/xdg"), "root", 01777) &&
                own(home, "agelark-ann", 0700) && own(path, row.owner, row.fileMode) &&
                own(folder, row.owner, row.folderMode));
        QProcess her;
        for (QString step : row.steps) {
            step = expand(step);
            const QString who = step.section(' ', 0, 0);
            if (who == "ann" || who == "bob" || who == "root") {
                const QStringList as = who == "root" ? QStringList() : asUser("agelark-" + who);
                QVERIFY2(QProcess::execute("setpriv", as + QStringList{"sh", "-c", step.section(' ', 1)}) == 0,
                         qPrintable(step));
                continue;
            }
            const QStringList session{"env", "HOME=" + home, "TMPDIR=" + base.path(), folder + "/test_notes",
                                      "--her-session", folder};  // her temporary folders in $B, removed whole
            if (who == "start") her.start("setpriv", asUser("agelark-ann") + session);
            her.write((step == "start" ? step + " " + home + "/data" : step).toUtf8() + "\n");
            while (who != "quit" && !her.canReadLine() && her.waitForReadyRead(30000)) {}
            QVERIFY2(who == "quit" || her.readLine() == "done\n", qPrintable(step));
        }
        QVERIFY(her.waitForFinished(30000) && her.exitCode() == 0);
        const QString said = QString::fromUtf8(her.readAllStandardOutput());
        const QRegularExpression box("^(information|warning|question: \\w+): ", QRegularExpression::MultilineOption);
        qsizetype at = 0;
        for (const QString& phrase : row.says) QVERIFY2((at = said.indexOf(expand(phrase), at)) >= 0, qPrintable(said));
        QVERIFY2(said.count(box) == row.says.size(), qPrintable(said));
        const QFileInfo holds(expand(row.holds));
        const QFileInfo file(holds.dir().entryInfoList({holds.fileName()}, QDir::Files).value(0));
        QVERIFY2(row.holds.isEmpty() || fileBytes(file.filePath()) == "mine, later", qPrintable(holds.filePath()));
        struct stat status {};
        QVERIFY(!row.mode || (::lstat(qPrintable(file.filePath()), &status) == 0 &&
                              (status.st_mode & 07777) == mode_t(row.mode) && file.owner() == "agelark-ann"));
        const QStringList inHome = QDir(home).entryList(QDir::Files | QDir::Hidden);  // her caches aside
        QVERIFY2(fileBytes(home + "/.bashrc") == "ann's own" && inHome == QStringList{".bashrc"},
                 qPrintable(inHome.join(" ")));
    }

    // The system's boxes show text as it is, never as markup (a link's target may hold any); a key pressed as
    // a box opens (typed for something else) is not taken, one after half a second is; Enter in a question
    // is Cancel.
    void theBoxesShowPlainTextAndTakeNoKeysAtOnce() {
        Qt::TextFormat format = Qt::AutoText;
        const auto pressEnter = [&] {
            for (int after : {0, 700})
                QTimer::singleShot(after, [&, after] {
                    auto box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    QVERIFY(box);
                    format = after ? format : box->textFormat();
                    QTest::keyClick(box, Qt::Key_Return);
                });
        };
        const QString html = "<h1>Notes are up to date</h1>";
        QElapsedTimer open;
        open.start();
        pressEnter();
        systemMessageBoxes().information(nullptr, html);
        QVERIFY(open.elapsed() >= 500);
        QCOMPARE(format, Qt::PlainText);
        pressEnter();
        systemMessageBoxes().warning(nullptr, html);
        QCOMPARE(format, Qt::PlainText);
        pressEnter();
        QCOMPARE(systemMessageBoxes().question(nullptr, html, {"Overwrite"}), -1);
        QCOMPARE(format, Qt::PlainText);
    }
};

// agelark-ann in a process of her own: she takes the steps of a row, one a line, says "done" after each, answers
// Overwrite whenever asked, and prints what she was told once they end.
int herSession(const QString& folder) {
    ::umask(022);
    static auto program = new TestProgram(folder);  // never destroyed: "quit" ends the program as the user does
    program->messages.answers = QList<int>(9, 0);
    for (std::string line; std::getline(std::cin, line);) {
        const QString step = QString::fromStdString(line), text = step.section(' ', 1);
        if (step.startsWith("start")) {
            qputenv("XDG_DATA_HOME", text.toLocal8Bit());
            program->start();
            program->processEvents();
        } else if (step.startsWith("save")) {
            save(*program, text);
        } else {  // quit: Save, and the windows close while the save is written
            program->pad()->setPlainText(text);
            program->click("Form1", "cmdSave");
            for (const char* window : {"Form1", "Form2", "Saved"}) delete program->window(window);
            break;
        }
        std::puts("done");
        std::fflush(stdout);
    }
    std::puts(qPrintable(program->messages.told().join("\n")));
    return 0;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--her-session") == 0) return herSession(QString::fromLocal8Bit(argv[2]));
    NotesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_notes.moc"
