// The Visit buttons hand the site address (the one the build was given) to the
// desktop's opener, and tell the user, over the window whose button was
// pressed, when it fails.

#include <QFile>
#include <QTemporaryDir>

#include "link/visit.h"
#include "tests/support/notes_files.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

class VisitTest : public QObject {
    Q_OBJECT
private slots:
    void everyButtonStartsTheOpenerWithTheAddressAlone() {
        StartedProgram program;
        program.openHandheld();
        for (const char* button : {"cmdQAV3_0", "cmdQAV3_1", "cmdQAV3_2", "cmdQAV4_1", "cmdQAV5_1"})
            program.click("Form1", button);
        program.click("Form2", "cmdqAv");
        QCOMPARE(program.launcher.started, QList<QStringList>(6, QStringList{"xdg-open", siteAddress}));
    }

    // The real launcher, with the opener a script on the search path.
    void realOpener_data() {
        QTest::addColumn<QByteArray>("opener");  // none: no opener at all
        QTest::addColumn<QString>("told");       // a phrase of the warning; none: no warning
        QTest::newRow("opens the address")
            << "#!/bin/sh\n[ \"$1\" = " + siteAddress.toUtf8() + " ] && touch \"$0.opened\"\n" << "";
        QTest::newRow("not installed") << QByteArray() << "the command \"xdg-open\" could not be started";
        QTest::newRow("no browser") << QByteArray("#!/bin/sh\nsleep 0.2\nexit 3\n")
                                    << "\"xdg-open\" ended with exit status 3";
    }
    void realOpener() {
        QFETCH(QByteArray, opener);
        QFETCH(QString, told);
        TestProgram program;
        install(Platform{&program.clock, &program.messages, &program.beep, &systemLauncher(), program.appFolder()});
        QTemporaryDir bin;
        if (!opener.isNull()) {
            QVERIFY(writeFile(bin.filePath("xdg-open"), opener));
            QVERIFY(QFile::setPermissions(bin.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner));
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + (opener.isNull() ? "" : ":/usr/bin:/bin"));
        program.start();
        program.click("Form1", "cmdQAV5_1");
        qputenv("PATH", path);
        if (told.isEmpty()) {
            QTRY_VERIFY(QFile::exists(bin.filePath("xdg-open.opened")));
            QTest::qWait(300);  // its end, a success, is not told
            QVERIFY(program.messages.shown.isEmpty());
        } else {
            QTRY_COMPARE(program.messages.shown.size(), 1);
            const QString shown = program.messages.shown[0].text;
            QVERIFY2(shown.contains(told) && shown.contains("open " + siteAddress), qPrintable(shown));
        }
    }
};

QTEST_MAIN(VisitTest)
#include "test_visit.moc"
