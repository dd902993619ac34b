// Start-up of the program and the load of each window, with and without the
// files the program reads beside itself.

#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "page_view.h"
#include "tab_control.h"
#include "test_program.h"
#include "timers.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

const char* const consolePictureBoxes[] = {"Picture1", "Picture2", "Picture3", "Picture4", "Picture5"};

// Every timer of `window` idle except those named in `running`, which tick every 100 ms.
void verifyTimers(FormWindow* window, const QStringList& running = {}) {
    const QList<QTimer*> timers = window->findChildren<QTimer*>();
    QVERIFY(!timers.isEmpty());
    for (QTimer* t : timers) {
        const QByteArray name = t->objectName().toUtf8();
        if (running.contains(t->objectName())) {
            QVERIFY2(t->isActive() && t->interval() == 100, name);
        } else {
            QVERIFY2(!t->isActive() && t->interval() == 0, name);
            QVERIFY2(timerEnabled(t), name);  // idle by its interval, not by being switched off
        }
    }
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void mainWindowStartsOnAtariWithTitlePictureAndOnlyTheClockRunning() {
        TestProgram program;
        program.clock.set({2026, 12, 5, 15, 7, 9});
        program.start();
        FormWindow* form1 = program.window("Form1");
        QVERIFY(form1 && form1->isVisible());
        QCOMPARE(program.find<TabControl>("Form1", "SSTTab1")->currentIndex(), 0);
        for (const char* box : consolePictureBoxes)
            QVERIFY2(!program.find<QLabel>("Form1", box)->pixmap().isNull(), box);
        verifyTimers(form1, {"Timer22"});
        QVERIFY(program.messages.shown.isEmpty());

        // The clock is empty until its first tick, which shows the fake clock's time.
        auto clock = program.find<QLabel>("Form1", "lblClock");
        QCOMPARE(clock->text(), QString());
        program.tick("Form1", "Timer22");
        QVERIFY(clock->text().contains("07:09") || clock->text().contains("07.09"));
    }

    void handheldWindowLoadsWithTitlePictureAndIdleCounters() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdHandheld");
        FormWindow* form2 = program.window("Form2");
        QVERIFY(form2 && form2->isVisible());
        QCOMPARE(program.find<QLabel>("Form2", "Picture1")->pixmap().toImage(),
                 program.find<QLabel>("Form1", "Picture1")->pixmap().toImage());
        verifyTimers(form2);
        QVERIFY(program.messages.shown.isEmpty());
    }

    void onlyTheMainWindowLoadsAtStartAndEveryWindowCarriesTheIcon() {
        TestProgram program;
        program.start();
        QCOMPARE(program.window("Saved"), nullptr);
        QCOMPARE(program.window("Form2"), nullptr);
        QCOMPARE(windows().loaded().size(), 1);
        for (const char* name : {"Form1", "Form2", "Saved"}) {
            const QIcon icon = windows().get(name)->windowIcon();
            QVERIFY2(icon.availableSizes().contains(QSize(32, 32)), name);
        }
    }

    void missingTitlePictureIsReportedAndTheProgramGoesOn() {
        TestProgram program;
        QVERIFY(QFile::remove(program.path("Agelark.jpg")));
        bool shownOverTheWindow = false;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            shownOverTheWindow = program.window("Form1") && program.window("Form1")->isVisible();
        };
        program.start();
        QVERIFY(shownOverTheWindow);

        FormWindow* form1 = program.window("Form1");
        QVERIFY(form1 && form1->isVisible());
        QCOMPARE(program.messages.shown.size(), 1);
        const auto& shown = program.messages.shown.first();
        QCOMPARE(shown.kind, QString("warning"));
        QVERIFY2(shown.text.contains("Agelark.jpg"), qPrintable(shown.text));
        QVERIFY2(shown.text.contains(program.appFolder()), qPrintable(shown.text));

        // The steps before the first picture ran; the pictures did not.
        QCOMPARE(program.find<QLabel>("Form1", "lblClock")->text(), QString());
        verifyTimers(form1, {"Timer22"});
        for (const char* box : consolePictureBoxes)
            QVERIFY2(program.find<QLabel>("Form1", box)->pixmap().isNull(), box);

        // The notes navigation was requested: the page view completes the notes file.
        QSignalSpy completed(program.find<PageView>("Form1", "WebBrowser1"), &PageView::documentComplete);
        QTRY_COMPARE(completed.size(), 1);
        QVERIFY(completed.first().at(1).toString().endsWith("Notes.txt"));

        // The program still works: the clock ticks.
        program.tick("Form1", "Timer22");
        QVERIFY(!program.find<QLabel>("Form1", "lblClock")->text().isEmpty());
    }

    void unreadableTitlePictureIsReportedAsUnreadable() {
        TestProgram program;
        QFile picture(program.path("Agelark.jpg"));
        QVERIFY(picture.open(QIODevice::WriteOnly | QIODevice::Truncate));
        picture.write("not a picture");
        picture.close();
        program.start();
        QVERIFY(program.window("Form1")->isVisible());
        QCOMPARE(program.messages.shown.size(), 1);
        const QString text = program.messages.shown.first().text;
        QVERIFY2(text.contains("Agelark.jpg") && text.contains("cannot be read"), qPrintable(text));
    }

    void missingTitlePictureWhenTheHandheldWindowOpens() {
        TestProgram program;
        program.start();
        QVERIFY(QFile::remove(program.path("Agelark.jpg")));
        bool shownOverTheWindow = false;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            shownOverTheWindow = program.window("Form2") && program.window("Form2")->isVisible();
        };
        program.click("Form1", "cmdHandheld");
        QVERIFY(shownOverTheWindow);
        FormWindow* form2 = program.window("Form2");
        QVERIFY(form2 && form2->isVisible());
        QCOMPARE(form2->pos(), program.window("Form1")->pos());
        QCOMPARE(program.messages.shown.size(), 1);
        QVERIFY(program.messages.shown.first().text.contains("Agelark.jpg"));
        QCOMPARE(program.messages.shown.first().parentName, QString("Form2"));
    }

    void missingNotesFileDoesNotStopStartUp() {
        TestProgram program;
        QVERIFY(QFile::remove(program.path("Notes.txt")));
        program.start();
        program.processEvents();
        FormWindow* form1 = program.window("Form1");
        QVERIFY(form1 && form1->isVisible());
        for (const char* box : consolePictureBoxes)
            QVERIFY2(!program.find<QLabel>("Form1", box)->pixmap().isNull(), box);
        verifyTimers(form1, {"Timer22"});
        QVERIFY(!QFile::exists(program.path("Notes.txt")));  // the program never creates it
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
