// The Visit buttons hand the site address to the desktop's opener.

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include "test_program.h"
#include "visit.h"
#include "windows.h"

using namespace agelark;
using namespace agelark::testing;

class VisitTest : public QObject {
    Q_OBJECT
private slots:
    void everyButtonStartsTheSameSingleArgumentCommand() {
        TestProgram program;
        program.start();
        windows().show("Form2");
        auto tabs = program.find<TabControl>("Form1", "SSTTab1");
        tabs->setCurrentIndex(3);

        const QList<QPair<QString, QString>> buttons = {{"Form1", "cmdQAV3_0"}, {"Form1", "cmdQAV3_1"},
                                                        {"Form1", "cmdQAV3_2"}, {"Form1", "cmdQAV4_1"},
                                                        {"Form1", "cmdQAV5_1"}, {"Form2", "cmdqAv"}};
        for (const auto& [window, button] : buttons) program.click(window, button);
        program.click("Form1", "cmdQAV3_0");  // a second click starts it again

        QCOMPARE(program.launcher.started.size(), 7);
        for (const QStringList& command : program.launcher.started)
            QCOMPARE(command, (QStringList{"xdg-open", siteAddress}));
        QCOMPARE(tabs->currentIndex(), 3);
        QVERIFY(program.window("Form2")->isVisible());
        QVERIFY(program.messages.shown.isEmpty());
        // Until the project has a home page, a placeholder under the reserved domain.
        QVERIFY(QUrl(siteAddress).isValid() && QUrl(siteAddress).host().endsWith(".example.org"));
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
