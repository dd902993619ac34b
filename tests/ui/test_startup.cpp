// Start-up of the program and the load of each window, with and without the
// files the program reads beside itself; the clock it starts on the Custom
// page, the time of day in the user's own format, always with seconds.

#include <QFile>
#include <QLocale>
#include <QTime>

#include "notes/notes_pad.h"
#include "tests/support/notes_files.h"
#include "tests/support/test_program.h"
#include "ui/clock.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

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

    // The main window alone, on its first page, the title picture on every
    // page and only the clock running, empty until its timer's first tick; a
    // missing notes file leaves the pad's first text and is not made.
    void startUpState() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TestProgram program;
        QVERIFY(QFile::remove(program.path("Notes.txt")));
        program.clock.set({2026, 12, 5, 15, 7, 9});
        program.start();
        QCOMPARE(windows().loaded().size(), 1);
        QVERIFY(program.window("Form1")->isVisible());
        QCOMPARE(program.tabs()->currentIndex(), 0);
        QCOMPARE(picturesShown(program), QList<bool>(5, true));
        QCOMPARE(program.running("Form1"), QStringList{"Timer22"});
        QCOMPARE(program.text("Form1", "lblClock"), QString());
        QTRY_COMPARE(program.text("Form1", "lblClock"), QString("3:07:09 PM"));
        QCOMPARE(padText(program.window("Form1")), QString("Notes\n"));
        QVERIFY(!QFile::exists(program.path("Notes.txt")));
        windows().get("Form2");
        QCOMPARE(program.find<QLabel>("Form2", "Picture1")->pixmap().toImage(),
                 program.find<QLabel>("Form1", "Picture1")->pixmap().toImage());
        QCOMPARE(program.running("Form2"), QStringList());
        QVERIFY(program.messages.shown.isEmpty());

        // A change of the time format shows at the next tick.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        program.tick("Form1", "Timer22");
        QCOMPARE(program.text("Form1", "lblClock"), QString("15:07:09"));
    }

    // Each window shows, then tells over itself which picture failed and
    // where it was looked for; its load goes on without the pictures.
    void badTitlePicture_data() {
        QTest::addColumn<QByteArray>("content");  // the picture file's bytes; none: no file
        QTest::addColumn<QString>("told");
        QTest::newRow("missing") << QByteArray() << "is missing";
        QTest::newRow("unreadable") << QByteArray("not a picture") << "cannot be read";
    }
    void badTitlePicture() {
        QFETCH(QByteArray, content);
        QFETCH(QString, told);
        TestProgram program;
        QVERIFY(QFile::remove(program.path("Agelark.jpg")));
        QVERIFY(writeFile(program.path("Notes.txt"), "notes of the user"));
        QVERIFY(content.isNull() || writeFile(program.path("Agelark.jpg"), content));
        QStringList shownOver;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown& box) {
            if (FormWindow* over = program.window(box.parentName); over && over->isVisible())
                shownOver << box.parentName;
        };
        program.start();
        QTRY_COMPARE(padText(program.window("Form1")), QString("notes of the user"));
        QCOMPARE(program.running("Form1"), QStringList{"Timer22"});
        QCOMPARE(picturesShown(program), QList<bool>(5, false));
        program.openHandheld();
        QCOMPARE(shownOver, QStringList({"Form1", "Form2"}));
        for (const RecordingMessageBoxes::Shown& box : program.messages.shown)
            for (const QString& phrase : {QStringLiteral("\"Agelark.jpg\""), told, program.appFolder()})
                QVERIFY2(box.text.contains(phrase), qPrintable(box.text));
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
