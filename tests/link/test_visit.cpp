// The Visit buttons hand the site address to the desktop's opener and tell a failure over the window. Where the
// program finds its data files, and whether it keeps notes beside itself.

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "link/visit.h"
#include "notes/notes_file.h"
#include "tests/support/notes_files.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

class VisitTest : public QObject {
    Q_OBJECT
private slots:
    // Each button starts the opener with the address alone, here one on the search path that starts and then fails (no
    // browser to open the address with): told later. One not installed, or one that opens, the desktop tier meets.
    void everyButtonStartsTheOpenerAndItsFailureIsTold() {
        TestProgram program;
        install(Platform{&program.clock, &program.messages, &program.beep, &systemLauncher(), program.appFolder()});
        QTemporaryDir bin;
        QVERIFY(writeFile(bin.filePath("xdg-open"), "#!/bin/sh\necho \"$#:$1\" >>\"$0.log\"\nsleep 0.2\nexit 3\n"));
        QVERIFY(QFile::setPermissions(bin.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ":/usr/bin:/bin");
        program.start();
        program.openHandheld();
        for (const char* button : {"cmdQAV3_0", "cmdQAV3_1", "cmdQAV3_2", "cmdQAV4_1", "cmdQAV5_1"})
            program.click("Form1", button);
        program.click("Form2", "cmdqAv");
        qputenv("PATH", path);
        QTRY_COMPARE(program.messages.shown.size(), 6);
        const QString shown = program.messages.shown[0].text;
        QVERIFY2(shown.contains("\"xdg-open\" ended with exit status 3") && shown.contains("open " + siteAddress()),
                 qPrintable(shown));
        QCOMPARE(fileBytes(bin.filePath("xdg-open.log")), QByteArray("1:" + siteAddress().toUtf8() + "\n").repeated(6));
    }

    // A build folder (or one unpacked whole) holds the data and the notes beside the program, even with an install
    // around; installed, the data lies in ../share/agelark and a Notes.txt beside the program is not read.
    void dataFilesAndNotes_data() {
        QTest::addColumn<bool>("installed");
        QTest::newRow("build folder") << false;
        QTest::newRow("installed") << true;
    }
    void dataFilesAndNotes() {
        QFETCH(bool, installed);
        QTemporaryDir prefix;
        const QString program = prefix.filePath("bin"), data = prefix.filePath("share/agelark");
        const QDir built(QStringLiteral(AGELARK_BUILT_APP_DIR));
        QVERIFY(QDir().mkpath(program));
        for (const QString& folder : installed ? QStringList{data} : QStringList{data, program}) {
            QVERIFY(QDir().mkpath(folder));
            for (const QString& name : built.entryList({"*.jpg", "*.png", "*.html"}, QDir::Files))
                QVERIFY(QFile::copy(built.filePath(name), folder + "/" + name));
        }
        QVERIFY(writeFile(program + "/Notes.txt", "left beside the program\r\n"));
        TestProgram p(program);
        p.start();
        p.processEvents();
        QVERIFY2(p.messages.told().isEmpty(), qPrintable(p.messages.told().join("|")));  // every picture found

        QCOMPARE(appFilePath("\\about.html"), (installed ? data : program) + "/about.html");
        QCOMPARE(notesPaths().beside, installed ? notesPaths().own : program + "/Notes.txt");
        QCOMPARE(p.find<QPlainTextEdit>("Form1", "txtNotes")->toPlainText().contains("left beside"), !installed);
    }
};

QTEST_MAIN(VisitTest)
#include "test_visit.moc"
