// Start-up of the program and the load of each window, with and without the
// files the program reads beside itself; the clock it starts on the "Custom"
// page, the time of day in the user's own format, always with seconds.

#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QLocale>
#include <QTime>

#include "notes/notes_pad.h"
#include "platform/timers.h"
#include "tests/support/test_program.h"
#include "ui/clock.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

// Every timer of `window` idle except those named in `running` (sorted), which
// tick every 100 ms; idle by its interval, not by being switched off.
void verifyTimers(FormWindow* window, const QStringList& running = {}) {
    QVERIFY(!window->findChildren<Timer*>().isEmpty());
    QCOMPARE(runningTimers(window), running);
    for (Timer* t : window->findChildren<Timer*>())
        QVERIFY2(t->interval() == (running.contains(t->objectName()) ? 100 : 0) && t->isEnabled(),
                 qPrintable(t->objectName()));
}

// Whether the five console picture boxes of the main window show a picture.
QList<bool> picturesShown(const TestProgram& program) {
    QList<bool> shown;
    for (const char* box : {"Picture1", "Picture2", "Picture3", "Picture4", "Picture5"})
        shown << !program.find<QLabel>("Form1", box)->pixmap().isNull();
    return shown;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    // The main window on its first page with the title picture and only the
    // clock's timer running, the clock empty until its first tick, which the
    // clock's own timer brings; a missing notes file changes nothing of that.
    void startUpState() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TestProgram program;
        QVERIFY(QFile::remove(program.path("Notes.txt")));
        program.clock.set({2026, 12, 5, 15, 7, 9});
        program.start();
        FormWindow* form1 = program.window("Form1");
        QVERIFY(form1 && form1->isVisible());
        QCOMPARE(program.tabs()->currentIndex(), 0);
        QCOMPARE(picturesShown(program), QList<bool>(5, true));
        verifyTimers(form1, {"Timer22"});
        QCOMPARE(windows().loaded().size(), 1);  // the other two load when first needed
        QCOMPARE(program.text("Form1", "lblClock"), QString());
        QTRY_COMPARE(program.text("Form1", "lblClock"), QString("3:07:09 PM"));
        QCOMPARE(padText(form1), QString("Notes\n"));  // the pad's first text
        QVERIFY(!QFile::exists(program.path("Notes.txt")));  // the program never creates it

        program.openHandheld();
        FormWindow* form2 = program.window("Form2");
        QVERIFY(form2 && form2->isVisible());
        QCOMPARE(program.find<QLabel>("Form2", "Picture1")->pixmap().toImage(),
                 program.find<QLabel>("Form1", "Picture1")->pixmap().toImage());
        verifyTimers(form2);
        QVERIFY(program.messages.shown.isEmpty());
        for (const char* name : {"Form1", "Form2", "Saved"})
            QVERIFY2(windows().get(name)->windowIcon().availableSizes().contains(QSize(32, 32)), name);

        // A change of the time or of the time format shows at the next tick.
        program.clock.advanceSeconds(1);
        program.tick("Form1", "Timer22");
        QCOMPARE(program.text("Form1", "lblClock"), QString("3:07:10 PM"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        program.tick("Form1", "Timer22");
        QCOMPARE(program.text("Form1", "lblClock"), QString("15:07:10"));
    }

    void badTitlePictureIsReportedAndTheProgramGoesOn_data() {
        QTest::addColumn<QByteArray>("content");  // the picture file's bytes; none: no file
        QTest::addColumn<QString>("told");        // the whole message: %1 the folder, %2 what the image reader says
        QTest::newRow("missing") << QByteArray() << "The picture \"Agelark.jpg\" is missing. It was looked for in %1.";
        QTest::newRow("unreadable") << QByteArray("not a picture")
                                    << "The picture \"Agelark.jpg\" in %1 cannot be read: %2.";
    }
    // Each window shows, then tells the failure over itself; the load steps stop at the picture.
    void badTitlePictureIsReportedAndTheProgramGoesOn() {
        QFETCH(QByteArray, content);
        QFETCH(QString, told);
        TestProgram program;
        QVERIFY(QFile::remove(program.path("Agelark.jpg")));
        QFile notes(program.path("Notes.txt"));
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("notes of the user") == 17);
        notes.close();
        if (!content.isNull()) {
            QFile picture(program.path("Agelark.jpg"));
            QVERIFY(picture.open(QIODevice::WriteOnly) && picture.write(content) == content.size());
        }
        QStringList shownOver;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown& box) {
            if (program.window(box.parentName) && program.window(box.parentName)->isVisible()) shownOver << box.parentName;
        };
        program.start();
        FormWindow* form1 = program.window("Form1");
        QVERIFY(form1 && form1->isVisible());
        QCOMPARE(program.messages.shown.size(), 1);
        QImageReader reader(program.path("Agelark.jpg"));
        reader.read();
        const QString message = told.arg(program.appFolder(), reader.errorString());
        QCOMPARE(program.messages.told()[0], "warning: " + message);

        // The steps before the first picture ran; the pictures did not.
        QCOMPARE(program.text("Form1", "lblClock"), QString());
        verifyTimers(form1, {"Timer22"});
        QCOMPARE(picturesShown(program), QList<bool>(5, false));
        // The notes were asked for: the file comes into the pad.
        QTRY_COMPARE(padText(form1), QString("notes of the user"));
        program.tick("Form1", "Timer22");  // and the clock goes
        QVERIFY(!program.text("Form1", "lblClock").isEmpty());

        program.openHandheld();
        QVERIFY(program.window("Form2") && program.window("Form2")->isVisible());
        QCOMPARE(program.window("Form2")->pos(), form1->pos());
        QCOMPARE(program.messages.shown.size(), 2);
        QCOMPARE(program.messages.shown[1].text, message);
        QCOMPARE(shownOver, QStringList({"Form1", "Form2"}));
    }

    // The locale's own separators, and no time zone where the locale puts one
    // first; in every locale the seconds, which make the clock visibly tick.
    void clockTextInEveryLocale() {
        const QTime a(15, 7, 9), b(15, 7, 10);
        QCOMPARE(clockText(a, QLocale(QLocale::Finnish, QLocale::Finland)), QString("15.07.09"));
        QCOMPARE(clockText(a, QLocale(QLocale::Chinese, QLocale::China)), QString("15:07:09"));
        for (const QLocale& locale :
             QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            const QString first = clockText(a, locale);
            QVERIFY2(!first.isEmpty() && first != clockText(b, locale) && first == first.trimmed(),
                     qPrintable(locale.name()));
        }
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
