// What is saved is what the next start of the main window puts in the pad,
// byte for byte on disk and character for character in the pad.

#include <QDir>
#include <QSignalSpy>

#include "notes_fixture.h"
#include "notes_load.h"
#include "page_view.h"
#include "platform.h"

using namespace agelark;
using namespace agelark::testing;

class NotesRoundTripTest : public QObject {
    Q_OBJECT
private slots:
    void savedTextLoadsBackExactly_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::newRow("markup characters") << QString("a<b & c>d") << QByteArray("a<b & c>d");
        QTest::newRow("wrapper tags and references typed")
            << QString("<PRE>x</PRE>\n&lt; &amp;gt; &#60; & &")
            << QByteArray("<PRE>x</PRE>\r\n&lt; &amp;gt; &#60; & &");
        QTest::newRow("lower-case tags") << QString("<pre></pre>") << QByteArray("<pre></pre>");
        QTest::newRow("empty pad") << QString() << QByteArray();
        QTest::newRow("two lines") << QString("first\nsecond") << QByteArray("first\r\nsecond");
        QTest::newRow("blank lines, break at the end")
            << QString("\n\nend\n") << QByteArray("\r\n\r\nend\r\n");
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
        TestProgram program;
        startAndLoad(program);
        pad(program)->setPlainText(typed);

        program.click("Form1", "cmdSave");
        QCOMPARE(fileBytes(program.path("Notes.txt")), onDisk);
        restart(program);
        QCOMPARE(padText(program.window("Form1")), typed);

        // Saved again unchanged, the file stays the same: nothing creeps in at each start.
        program.click("Form1", "cmdSave");
        QCOMPARE(fileBytes(program.path("Notes.txt")), onDisk);
        restart(program);
        QCOMPARE(padText(program.window("Form1")), typed);
        QVERIFY(program.messages.shown.isEmpty());
    }

    void typedLineBreaksAreSavedAsCrLf() {
        TestProgram program;
        startAndLoad(program);
        QPlainTextEdit* notes = pad(program);
        notes->clear();
        QTest::keyClicks(notes, "one");
        QTest::keyClick(notes, Qt::Key_Return);
        QTest::keyClicks(notes, "two");
        QTest::keyClick(notes, Qt::Key_Return, Qt::ShiftModifier);  // a break inside the paragraph
        QTest::keyClicks(notes, "three");

        program.click("Form1", "cmdSave");
        QCOMPARE(fileBytes(program.path("Notes.txt")), QByteArray("one\r\ntwo\r\nthree"));
        restart(program);
        QCOMPARE(pad(program)->toPlainText(), QString("one\ntwo\nthree"));
    }

    void filesWrittenElsewhereLoadAsText_data() {
        QTest::addColumn<QByteArray>("onDisk");
        QTest::addColumn<QString>("inPad");
        QTest::newRow("Windows-1252") << QByteArray("Caf\xE9 \x80\x93q\x94\r\nna\xEFve \x9F\x8A\x81")
                                      << QString::fromUtf8("Café €“q”\nnaïve ŸŠ\u0081");
        QTest::newRow("encoded surrogate is not UTF-8") << QByteArray("\xED\xA0\x80")
                                                        << QString::fromUtf8("í\u00a0€");
        QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBFNotes \xE2\x82\xAC\r\n")
                                                    << QString::fromUtf8("Notes €\n");
        QTest::newRow("two marks") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QChar(0xFEFF) + QString("x");
        QTest::newRow("UTF-8 cut off at the end") << QByteArray("abc\xC3") << QString::fromUtf8("abcÃ");
        QTest::newRow("references in the file stay") << QByteArray("x &amp; <y>") << QString("x &amp; <y>");
    }
    void filesWrittenElsewhereLoadAsText() {
        QFETCH(QByteArray, onDisk);
        QFETCH(QString, inPad);
        TestProgram program;
        writeFile(program.path("Notes.txt"), onDisk);
        program.start();
        QCOMPARE(padText(program.window("Form1")), QString("Notes\n"));  // read once the load handler has returned
        program.processEvents();
        QCOMPARE(padText(program.window("Form1")), inPad);
    }

    void missingFileLeavesInitialTextAndCreatesNothing() {
        TestProgram program;
        QVERIFY(QFile::remove(program.path("Notes.txt")));
        startAndLoad(program);
        QCOMPARE(padText(program.window("Form1")), QString("Notes\n"));
        QVERIFY(program.messages.shown.isEmpty());
        QVERIFY(!QFile::exists(program.path("Notes.txt")));
    }

    void unreadableFileIsReportedAndPadKeepsInitialText() {
        TestProgram program;
        QVERIFY(QFile::remove(program.path("Notes.txt")));
        QVERIFY(QDir(program.appFolder()).mkdir("Notes.txt"));
        startAndLoad(program);
        QCOMPARE(padText(program.window("Form1")), QString("Notes\n"));
        QCOMPARE(program.messages.shown.size(), 1);
        QVERIFY2(program.messages.shown[0].text.startsWith("Could not read the notes from " +
                                                            program.path("Notes.txt") + ": "),
                 qPrintable(program.messages.shown[0].text));
    }

    // A folder name that a pattern match would read as wildcards still loads
    // its own notes, and only those.
    void folderWithPatternCharactersLoadsItsNotes() {
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

        startAndLoad(program);
        QCOMPARE(padText(program.window("Form1")), QString("kept in #1"));

        // The look-alike's document completes, and is not the notes document.
        auto view = program.find<PageView>("Form1", "WebBrowser1");
        QSignalSpy completed(view, &PageView::documentComplete);
        view->navigate(top.filePath("notes 11 d/Notes.txt"));
        program.processEvents();
        QCOMPARE(completed.size(), 1);
        QCOMPARE(padText(program.window("Form1")), QString("kept in #1"));

        pad(program)->setPlainText("changed in #1");
        program.click("Form1", "cmdSave");
        restart(program);
        QCOMPARE(padText(program.window("Form1")), QString("changed in #1"));
        QCOMPARE(fileBytes(top.filePath("notes 11 d/Notes.txt")), QByteArray("a look-alike folder"));
        QVERIFY(program.messages.shown.isEmpty());
    }

    void onlyTheMainWindowsOwnViewFillsThePad() {
        TestProgram program;
        writeFile(program.path("Notes.txt"), "from the file");
        startAndLoad(program);
        pad(program)->setPlainText("typed");

        PageView stray;  // a view in no window of the program
        stray.navigate(program.path("Notes.txt"));
        program.processEvents();
        WebBrowser1_DocumentComplete(program.window("Form1"), &stray, program.path("Notes.txt"));
        QCOMPARE(padText(program.window("Form1")), QString("typed"));
    }

    void keptPadTextSurvivesTheReloadOfARebuild() {
        TestProgram program;
        writeFile(program.path("Notes.txt"), "from the file");
        startAndLoad(program);
        pad(program)->setPlainText("typed, not saved\n\u00a0");
        const QString unsaved = padText(program.window("Form1"));

        windows().unload("Form1");
        program.processEvents();
        program.start();
        keepPadText(program.window("Form1"), unsaved);
        program.processEvents();
        QCOMPARE(padText(program.window("Form1")), unsaved);
        QCOMPARE(fileBytes(program.path("Notes.txt")), QByteArray("from the file"));
    }
};

QTEST_MAIN(NotesRoundTripTest)
#include "test_notes_roundtrip.moc"
