// The notes pad, one row per way of losing text or of being attacked.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDateTime>
#include <QMessageBox>
#include <QProcess>
#include <iostream>
#include <tuple>

#include "notes/notes_file.h"
#include "tests/support/notes_files.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

// What stands at the notes path at the start, what happens around one Save, and what follows.
struct Case {
    const char* at = "true";       // a shell command run in the program folder first
    QByteArray content;            // of Notes.txt; null: as the program folder has it
    QString inPad;                 // what the pad shows; null: its first text
    const char* change = nullptr;  // what another program does there after the load, and again while the user is asked
    QString typed;                 // typed before Save
    int otherCopyMs = 0;           // how long another copy holds the folder's lock while Save waits; -1: too long
    rlim_t fileSizeLimit = RLIM_INFINITY;
    const char* meanwhile = "";  // the button pressed while Save waits, a bad date typed
    QStringList says;            // a phrase of each box, in order; %1: the program folder
    bool writes = false;         // Save writes the pad's text; else the file stays as it is
    int asks = 0;                // questions until Overwrite has written the pad's text; -1: Save refuses
};

// agelark-ann runs the program from $S in $B (root's, setgid, group agelark-share may write); her home is $H. Steps:
// hers ("start [data folder]", "save TEXT", "quit TEXT": Save, and the program ends) or a shell command of "ann",
// "bob" or "root" (which must succeed).
struct Shared {
    QStringList steps;
    QStringList says;   // a phrase of each box she is shown, in order
    QString holds;      // the file that ends up holding her last text, hers ("*": any name); empty: none
    int mode = 0644;    // its permissions
    const char* owner = "root";  // of $S and its Notes.txt
    int folderMode = 02775, fileMode = 0664;
};

const QByteArray fourMB = (QByteArray(10000, 'x') + "\r\n").repeated(400).first(largestNotesFile);

// Runs the shell `command` as `user` (empty: this one); whether it succeeded.
bool shell(const QString& command, const QString& user = {}) {
    const QStringList as{"--reuid", user, "--regid", user, "--init-groups"};
    return QProcess::execute("setpriv", (user.isEmpty() ? QStringList() : as) + QStringList{"sh", "-c", command}) == 0;
}

// The pad given `text`, then Save Changes, `meanwhile`, and the event loop until what follows has come.
void save(TestProgram& program, const QString& text, const std::function<void()>& meanwhile = {}) {
    program.pad()->setPlainText(text);
    program.click("Form1", "cmdSave");
    if (meanwhile) meanwhile();
    program.processEvents();
}

}  // namespace

Q_DECLARE_METATYPE(Case)
Q_DECLARE_METATYPE(Shared)

class NotesTest : public QObject {
    Q_OBJECT
private slots:
    // The pad shows the file's text, kept byte for byte by an unedited save. A change since the load is asked about:
    // Cancel keeps it, Overwrite replaces what was told. A failure is told and keeps the file; the pad keeps the text.
    void aSave_data() {
        QTest::addColumn<Case>("row");
        const auto row = [](const char* name, const Case& c) { QTest::newRow(name) << c; };
        row("Windows-1252 and UTF-8: stray bytes, a mark, overlong forms, a surrogate, cut off at the end",
            {.content = "Caf\xE9 \x80\x93q\x94\x81\xEF\xBB\xBF \xC3\xA9\xF0\x9F\x98\x80 \xC0\xAF\xC1\xBF"
                        "\xED\xA0\x80 \xC3", .inPad = "Café €“q”\u0081\uFEFF é😀 À¯Á¿í\u00a0€ Ã"});
        row("breaks the pad reads as its own: CR, U+2028, U+2029, U+FDD0, U+FDD1, CR CR LF",
            {.content = "a\rb\xE2\x80\xA8" "c\xE2\x80\xA9" "d\xEF\xB7\x90" "e\xEF\xB7\x91" "f\r\r\ng",
             .inPad = "a\nb\nc\nd\ne\nf\n\ng"});
        row("the largest file the pad takes, lines as long as it takes; a character more refused at Save",
            {.content = fourMB, .inPad = QString(fourMB).remove('\r'), .typed = "!", .says = {"4.0 MB, more than"},
             .asks = -1});
        row("a file too big for the pad",
            {.content = fourMB + "x", .inPad = "", .says = {"%1/Notes.txt holds 4.0 MB", "too big"}, .asks = -1});
        row("a line too long to edit, shown in pieces", {.content = QByteArray(10001, 'x'), .inPad = QString(10000, 'x')
            + "\nx", .says = {"longer than 10,000 characters", "too long"}, .asks = -1});
        row("a named pipe, never waited on", {.at = "rm Notes.txt && mkfifo Notes.txt",
            .says = {"pipe (FIFO), not an ordinary file.\n\nSave cannot", "pipe"}, .asks = -1});
        row("a folder", {.at = "rm Notes.txt && mkdir Notes.txt",
                         .says = {"not a file.\n\nSave cannot", "not a file"}, .asks = -1});
        row("a line too long for the pad, refused",
            {.typed = "\n" + QString(10001, 'y'), .says = {"a line of 10,001 characters"}, .asks = -1});
        row("a recovery copy, told at the start", {.at = "cd $XDG_DATA_HOME && mkdir test_notes && echo "
            ">test_notes/Notes-recovered-1.txt", .says = {"/test_notes/Notes-recovered-1.txt. Take"}});
        row("no file: the save makes it", {.at = "rm Notes.txt", .writes = true});
        const char* theirs = "printf theirs >new && mv new Notes.txt";  // another copy's save: a new file renamed
        row("another copy saved, and again while asked; a bad date meanwhile told after the answer", {.change = theirs,
            .meanwhile = "cmdCustom", .says = {"%1/Notes.txt has been changed", "Improper"}, .asks = 3});
        row("another copy saved the same text",
            {.change = "printf 'Notes\\r\\n' >new && mv new Notes.txt", .says = {"has been changed"}, .asks = 3});
        row("an editor wrote it in place",
            {.change = "printf 'NOTES\\r\\n' >Notes.txt", .says = {"has been changed"}, .asks = 2});
        row("made after a start without a file",
            {.at = "rm Notes.txt", .change = theirs, .says = {"%1/Notes.txt has been made"}, .asks = 3});
        row("a file too big for the pad put in its place",
            {.change = "head -c 4000001 /dev/zero >new && mv new Notes.txt", .says = {"now holds 4.0 MB"}, .asks = -1});
        row("a link to another file appeared", {.at = "mkdir other && printf x >other/Notes.txt",
            .change = "ln -sf other/Notes.txt Notes.txt", .says = {"now leads to %1/other/Notes.txt"}, .asks = 2});
        row("the file-size limit", {.typed = "!", .fileSizeLimit = 4, .says = {"File too large"}});
        row("another copy saving, told once Improper Format! is closed", {.typed = "!", .otherCopyMs = -1,
            .meanwhile = "cmdCustom", .says = {"Improper Format!", "another copy of Agelark is saving"}});
        row("a bad date while another copy saves, keeping the text",
            {.typed = "!", .otherCopyMs = 100, .meanwhile = "cmdCustom", .says = {"Improper Format!"}, .writes = true});
        row("Reset while another copy saves, reading the file again",
            {.typed = "!", .otherCopyMs = 100, .meanwhile = "cmdReset", .writes = true});
    }
    void aSave() {
        QFETCH(Case, row);
        TestProgram program;
        const QString path = program.path("Notes.txt"), in = "cd " + program.appFolder() + " && ";
        // The lock file that saves take there made at once: a save that writes nothing leaves the folder as it was.
        QVERIFY(shell(in + "touch .Notes.txt.lock && " + row.at));
        QVERIFY(row.content.isNull() || writeFile(path, row.content));
        program.start();
        program.processEvents();
        QCOMPARE(padNow(program), row.inPad.isNull() ? QString("Notes\n") : row.inPad);
        const auto change = [&] { QVERIFY(!row.change || shell(in + row.change)); };
        change();
        const QString mine = padNow(program) + row.typed;
        const QByteArray theirs = QFileInfo(path).isFile() ? fileBytes(path) : QByteArray();  // no pipe opened
        const QStringList before = QDir(program.appFolder()).entryList(QDir::AllEntries | QDir::Hidden);
        int questions = 0;
        const auto tick = [&] { if (QString(row.meanwhile) == "cmdCustom") program.tick(); };
        program.messages.whileOpen = [&](auto& box) {
            program.processEvents();  // a save under way ends meanwhile
            if (!box.kind.startsWith("question")) return;
            if (++questions == 1) tick();  // with a change to ask about, the bad date ticks while the user is asked
            if (questions == 2) change();
        };
        const int other = ::open(qPrintable(program.path(".Notes.txt.lock")), O_RDONLY | O_CLOEXEC);
        QVERIFY(!row.otherCopyMs || ::flock(other, LOCK_EX) == 0);  // as another copy saving there
        if (row.otherCopyMs > 0) QTimer::singleShot(row.otherCopyMs, [&] { ::close(other); });
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY}, limit{row.fileSizeLimit, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        save(program, mine, [&] {  // answered Cancel when asked
            program.find<QLineEdit>("Form1", "txtCusThen")->setText("someday");  // a bad date, for cmdCustom
            if (*row.meanwhile) program.click("Form1", row.meanwhile);
            if (!row.change) tick();
        });
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        if (row.otherCopyMs <= 0) ::close(other);
        const QStringList boxes = program.messages.told();
        QVERIFY2(std::equal(boxes.begin(), boxes.end(), row.says.begin(), row.says.end(), [&](auto& box, auto& phrase) {
                     return box.contains(QString(phrase).replace("%1", program.appFolder()));
                 }), qPrintable(boxes.join("\n")));
        QCOMPARE(padNow(program), mine);
        if (row.writes) QCOMPARE(fileBytes(path), QString(mine).replace("\n", "\r\n").toUtf8());
        else QVERIFY(QDir(program.appFolder()).entryList(QDir::AllEntries | QDir::Hidden) == before &&
                     (theirs.isNull() || fileBytes(path) == theirs));

        if (row.asks < 0) return;
        program.messages.answers = {0, 0};
        if (row.asks) save(program, mine);
        QVERIFY(!row.asks || fileBytes(path) == "Notes\r\n");
        save(program, "mine, later");
        QVERIFY(fileBytes(path) == "mine, later" && questions == row.asks);
    }

    // Other users of the computer, as themselves: nothing of hers is written through a link of agelark-bob's, made his
    // or open to him; nothing waits on him; her last text ends up in a file of hers, told.
    void otherUsersOfTheComputer_data() {
        QTest::addColumn<Shared>("row");
        const auto row = [](const char* name, const Shared& r) { QTest::newRow(name) << r; };
        const QString start = "start $H/data", save = "save mine", quit = "quit mine, later";
        const QString own = "$H/data/test_notes/", kept = own + "Notes-recovered-*", notes = "$S/Notes.txt";
        const QString bobLocks = "bob (flock $S/.Notes.txt.lock sleep %1 >/dev/null 2>&1 &); sleep .3";
        const QString lease = "bob rm $S/Notes.txt && echo >$S/Notes.txt && (python3 -c 'import fcntl,os,signal,time;"
                              "signal.signal(signal.SIGIO,signal.SIG_IGN);fcntl.fcntl(os.open(\"$S/Notes.txt\",0),"
                              "fcntl.F_SETLEASE,fcntl.F_WRLCK);time.sleep(40)' >/dev/null 2>&1 &); sleep 1";
        for (const QString file : {".bashrc", ".bash_aliases"})  // the latter missing
            row(qPrintable("bob's link to her " + file),
                {{start, "bob ln -sf $H/" + file + " $S/Notes.txt", save, quit}, {"agelark-bob made, to $H/" + file},
                 notes});
        row("bob's link to her .bash_aliases as the lock file",
            {{start, "bob ln -s $H/.bash_aliases $S/.Notes.txt.lock", save, quit}, {"its lock file"}, kept, 0600});
        for (auto [name, owner, folder, file] : {std::tuple{"sticky shared folder, root's file writable by all", "root",
                                                            01777, 0666},
                                                 {"a read-only file in her own folder", "agelark-ann", 0755, 0444},
                                                 {"a program folder only root may write", "root", 0755, 0644}})
            row(name, {{start, save, quit}, {"own copy, " + own + "Notes.txt"}, own + "Notes.txt", 0644, owner, folder,
                       file});
        row("bob's locks on her folder and her lock file; her file keeps its 0660, not its setgid bit",
            {{start, save, bobLocks.arg("3 & flock $S sleep 3"), quit}, {}, notes, 0660, "agelark-ann", 0755, 02660});
        row("bob's empty folder put in place of hers, neither with notes",
            {{"root rm $S/Notes.txt", start, "bob mv $S $B/old && mkdir -m 2777 $S", save, quit},
             {"replaced since by another, agelark-bob's."}, notes});
        row("bob's folder put in place of hers after her save, his file setuid",
            {{start, save, "bob mv $S $B/old && mkdir -m 2777 $S && echo >$S/Notes.txt && chmod 6777 $S/Notes.txt",
              save, quit}, {"replaced since by another, agelark-bob's. The file there is agelark-bob's"}, notes});
        row("bob's link to her home put in place of the folder",
            {{start, "bob mv $S $B/old && ln -s $H $S", save, quit}, {"$S is a link that agelark-bob made, to $H"},
             kept, 0600});
        row("bob's file in place of the notes, under a lease",
            {{start, lease, save, quit}, {"another program holds it open"}, kept, 0600});
        row("bob's link as her data folder in a shared sticky one",
            {{"bob mkdir $B/bobs && echo >$B/bobs/Notes.txt && ln -s $B/bobs $B/xdg/test_notes", "start $B/xdg", save,
              quit, "root test \"$(ls -A $B/bobs)\" = Notes.txt"},
             {"$B/xdg/test_notes is a link that agelark-bob made", "Could not save"}, {}, 0, "root", 0755, 0644});
        row("bob's folder as her data folder in a shared sticky one",
            {{"bob mkdir -m 777 $B/xdg/test_notes", "start $B/xdg", save, quit,
              "root test -z \"$(ls -A $B/xdg/test_notes)\""},
             {"the folder $B/xdg/test_notes is agelark-bob's, not yours"}, {}, 0, "root", 0755, 0644});
        row("bob's hold on the group's lock as she quits, in a folder without the setgid bit: waited for",
            {{start, save, "bob flock -n $S/.Notes.txt.lock true", bobLocks.arg(".6"), quit}, {}, notes, 0644, "root",
             0775});
        row("her leftovers of killed saves removed at the start; bob's kept, and her files of names like them",
            {{"ann echo >$S/.Notes.txt.0123abcd", "bob echo >$S/.Notes.txt.89abcdef",
              "ann cd $S && for f in .Notes.txt.0123ABCD .Notes.txt.0123abcd0 .Notes.txt-0123abcd; do echo >$f; done",
              start,
              "root cd $S && test ! -e .Notes.txt.0123abcd && ls .Notes.txt.89abcdef .Notes.txt.0123ABCD "
              ".Notes.txt.0123abcd0 .Notes.txt-0123abcd",
              quit}, {}, notes});
    }
    void otherUsersOfTheComputer() {
        QFETCH(Shared, row);
        if (::geteuid() != 0) QSKIP("needs root, to run as other users");
        QTemporaryDir base;
        const QString home = base.filePath("ann"), folder = base.filePath("srv");
        const auto expand = [&](QString s) {
            return s.replace("$S", folder).replace("$H", home).replace("$B", base.path());
        };
        // The users made once (no home, no login; under a lock, as tests run at once); her program, folder and home.
        QVERIFY(shell(expand("flock /etc/passwd sh -c 'for u in ann bob; do getent passwd agelark-$u >/dev/null || { "
                             "groupadd -f agelark-share && useradd -rM -d /nonexistent -s /usr/sbin/nologin -G "
                             "agelark-share agelark-$u; }; done' && mkdir $H $S $B/xdg && cp -a %1/. $S && cp %2 "
                             "$S/test_notes && printf \"ann's own\" >$H/.bashrc && printf 'shared notes\\r\\n' "
                             ">$S/Notes.txt && chgrp agelark-share $B && chown agelark-ann $H && chown "
                             "%3:agelark-share $S $S/Notes.txt && chmod 2775 $B && chmod 1777 $B/xdg && chmod 700 $H "
                             "&& chmod %4 $S && chmod %5 $S/Notes.txt")
                          .arg(AGELARK_BUILT_APP_DIR, QCoreApplication::applicationFilePath(), row.owner,
                               QString::number(row.folderMode, 8), QString::number(row.fileMode, 8))));
        QProcess her;  // her temporary folders in $B, removed whole
        her.start("setpriv", {"--reuid=agelark-ann", "--regid=agelark-ann", "--init-groups", "env", "HOME=" + home,
                              "TMPDIR=" + base.path(), folder + "/test_notes", "--her-session", folder});
        for (QString step : row.steps) {
            const QString who = (step = expand(step)).section(' ', 0, 0);
            if (who == "ann" || who == "bob" || who == "root") {
                QVERIFY2(shell(step.section(' ', 1), who == "root" ? "" : "agelark-" + who), qPrintable(step));
            } else if (her.write(step.toUtf8() + "\n") && who != "quit") {
                while (!her.canReadLine() && her.waitForReadyRead(30000)) {}
                QVERIFY2(her.readLine() == "done\n", qPrintable(step));
            }
        }
        QVERIFY(her.waitForFinished(30000) && her.exitCode() == 0);
        const QString said = QString::fromUtf8(her.readAllStandardOutput());
        qsizetype at = 0;
        for (const QString& phrase : row.says) QVERIFY2((at = said.indexOf(expand(phrase), at)) >= 0, qPrintable(said));
        QVERIFY2(said.startsWith(QString("%1 boxes\n").arg(row.says.size())), qPrintable(said));
        // Her home as it was, her caches aside; her last text in the file the row names, hers, with its permissions.
        QString check = "test \"$(cat $H/.bashrc)\" = \"ann's own\" -a \"$(find $H -maxdepth 1 -type f)\" = $H/.bashrc";
        if (!row.holds.isEmpty())
            check += QString(" -a \"$(cat %1)\" = 'mine, later' -a \"$(stat -c %U:%a %1)\" = agelark-ann:%2")
                         .arg(row.holds).arg(row.mode, 0, 8);
        QVERIFY2(shell(expand(check)), qPrintable(expand(check)));
    }

    // The system's boxes show text as it is, never as markup (a link's target may hold any); a key pressed as a box
    // opens (typed for something else) is not taken, one after half a second is; Enter in a question is Cancel.
    void theBoxesShowPlainTextAndTakeNoKeysAtOnce() {
        const QString html = "<h1>Notes are up to date</h1>";
        for (const bool question : {false, true}) {  // a warning box is an information box with another icon
            Qt::TextFormat format = Qt::AutoText;
            for (int after : {0, 700})
                QTimer::singleShot(after, [&, after] {
                    auto box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    QVERIFY(box);
                    format = after ? format : box->textFormat();
                    QTest::keyClick(box, Qt::Key_Return);
                });
            const qint64 opened = QDateTime::currentMSecsSinceEpoch();
            if (!question) systemMessageBoxes().information(nullptr, html);
            if (question) QCOMPARE(systemMessageBoxes().question(nullptr, html, {"Overwrite"}), -1);
            QVERIFY(QDateTime::currentMSecsSinceEpoch() - opened >= 500);
            QCOMPARE(format, Qt::PlainText);
        }
    }
};

// agelark-ann's own process: a row's steps, one a line, "done" after each, Overwrite whenever asked; then the boxes.
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
        std::cout << "done" << std::endl;
    }
    const QStringList told = program->messages.told();
    std::cout << told.size() << " boxes\n" << told.join("\n").toStdString() << std::endl;
    return 0;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--her-session") == 0) return herSession(QString::fromLocal8Bit(argv[2]));
    NotesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_notes.moc"
