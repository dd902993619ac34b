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
#include "tests/support/notes_files.h"
#include "tests/support/test_program.h"
#include "ui/clock.h"
#include "ui/console_page.h"
#include "ui/design_kit.h"
#include "ui/handheld_window.h"
#include "ui/report_label.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

// The report at the longest count there is, one second short of 32 bits of seconds.
double longestCount(const ConsoleEntry& entry) { return parseDateText(entry.countFrom) + 2147483647.0 / 86400; }

QString windowOf(const ConsoleEntry& entry) { return entry.page == Page::Handheld ? "Form2" : "Form1"; }

// Whether every line of `report` in `font`, ink and all, stays inside `result`.
bool fits(const QWidget* result, const QFont& font, const QString& report) {
    for (const QString& line : report.split("\r\n"))
        if (QFontMetrics(font).boundingRect(line).right() >= result->width()) return false;
    return true;
}

}  // namespace

class CountersTest : public QObject {
    Q_OBJECT
private slots:
    void clickThenTick_data() {
        QTest::addColumn<int>("row");
        for (const ConsoleEntry& e : catalogue()) QTest::newRow(e.button.data()) << int(&e - catalogue().data());
    }

    // Every console: its picture, it alone of its page counting (another
    // page's going on), the label's colour and size, the date box, the byline
    // hidden; the report comes with the window's next beat, its page hidden or
    // not, and stands whole in the picture box up to the longest count.
    void clickThenTick() {
        QFETCH(int, row);
        const ConsoleEntry& entry = catalogue()[std::size_t(row)];
        const QString window = windowOf(entry);
        StartedProgram program;
        if (window == "Form2") program.openHandheld();
        const ConsoleEntry& other = catalogue()[entry.page == Page::Atari ? 20 : 0];  // of another page
        program.click(windowOf(other), qtext(other.button));
        const auto page = consolesOn(entry.page);
        program.click(window, qtext((page.front() == &entry ? page.back() : page.front())->button));
        program.tick(window);  // its report, this second

        const ConsolePage& shown = window == "Form1" ? program.main()->page(entry.page) : handheldWindow()->page();
        const qint64 titleKey = shown.picture()->pixmap().cacheKey();
        ReportLabel* label = shown.result();
        const QString before = label->text();
        program.click(window, qtext(entry.button));
        QVERIFY(!shown.picture()->pixmap().isNull() && shown.picture()->pixmap().cacheKey() != titleKey);
        QVERIFY(program.counting(windowOf(other)).contains(qtext(other.button)));
        QStringList counting = program.counting(window);
        counting.removeOne(qtext(other.button));
        QCOMPARE(counting, QStringList{qtext(entry.button)});
        QCOMPARE(label->palette().color(QPalette::WindowText), colorFromBgr(entry.labelColour));
        QCOMPARE(label->font().pointSizeF(), entry.labelPoints);
        QCOMPARE(textOf(shown.picture()->parentWidget()->findChild<QLineEdit*>()), qtext(entry.countFrom));
        QVERIFY(shown.picture()->findChildren<QLabel*>().last()->isHidden());  // the byline
        QCOMPARE(label->text(), before);  // the click leaves the caption to the next beat
        const double then = parseDateText(entry.countFrom);
        program.tick(window);  // in the same second
        QCOMPARE(label->text(), qtext(reportText(entry, then, dateSerial(2026, 12, 5, 11, 10, 0))));

        program.clock.advanceSeconds(1);
        const QString report = qtext(reportText(entry, then, dateSerial(2026, 12, 5, 11, 10, 1)));
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), report, 5000);
        if (window == "Form2") QCOMPARE(program.text(window, "txtNow"), QString("12/5/2026 11:10:01 AM"));
        QVERIFY(program.messages.shown.isEmpty());

        // Its longest report on its three lines, none wrapped nor its ink cut, inside the picture box.
        program.clock.set(civilFromSerial(longestCount(entry)));
        program.tick(window);
        QVERIFY2(label->text().contains("\r\n24855 Days, 03:14:07 Ago \r\n"), qPrintable(label->text()));
        QVERIFY(fits(label, label->font(), label->text()));
        QVERIFY(label->fontMetrics().lineSpacing() * 3 <= label->height());
        QVERIFY(shown.picture()->contentsRect().contains(label->geometry()));
        // Drawn where they stand: ink of the label's colour in each line's band.
        const QImage shot = label->grab().toImage();
        const int spacing = label->fontMetrics().lineSpacing() * int(shot.devicePixelRatio());
        for (int line = 0; line < 3; ++line) {
            int ink = 0;
            for (int y = line * spacing; y < (line + 1) * spacing; ++y)
                for (int x = 0; x < shot.width(); ++x) ink += contrast(shot.pixelColor(x, y), colorFromBgr(entry.labelColour)) < 1.2;
            QVERIFY2(ink > 20, qPrintable(QStringLiteral("line %1: %2").arg(line).arg(ink)));
        }
    }

    // The report face is narrowed only as far as the longest lines need: two
    // steps wider, a report would wrap (one step is rounding, one the blank each
    // line ends with).
    void reportFaceNoNarrowerThanNeeded() {
        StartedProgram program;
        program.openHandheld();
        for (const QWidget* label : {program.find<QWidget>("Form1", "lblLabel1"), program.find<QWidget>("Form2", "lblAgelark")}) {
            bool wrapped = false;
            for (const ConsoleEntry& entry : catalogue()) {
                QFont wider = label->font();
                wider.setStretch(wider.stretch() + 2);
                wider.setPointSizeF(entry.labelPoints);
                const double then = parseDateText(entry.countFrom);
                wrapped = wrapped || !fits(label, wider, qtext(reportText(entry, then, longestCount(entry))));
            }
            QVERIFY2(wrapped, qPrintable(label->objectName()));
        }
    }

    // Past 11/19/2050 03:14:07 the 5200 overflows: one warning that says so,
    // not one per beat, the other counts going on; a click on its button lets
    // it be told again.
    void failuresOfConsolesAreToldOnceUntilChosenAgain() {
        TestProgram program;
        program.clock.set({2050, 11, 19, 3, 14, 8});
        program.start();
        program.click("Form1", "cmdCommand5200");
        program.click("Form1", "cmdPS2");
        for (int i = 0; i < 10; ++i) program.tick();
        QCOMPARE(program.messages.told().size(), 1);
        QVERIFY(program.messages.told()[0].contains("68 years"));
        QCOMPARE(program.text("Form1", "lblLabel1"), designCaption);  // no caption set
        QVERIFY(program.text("Form1", "lblLabel2").startsWith(" The PS2 was released "));
        QCOMPARE(program.counting("Form1"), QStringList({"cmdCommand5200", "cmdPS2"}));  // no rebuild

        program.click("Form1", "cmdCommand5200");
        program.tick();
        program.tick();
        QCOMPARE(program.messages.shown.size(), 2);
    }

    // Every result, on both windows, and no other label, copies what it shows with the platform's line breaks.
    void copyPutsTheResultOnTheClipboard() {
        StartedProgram program;
        program.openHandheld();
        program.click("Form1", "cmdPS2");
        program.tick();
        for (const char* name : {"lblLabel1", "lblLabel2", "lblLabel3", "lblLabel4", "lblLabel5", "lblCustom"})
            program.find<QWidget>("Form1", name)->actions().value(0)->trigger();  // the last one's text stays
        program.find<QWidget>("Form1", "lblLabel2")->actions().value(0)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), program.text("Form1", "lblLabel2").replace("\r\n", "\n"));
        QVERIFY(program.find<QWidget>("Form2", "lblAgelark")->actions().size() == 1 &&
                program.find<QWidget>("Form1", "lblClock")->actions().isEmpty());
    }

    // The main window alone, on its first page, the title picture on every
    // page and only the clock running, empty until its timer's first tick; a
    // missing notes file leaves the pad's first text and is not made.
    void startUpState() {
        TestProgram program;
        QVERIFY(QFile::remove(program.path("Notes.txt")));
        program.clock.set({2026, 12, 5, 15, 7, 9});
        program.start();
        QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{program.main()});
        QVERIFY(program.main()->isVisible());
        QCOMPARE(program.tabs()->currentIndex(), 0);
        for (const char* box : {"Picture1", "Picture2", "Picture3", "Picture4", "Picture5"})  // the title picture
            QVERIFY(!program.find<QLabel>("Form1", box)->pixmap().isNull());
        QCOMPARE(program.counting("Form1"), QStringList());
        QCOMPARE(program.text("Form1", "lblClock"), QString());
        QTRY_COMPARE(program.text("Form1", "lblClock"), QString("3:07:09 PM"));
        QCOMPARE(program.pad()->text(), QString("Notes\n"));
        QVERIFY(!QFile::exists(program.path("Notes.txt")));
        program.openHandheld();
        QCOMPARE(program.find<QLabel>("Form2", "Picture1")->pixmap().toImage(),
                 program.find<QLabel>("Form1", "Picture1")->pixmap().toImage());
        QCOMPARE(program.counting("Form2"), QStringList());
        QVERIFY(program.messages.shown.isEmpty());

        // A change of the time format shows at the next tick; the locale's own separators, and no time zone
        // where the locale puts one.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        program.tick();
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
            if (QWidget* over = program.window(box.parentName); over && over->isVisible())
                shownOver << box.parentName;
        };
        program.start();
        QTRY_COMPARE(program.pad()->text(), QString("notes of the user"));
        QTRY_VERIFY(!program.text("Form1", "lblClock").isEmpty());  // the clock runs
        for (const char* box : {"Picture1", "Picture2", "Picture3", "Picture4", "Picture5"})
            QVERIFY(program.find<QLabel>("Form1", box)->pixmap().isNull());
        program.openHandheld();
        program.processEvents();
        QCOMPARE(shownOver, QStringList({"Form1", "Form2"}));
        for (const RecordingMessageBoxes::Shown& box : program.messages.shown)
            for (const QString& phrase : {QStringLiteral("\"Agelark.jpg\""), told, program.appFolder()})
                QVERIFY2(box.text.contains(phrase), qPrintable(box.text));
    }

    // Submit checks nothing: the beats count from the box's text, a second at
    // a time (the forms a date may take are the engine's), in the text colour
    // of the desktop's style.
    void submitStartsTheCountUp() {
        StartedProgram program;
        auto label = program.find<QLabel>("Form1", "lblCustom");
        setTextColor(label, Qt::red);
        program.find<QLineEdit>("Form1", "txtCusThen")->setText("01/01/2015");
        program.click("Form1", "cmdCustom");
        QCOMPARE(label->palette().color(QPalette::WindowText), label->parentWidget()->palette().color(QPalette::WindowText));
        QCOMPARE(program.text("Form1", "txtCusNow"), QString("12/5/2026 11:10:00 AM"));
        QVERIFY(!program.find<QLineEdit>("Form1", "txtCusThen")->isReadOnly());
        QCOMPARE(program.counting("Form1"), QStringList{"count-up"});
        program.clock.advanceSeconds(1);
        program.tick();
        QCOMPARE(label->text(), QString("4356 Days, 11:10:01"));
        QVERIFY(program.find<QLineEdit>("Form1", "txtCusThen")->isReadOnly());  // counting: its date is kept
    }

    // The main window starts over on the page of what asked, as designed, the
    // handheld window untouched and counting, the pad keeping what was typed
    // (and taking typing). A failure says why, over the new window, while the
    // old one is already stopped; Reset says nothing. It all comes round again.
    void rebuilds_data() {
        QTest::addColumn<QString>("trigger");  // Reset, the 2600, or the text the count-up counts from
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("notice");
        QTest::newRow("Reset") << "Reset" << 5 << QString();
        QTest::newRow("a word to count from") << "yesterday" << 5 << improperFormat;
        QTest::newRow("too far back") << "12/05/1975" << 5 << improperFormat;
        QTest::newRow("a second ahead") << "9/29/2045 3:14:09" << 5 << improperFormat;
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
        program.pad()->setPlainText(typed);
        program.click("Form1", "cmdWii");
        program.openHandheld("cmdNDS");
        QPointer<MainWindow> old = program.main();
        QPointer<QWidget> form2 = program.window("Form2");
        const auto ask = [&] {
            if (trigger == "Reset") {
                program.click("Form1", "cmdReset");
            } else if (trigger == "2600") {
                program.click("Form1", "cmdCommand2600");
                program.tick();
            } else {
                program.find<QLineEdit>("Form1", "txtCusThen")->setText(trigger);
                program.click("Form1", "cmdCustom");
                program.tick();
            }
        };
        int oldRunning = -1;
        QStringList handheldCounting;  // while the box is open
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
            oldRunning = old ? runningTimers(old) : 0;
            handheldCounting = program.counting("Form2");
        };
        ask();
        program.verifyRebuilt(old, tab);
        const std::pair<const char*, const char*> designed[] = {
            {"lblLabel1", "Agelark v2.5"}, {"txtAtari", "atari"}, {"lblLabel4", "Agelark v2.5"}, {"txtNes", "nesThen"},
            {"txtCusThen", ""}, {"txtCusNow", ""}, {"lblCustom", "Custom Result"}};
        for (const auto& [name, text] : designed) QCOMPARE(program.text("Form1", name), QString(text));
        QVERIFY(!program.find<QLineEdit>("Form1", "txtCusThen")->isReadOnly());
        QVERIFY(!program.find<QLabel>("Form1", "lblByWendrix_0")->isHidden());
        QCOMPARE(program.window("Form2"), form2.data());
        QCOMPARE(program.counting("Form2"), QStringList{"cmdNDS"});
        QCOMPARE(program.pad()->text(), typed);
        QVERIFY(!program.pad()->isReadOnly());
        if (notice.isEmpty()) {
            QVERIFY(program.messages.shown.isEmpty());
        } else {
            QCOMPARE(program.messages.told(), QStringList{"information: " + notice});
            QCOMPARE(program.messages.shown[0].parentName, QString("Form1"));
            QCOMPARE(oldRunning, 0);
            QCOMPARE(handheldCounting, QStringList{"cmdNDS"});
        }
        old = program.main();
        ask();
        program.verifyRebuilt(old, tab);
    }
};

QTEST_MAIN(CountersTest)
#include "test_counters.moc"
