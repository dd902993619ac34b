// What the windows count and show: the program's start and each window's
// load, with and without the files it reads beside itself, and the clock in
// the user's own format; a click selects a console, its timer's ticks count its
// age up in the group's result label, a failing count is told once per timer;
// the result labels' Copy; the custom count-up, and the rebuild of the main
// window that Reset shares with the counts that fail.

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTime>

#include "engine/age.h"
#include "engine/catalogue.h"
#include "engine/date_text.h"
#include "notes/notes_pad.h"
#include "platform/control_values.h"
#include "platform/controls.h"
#include "tests/support/notes_files.h"
#include "tests/support/test_program.h"
#include "ui/clock.h"
#include "ui/design.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

// The report at the longest count there is, one second short of 32 bits of seconds.
double longestCount(const ConsoleEntry& entry) { return parseDateText(entry.countFromText) + 2147483647.0 / 86400; }

// Whether `label` would wrap a line of `text` in `font`, laid out as QLabel lays out word-wrapped text.
bool wraps(const QLabel* label, const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    const QRect room(0, 0, label->contentsRect().width(), 100000);
    return metrics.boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, text).height() !=
           metrics.boundingRect(QRect(0, 0, 100000, 100000), 0, text).height();
}

}  // namespace

class CountersTest : public QObject {
    Q_OBJECT
private slots:
    void clickThenTick_data() {
        QTest::addColumn<int>("row");
        for (const ConsoleEntry& e : catalogue()) QTest::newRow(e.button.data()) << int(&e - catalogue().data());
    }

    // Every console: its picture, its timer alone of its group running (another
    // group's going on), the label's colour and size, the date boxes, the byline
    // hidden; the report comes with the timer's first tick, its page hidden or
    // not, and stands whole in the picture box up to the longest count.
    void clickThenTick() {
        QFETCH(int, row);
        const ConsoleEntry& entry = catalogue()[std::size_t(row)];
        const QString window = qtext(windowName(entry.window));
        StartedProgram program;
        if (window == "Form2") program.openHandheld();
        const ConsoleEntry& other = catalogue()[entry.tabIndex == 0 ? 20 : 0];  // of another group
        program.click(qtext(windowName(other.window)), qtext(other.button));
        const auto group = groupOf(entry);
        program.click(window, qtext((group.front() == &entry ? group.back() : group.front())->button));

        auto picture = program.find<QLabel>(window, qtext(entry.pictureBox));
        const qint64 titleKey = picture->pixmap().cacheKey();
        auto label = program.find<QLabel>(window, qtext(entry.resultLabel));
        program.click(window, qtext(entry.button));
        QVERIFY(!picture->pixmap().isNull() && picture->pixmap().cacheKey() != titleKey);
        QStringList running = program.running(window);
        if (entry.window == other.window) running.removeOne(qtext(other.timer));
        running.removeOne("Timer22");
        QCOMPARE(running, QStringList{qtext(entry.timer)});
        QCOMPARE(program.find<QTimer>(window, qtext(entry.timer))->interval(), 100);  // ten times a second
        QVERIFY(program.running(qtext(windowName(other.window))).contains(qtext(other.timer)));
        QCOMPARE(label->palette().color(QPalette::WindowText), colorFromBgr(entry.labelForeColor));
        QCOMPARE(label->font().pointSizeF(), entry.labelFontSize);
        QCOMPARE(program.text(window, qtext(entry.thenBox)), qtext(entry.countFromText));
        QCOMPARE(program.text(window, qtext(entry.nowBox)), QString("12/5/2026 11:10:00 AM"));
        QVERIFY(program.find<QLabel>(window, arrayMember("lblByWendrix", entry.bylineIndex))->isHidden());
        QCOMPARE(label->text(), designCaption);  // the click leaves the caption to the next tick

        program.clock.advanceSeconds(1);
        const double then = parseDateText(entry.countFromText);
        const QString report = qtext(reportText(entry, then, dateSerial(2026, 12, 5, 11, 10, 1)));
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), report, 5000);
        QCOMPARE(program.text(window, qtext(entry.nowBox)), QString("12/5/2026 11:10:01 AM"));
        QVERIFY(program.messages.shown.isEmpty());

        // Its longest report on its three lines, none wrapped nor its ink cut, inside the picture box.
        program.clock.set(civilFromSerial(longestCount(entry)));
        program.tick(window, qtext(entry.timer));
        QVERIFY2(label->text().contains("\r\n24855 Days, 03:14:07 Ago \r\n"), qPrintable(label->text()));
        QVERIFY(!wraps(label, label->font(), label->text()));
        for (const QString& line : label->text().split("\r\n"))
            QVERIFY2(label->fontMetrics().boundingRect(line).right() < label->contentsRect().width(), qPrintable(line));
        QVERIFY(label->fontMetrics().height() * 3 <= label->height());
        QVERIFY(picture->contentsRect().contains(label->geometry()));
    }

    // The report face is narrowed only as far as the longest lines need: two
    // steps wider, a report would wrap (one step is rounding, one the blank each
    // line ends with).
    void reportFaceNoNarrowerThanNeeded() {
        StartedProgram program;
        program.openHandheld();
        for (const QLabel* label :
             {program.find<QLabel>("Form1", "lblLabel1"), program.find<QLabel>("Form2", "lblAgelark")}) {
            bool wrapped = false;
            for (const ConsoleEntry& entry : catalogue()) {
                QFont wider = label->font();
                wider.setStretch(wider.stretch() + 2);
                wider.setPointSizeF(entry.labelFontSize);
                const double then = parseDateText(entry.countFromText);
                wrapped = wrapped || wraps(label, wider, qtext(reportText(entry, then, longestCount(entry))));
            }
            QVERIFY2(wrapped, qPrintable(label->objectName()));
        }
    }

    // Past 11/19/2050 03:14:07 the 5200 overflows: one warning that says so,
    // not one per tick, the other counters going on; a click on its button lets
    // it be told again.
    void failuresOfConsolesAreToldOncePerTimer() {
        TestProgram program;
        program.clock.set({2050, 11, 19, 3, 14, 8});
        program.start();
        program.click("Form1", "cmdCommand5200");
        program.click("Form1", "cmdPS2");
        for (int i = 0; i < 10; ++i) {
            program.tick("Form1", "Timer2");
            program.tick("Form1", "Timer6");
        }
        QCOMPARE(program.messages.told().size(), 1);
        QVERIFY(program.messages.told()[0].contains("68 years"));
        QCOMPARE(program.text("Form1", "lblLabel1"), designCaption);  // no caption set
        QVERIFY(program.text("Form1", "lblLabel2").startsWith(" The PS2 was released "));
        QCOMPARE(program.running("Form1"), QStringList({"Timer2", "Timer22", "Timer6"}));  // no rebuild

        program.click("Form1", "cmdCommand5200");
        program.tick("Form1", "Timer2");
        program.tick("Form1", "Timer2");
        QCOMPARE(program.messages.shown.size(), 2);

    }

    // Every result label, on both windows, and no other, copies what it shows
    // with the platform's own line breaks.
    void copyPutsTheLabelTextOnTheClipboard() {
        StartedProgram program;
        program.openHandheld();
        program.click("Form1", "cmdPS2");
        program.tick("Form1", "Timer6");
        auto label = program.find<QLabel>("Form1", "lblLabel2");
        label->actions()[0]->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString(label->text()).replace("\r\n", "\n"));
        for (const char* name : {"lblLabel1", "lblLabel3", "lblLabel4", "lblLabel5", "lblCustom"})
            QCOMPARE(program.find<QLabel>("Form1", name)->actions().size(), 1);
        QCOMPARE(program.find<QLabel>("Form2", "lblAgelark")->actions().size(), 1);
        QVERIFY(program.find<QLabel>("Form1", "lblClock")->actions().isEmpty());
    }

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
        for (const char* box : {"Picture1", "Picture2", "Picture3", "Picture4", "Picture5"})  // the title picture
            QVERIFY(!program.find<QLabel>("Form1", box)->pixmap().isNull());
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

        // A change of the time format shows at the next tick; the locale's own separators, and no time zone
        // where the locale puts one.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        program.tick("Form1", "Timer22");
        QCOMPARE(program.text("Form1", "lblClock"), QString("15:07:09"));
        QCOMPARE(clockText(QTime(15, 7, 9), QLocale(QLocale::Finnish, QLocale::Finland)), QString("15.07.09"));
        QCOMPARE(clockText(QTime(15, 7, 9), QLocale(QLocale::Chinese, QLocale::China)), QString("15:07:09"));
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
        for (const char* box : {"Picture1", "Picture2", "Picture3", "Picture4", "Picture5"})
            QVERIFY(program.find<QLabel>("Form1", box)->pixmap().isNull());
        program.openHandheld();
        QCOMPARE(shownOver, QStringList({"Form1", "Form2"}));
        for (const RecordingMessageBoxes::Shown& box : program.messages.shown)
            for (const QString& phrase : {QStringLiteral("\"Agelark.jpg\""), told, program.appFolder()})
                QVERIFY2(box.text.contains(phrase), qPrintable(box.text));
    }

    // Submit checks nothing: the ticks count from the box texts, a second at a
    // time (the forms a date may take, and how far, are the engine's).
    void submitStartsTheCountUp() {
        StartedProgram program;
        auto label = program.find<QLabel>("Form1", "lblCustom");
        setTextColor(label, Qt::red);
        program.find<QLineEdit>("Form1", "txtCusThen")->setText("01/01/2015");
        program.click("Form1", "cmdCustom");
        QCOMPARE(program.find<QTimer>("Form1", "Timer24")->interval(), 100);  // ten times a second
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(program.text("Form1", "txtCusNow"), QString("12/5/2026 11:10:00 AM"));
        QVERIFY(!program.find<QLineEdit>("Form1", "txtCusThen")->isReadOnly());
        QCOMPARE(program.running("Form1"), QStringList({"Timer22", "Timer24"}));
        program.clock.advanceSeconds(1);
        program.tick("Form1", "Timer24");
        QCOMPARE(label->text(), QString("4356 Days, 11:10:01"));
        QVERIFY(program.find<QLineEdit>("Form1", "txtCusThen")->isReadOnly());  // counting: its date is kept
    }

    // The main window starts over on the page of what asked, as designed, the
    // handheld window untouched and counting. A failure says why, over the new
    // window, while the old one is already stopped; the pad keeps what was typed.
    // Reset says nothing and reads the notes file again. It all comes round again.
    void rebuilds_data() {
        QTest::addColumn<QString>("trigger");  // Reset, the 2600, or the text the count-up counts from
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("notice");
        QTest::newRow("Reset") << "Reset" << 5 << QString();
        QTest::newRow("a word to count from") << "yesterday" << 5 << improperFormat;
        QTest::newRow("too far back") << "12/05/1975" << 5 << improperFormat;
        QTest::newRow("too far ahead") << "12/05/2116" << 5 << improperFormat;
        QTest::newRow("a time alone, on day zero") << "22:00:00" << 5 << improperFormat;
        QTest::newRow("the 2600 past its limit") << "2600" << 0 << atariNotice;
    }
    void rebuilds() {
        QFETCH(QString, trigger);
        QFETCH(int, tab);
        QFETCH(QString, notice);
        TestProgram program;
        program.clock.set({2045, 9, 29, 3, 14, 8});  // the 2600's first second too many
        program.start();
        program.processEvents();
        const QString typed = QString::fromUtf8("typed, not saved\n\u00a0");
        notesPad(program.window("Form1"))->setPlainText(typed);
        program.click("Form1", "cmdWii");
        program.openHandheld("cmdNDS");
        QPointer<FormWindow> old = program.window("Form1"), form2 = program.window("Form2");
        const auto ask = [&] {
            if (trigger == "Reset") {
                program.click("Form1", "cmdReset");
            } else if (trigger == "2600") {
                program.click("Form1", "cmdCommand2600");
                program.tick("Form1", "Timer1");
            } else {
                program.find<QLineEdit>("Form1", "txtCusThen")->setText(trigger);
                program.click("Form1", "cmdCustom");
                program.tick("Form1", "Timer24");
            }
        };
        QStringList oldRunning{"not seen"}, handheldRunning;  // while the box is open
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            oldRunning = runningTimers(old);
            handheldRunning = program.running("Form2");
        };
        ask();
        program.verifyRebuilt(old, tab);
        const std::unique_ptr<FormWindow> design(createForm1());
        for (const char* name :
             {"lblLabel1", "txtAtari", "NowText", "lblLabel4", "txtNes", "txtCusThen", "txtCusNow", "lblCustom"}) {
            const QWidget *now = program.find<QWidget>("Form1", name), *designed = design->findChild<QWidget*>(name);
            QCOMPARE(textOf(now), textOf(designed));
            QCOMPARE(now->palette().color(QPalette::WindowText), designed->palette().color(QPalette::WindowText));
            QCOMPARE(now->isEnabled(), designed->isEnabled());
        }
        QVERIFY(!program.find<QLabel>("Form1", "lblByWendrix_0")->isHidden());
        QCOMPARE(program.window("Form2"), form2.data());
        QCOMPARE(runningTimers(form2), QStringList{"Timer5"});
        if (notice.isEmpty()) {
            QVERIFY(program.messages.shown.isEmpty());
            QCOMPARE(padText(program.window("Form1")), QString("Notes\n"));
        } else {
            QCOMPARE(program.messages.told(), QStringList{"information: " + notice});
            QCOMPARE(program.messages.shown[0].parentName, QString("Form1"));
            QCOMPARE(oldRunning, QStringList());
            QCOMPARE(handheldRunning, QStringList{"Timer5"});
            QCOMPARE(padText(program.window("Form1")), typed);
        }
        old = program.window("Form1");
        ask();
        program.verifyRebuilt(old, tab);
    }
};

QTEST_MAIN(CountersTest)
#include "test_counters.moc"
