// The Visit buttons hand the site address to the desktop's opener.

#include <QFile>
#include <QTemporaryDir>

#include "test_program.h"
#include "visit.h"

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
        // The project's address (a placeholder under the reserved domain until it has a home page).
        QCOMPARE(program.launcher.started, QList<QStringList>(7, QStringList{"xdg-open", "https://agelark.example.org/"}));
        QCOMPARE(program.tabs()->currentIndex(), 3);
        QVERIFY(program.window("Form2")->isVisible());
        QVERIFY(program.messages.shown.isEmpty());
    }

    void failedLaunchNamesTheCommand() {
        TestProgram program;
        // The real launcher, with a search path where no opener can be found.
        install(Platform{&program.clock, &program.messages, &program.beep, &systemLauncher(), program.appFolder()});
        QTemporaryDir emptyBin;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(emptyBin.path()));
        program.start();
        program.click("Form1", "cmdQAV5_1");
        qputenv("PATH", path);

        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.messages.shown[0].kind, QString("warning"));
        QVERIFY2(program.messages.shown[0].text.contains("\"xdg-open\"") &&
                     program.messages.shown[0].text.contains(siteAddress),
                 qPrintable(program.messages.shown[0].text));
    }
};

QTEST_MAIN(VisitTest)
#include "test_visit.moc"
