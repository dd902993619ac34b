// The Visit buttons hand the site address to the desktop's opener.

#include <QFile>
#include <QTemporaryDir>

#include "link/visit.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

class VisitTest : public QObject {
    Q_OBJECT
private slots:
    void everyButtonStartsTheSameSingleArgumentCommand() {
        StartedProgram program;
        program.openHandheld();
        program.tabs()->setCurrentIndex(3);
        for (const char* button : {"cmdQAV3_0", "cmdQAV3_1", "cmdQAV3_2", "cmdQAV4_1", "cmdQAV5_1", "cmdQAV3_0"})
            program.click("Form1", button);  // the first one twice: a second click starts it again
        program.click("Form2", "cmdqAv");
        QCOMPARE(program.launcher.started, QList<QStringList>(7, QStringList{"xdg-open", siteAddress}));
        QCOMPARE(program.tabs()->currentIndex(), 3);
        QVERIFY(program.window("Form2")->isVisible());
        QVERIFY(program.messages.shown.isEmpty());
    }

    // The opener starts, then finds no browser (xdg-open ends with status 3):
    // the user is told, over the window whose button was pressed, naming the
    // address; a second failure while the first box is open waits for it.
    void openerThatFailsLaterIsTold() {
        StartedProgram program;
        program.openHandheld();
        program.click("Form2", "cmdqAv");
        program.click("Form1", "cmdQAV3_1");
        QCOMPARE(program.launcher.whenFailed.size(), 2);
        QVERIFY(program.messages.shown.isEmpty());
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            if (program.messages.shown.size() == 1) program.launcher.whenFailed[1](-1);
        };
        program.launcher.whenFailed[0](3);
        program.messages.whileOpen = nullptr;
        const QString& address = siteAddress;
        QCOMPARE(program.messages.told(),
                 QStringList({"warning: Could not open " + address + " in a web browser: \"xdg-open\" ended with exit "
                              "status 3. Is a web browser installed and chosen as the default one?",
                              "warning: Could not open " + address + " in a web browser: \"xdg-open\" stopped "
                              "abnormally. Is a web browser installed and chosen as the default one?"}));
        QCOMPARE(program.messages.shown[0].parentName, QString("Form2"));
        QCOMPARE(program.messages.shown[1].parentName, QString("Form1"));
    }

    // The real launcher: an opener that cannot be found is told at once; one
    // that starts and ends with a failure status is told when it ends, the
    // window going on meanwhile.
    void realOpenerThatFails_data() {
        QTest::addColumn<QString>("opener");  // the script on the search path; none: no opener at all
        QTest::addColumn<QString>("told");
        QTest::newRow("not installed") << QString()
                                       << "Could not open " + siteAddress + " in the web browser: the command "
                                          "\"xdg-open\" could not be started. Is it installed?";
        QTest::newRow("no browser") << "#!/bin/sh\nsleep 0.2\nexit 3\n"
                                    << "Could not open " + siteAddress + " in a web browser: \"xdg-open\" "
                                       "ended with exit status 3. Is a web browser installed and chosen as the default one?";
    }

    void realOpenerThatFails() {
        QFETCH(QString, opener);
        QFETCH(QString, told);
        TestProgram program;
        install(Platform{&program.clock, &program.messages, &program.beep, &systemLauncher(), program.appFolder()});
        QTemporaryDir bin;
        if (!opener.isNull()) {
            QFile script(bin.filePath("xdg-open"));
            QVERIFY(script.open(QIODevice::WriteOnly) && script.write(opener.toUtf8()) > 0);
            QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + (opener.isNull() ? "" : ":/usr/bin:/bin"));
        program.start();
        program.click("Form1", "cmdQAV5_1");
        qputenv("PATH", path);
        if (!opener.isNull()) QVERIFY(program.messages.shown.isEmpty());
        QTRY_COMPARE(program.messages.told(), QStringList{"warning: " + told});
    }
};

QTEST_MAIN(VisitTest)
#include "test_visit.moc"
