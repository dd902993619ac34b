// The notes pad as users meet it with real copies of the program: two copies
// saving into one folder, another editor changing the file, files that are
// unreadable, mixed in their encoding, missing or no files at all. Save
// never writes over text it did not load without asking, and the window
// answers throughout.

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "tests/desktop/desktop_driver.h"

using namespace agelark::desktop;

namespace {

const QString mainTitle = QStringLiteral("Agelark v2.5");
const QString savedTitle = QStringLiteral("Saved!");
const QString changedQuestion = QStringLiteral("has been changed by another program, or by another copy of Agelark");

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The main window's pad, on the Custom page.
Accessible notesPad(const Program& program) {
    const Accessible main = program.window(mainTitle);
    return main && program.showPage(main, "Custom") ? program.control(main, "text", "Notes") : Accessible();
}

bool pressSave(const Program& program) {
    return program.control(program.window(mainTitle), "push button", "Save Changes").press();
}

// The confirmation of a save, closed with its OK.
bool confirmed(const Program& program) {
    const Accessible saved = program.window(savedTitle);
    return saved && program.control(saved, "push button", "OK").press() && program.windowGone(savedTitle);
}

bool pressIn(const Accessible& box, const QString& button) {
    const Accessible b = box.find("push button", button);
    return b ? b.press() : false;
}

// The window answers: the 2600 pressed on the Atari page counts.
bool answers(const Program& program) {
    const Accessible main = program.window(mainTitle);
    return main && program.showPage(main, "Atari") && program.control(main, "push button", "2600").press() &&
           readsCountSince(program.control(main, "label", "Atari result"),
                           QDateTime(QDate(1977, 9, 11), QTime(0, 0), Qt::UTC));
}

const QString readWarning = QStringLiteral(
    "Could not read the notes from %1: %2.\n\nThe file is left as it is: Save will not replace it without asking you first.");

}  // namespace

class DesktopNotes : public QObject {
    Q_OBJECT
private slots:
    void twoCopiesSaveAtOnce();
    void twoCopiesSaveOneAfterTheOther();
    void anotherEditorChangedTheFile();
    void unreadableAtTheStart();
    void oneStrayByte();
    void noNotesFile();
    void oddFiles();
};

// Two copies on one program folder, both saving at the same moment: exactly
// one writes, the other asks; Cancel keeps its pad, the file holds one text whole.
void DesktopNotes::twoCopiesSaveAtOnce() {
    Program a, b;
    b.executable = a.file("agelark");
    b.environment.insert("XDG_DATA_HOME", a.file("user-data"));
    QVERIFY(a.start() && b.start());
    const Accessible padA = notesPad(a), padB = notesPad(b);
    QVERIFY(padA.type("from copy A") && padB.type("from copy B"));
    const Accessible saveA = a.control(a.window(mainTitle), "push button", "Save Changes");
    const Accessible saveB = b.control(b.window(mainTitle), "push button", "Save Changes");
    QVERIFY(saveA.press() && saveB.press());

    Accessible question;
    QVERIFY(waitUntil(
        [&] {
            for (Program* p : {&a, &b})
                for (const QString& text : p->boxesShown())
                    if (text.contains(changedQuestion)) question = p->messageBoxSaying(changedQuestion, 0);
            return bool(question);
        },
        patience(5000)));
    Program& asked = question.processId() == a.application().processId() ? a : b;
    Program& wrote = &asked == &a ? b : a;
    QVERIFY(confirmed(wrote));
    QVERIFY(pressIn(question, "Cancel"));
    QVERIFY(asked.windowGone("Agelark"));
    const QString writer = &wrote == &a ? "A" : "B", other = &asked == &a ? "A" : "B";
    QCOMPARE(contentOf(a.file("Notes.txt")), ("Notes\r\nfrom copy " + writer).toUtf8());
    QCOMPARE(notesPad(asked).text(), "Notes\nfrom copy " + other);
    QVERIFY(a.closeWindow(mainTitle) && b.closeWindow(mainTitle));
    QVERIFY(a.endedNormally() && b.endedNormally());
}

// A saves, then B, which loaded the file before A's save: B asks.
void DesktopNotes::twoCopiesSaveOneAfterTheOther() {
    Program a, b;
    b.executable = a.file("agelark");
    b.environment.insert("XDG_DATA_HOME", a.file("user-data"));
    QVERIFY(a.start() && b.start());
    QVERIFY(notesPad(a).type("from copy A") && pressSave(a) && confirmed(a));
    QVERIFY(notesPad(b).type("from copy B") && pressSave(b));
    const Accessible question = b.messageBoxSaying(changedQuestion);
    QVERIFY(question);
    QCOMPARE(contentOf(a.file("Notes.txt")), QByteArray("Notes\r\nfrom copy A"));
    QVERIFY(pressIn(question, "Cancel") && b.windowGone("Agelark"));
    QCOMPARE(contentOf(a.file("Notes.txt")), QByteArray("Notes\r\nfrom copy A"));
    QVERIFY(a.closeWindow(mainTitle) && b.closeWindow(mainTitle));
    QVERIFY(a.endedNormally() && b.endedNormally());
}

// Another editor writes the file after the load: Save asks, Overwrite writes.
void DesktopNotes::anotherEditorChangedTheFile() {
    Program program;
    QVERIFY(program.start());
    const Accessible pad = notesPad(program);
    QCOMPARE(pad.text(), QString("Notes\n"));
    QVERIFY(writeFile(program.file("Notes.txt"), "written in another editor\r\n"));
    QVERIFY(pad.type("mine") && pressSave(program));
    const Accessible question = program.messageBoxSaying(changedQuestion);
    QVERIFY(question);
    QCOMPARE(contentOf(program.file("Notes.txt")), QByteArray("written in another editor\r\n"));
    QVERIFY(pressIn(question, "Overwrite"));
    QVERIFY(confirmed(program));
    QCOMPARE(contentOf(program.file("Notes.txt")), QByteArray("Notes\r\nmine"));
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

// A notes file that cannot be read at the start (a folder in its place) is
// told; once a file is there, Save asks before writing over it.
void DesktopNotes::unreadableAtTheStart() {
    Program program;
    const QString path = program.file("Notes.txt");
    QVERIFY(QFile::remove(path) && QDir().mkdir(path));
    QVERIFY(program.start());
    const Accessible warning = program.messageBox(readWarning.arg(path, "it is a folder, not a file"));
    QVERIFY(warning && program.pressOk(warning));
    QVERIFY(QDir().rmdir(path) && writeFile(path, "their notes\r\n"));
    QVERIFY(notesPad(program).type(" and mine") && pressSave(program));
    const Accessible question = program.messageBoxSaying("could not be read when Agelark started");
    QVERIFY(question && pressIn(question, "Cancel") && program.windowGone("Agelark"));
    QCOMPARE(contentOf(path), QByteArray("their notes\r\n"));
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

// UTF-8 with one stray byte: only that byte reads as Windows-1252.
void DesktopNotes::oneStrayByte() {
    Program program;
    QVERIFY(writeFile(program.file("Notes.txt"), "caf\xC3\xA9 na\xC3\xAFve \x80" "5"));
    QVERIFY(program.start());
    QCOMPARE(notesPad(program).text(), QString::fromUtf8("café naïve €5"));
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

// No Notes.txt: the first save makes it.
void DesktopNotes::noNotesFile() {
    Program program;
    QVERIFY(QFile::remove(program.file("Notes.txt")));
    QVERIFY(program.start());
    QCOMPARE(program.boxesShown(), QStringList());
    QVERIFY(notesPad(program).type("first words") && pressSave(program) && confirmed(program));
    QCOMPARE(contentOf(program.file("Notes.txt")), QByteArray("Notes\r\nfirst words"));
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

// A named pipe in the notes file's place is not waited on: the window shows
// and answers.
void DesktopNotes::oddFiles() {
    Program program;
    const QString path = program.file("Notes.txt");
    QVERIFY(QFile::remove(path) && mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
    QVERIFY(program.start());
    const Accessible warning =
        program.messageBox(readWarning.arg(path, "it is a named pipe (FIFO), not an ordinary file"));
    QVERIFY(warning && program.pressOk(warning));
    QVERIFY(answers(program));
    QVERIFY(program.closeWindow(mainTitle));
    QVERIFY(program.endedNormally());
}

QTEST_MAIN(DesktopNotes)
#include "test_desktop_notes.moc"
