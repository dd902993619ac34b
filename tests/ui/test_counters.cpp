// What the windows count and show: the start and its files, the clock, each console's count and its failures,
// the results' Copy, the count-up, and the main window's rebuild that Reset shares with the failing counts.

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QTime>
#include <algorithm>

#include "engine/age.h"
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

    // Every console: its picture, it alone of its page counting (another page's going on), the label's colour
    // and size, the date box, the byline hidden; the report comes with the window's next beat, copies as shown,
    // and stands whole in the picture box, each line where it is drawn, up to the longest count.
    void clickThenTick() {
        QFETCH(int, row);
        const ConsoleEntry& entry = catalogue()[std::size_t(row)];
        const QString window = entry.page == Page::Handheld ? "Form2" : "Form1";
        StartedProgram program;
        if (window == "Form2") program.openHandheld();
        const ConsoleEntry& other = catalogue()[entry.page == Page::Atari ? 20 : 0];  // of another page of Form1
        program.click("Form1", qtext(other.button));
        const auto page = consolesOn(entry.page);
        program.click(window, qtext((page.front() == &entry ? page.back() : page.front())->button));
        program.tick(window);  // its report, this second

        const ConsolePage& shown = window == "Form1" ? program.main()->page(entry.page) : handheldWindow()->page();
        const qint64 titleKey = shown.picture()->pixmap().cacheKey();
        ReportLabel* label = shown.result();
        const QString before = label->text();
        program.click(window, qtext(entry.button));
        QVERIFY(!shown.picture()->pixmap().isNull() && shown.picture()->pixmap().cacheKey() != titleKey);
        QStringList counting = program.counting("Form1") + program.counting("Form2");
        QVERIFY(counting.removeOne(qtext(other.button)));
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
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), qtext(reportText(entry, then, dateSerial(2026, 12, 5, 11, 10, 1))), 5000);
        if (window == "Form2") QCOMPARE(program.text(window, "txtNow"), QString("12/5/2026 11:10:01 AM"));
        QVERIFY(program.messages.shown.isEmpty());
        QCOMPARE(label->actions().size(), 1);  // Copy, with the platform's line breaks
        label->actions()[0]->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), label->text().replace("\r\n", "\n"));

        program.clock.set(civilFromSerial(longestCount(entry)));
        program.tick(window);
        QVERIFY2(label->text().contains("\r\n24855 Days, 03:14:07 Ago \r\n"), qPrintable(label->text()));
        QVERIFY(fits(label, label->font(), label->text()));
        QVERIFY(label->fontMetrics().lineSpacing() * 3 <= label->height());
        QVERIFY(shown.picture()->contentsRect().contains(label->geometry()));
        const QImage shot = label->grab().toImage();  // ink of the label's colour in each line's band
        const int spacing = label->fontMetrics().lineSpacing() * int(shot.devicePixelRatio());
        for (int line = 0; line < 3; ++line) {
            int ink = 0;
            for (int y = line * spacing; y < (line + 1) * spacing; ++y)
                for (int x = 0; x < shot.width(); ++x) ink += contrast(shot.pixelColor(x, y), colorFromBgr(entry.labelColour)) < 1.2;
            QVERIFY2(ink > 20, qPrintable(QStringLiteral("line %1: %2").arg(line).arg(ink)));
        }
    }

    // The report face is narrowed only as far as the longest reports need: two stretch steps wider (one is
    // rounding, one the blank each line ends with), a report would wrap. The caption before the first report
    // is not narrowed.
    void reportFaceNoNarrowerThanNeeded() {
        StartedProgram program;
        program.openHandheld();
        QCOMPARE(program.find<QWidget>("Form1", "lblLabel1")->font().stretch(), int(QFont::AnyStretch));
        program.click("Form1", "cmdCommand2600");
        program.click("Form2", "cmdGB");
        for (const QWidget* label : {program.find<QWidget>("Form1", "lblLabel1"), program.find<QWidget>("Form2", "lblAgelark")}) {
            QFont wider = label->font();
            wider.setStretch(wider.stretch() + 2);
            QVERIFY2(std::any_of(catalogue().begin(), catalogue().end(), [&](const ConsoleEntry& e) {
                wider.setPointSizeF(e.labelPoints);
                return !fits(label, wider, qtext(reportText(e, parseDateText(e.countFrom), longestCount(e))));
            }), qPrintable(label->objectName()));
        }
    }

    // Past 11/19/2050 03:14:07 the 5200 overflows: one warning that says so, not one per beat, the other counts
    // going on; a click on its button lets it be told again. Submit checks nothing: the count-up counts from the
    // box's text a second at a time, in the text colour of the desktop's style, its date then kept.
    void failureToldOnceTheOtherCountsGoingOn() {
        TestProgram program;
        program.clock.set({2050, 11, 19, 3, 14, 8});
        program.start();
        auto label = program.find<QLabel>("Form1", "lblCustom");
        setTextColor(label, Qt::red);
        program.tick();  // this second shown
        program.find<QLineEdit>("Form1", "txtCusThen")->setText("01/01/2015");
        program.click("Form1", "cmdCustom");
        QCOMPARE(label->palette().color(QPalette::WindowText), label->parentWidget()->palette().color(QPalette::WindowText));
        QCOMPARE(program.text("Form1", "txtCusNow"), QString("11/19/2050 3:14:08 AM"));
        QVERIFY(!program.find<QLineEdit>("Form1", "txtCusThen")->isReadOnly());
        program.tick();  // in the same second, its first count
        QCOMPARE(label->text(), QString("13106 Days, 03:14:08"));
        program.click("Form1", "cmdCommand5200");
        program.click("Form1", "cmdPS2");
        for (int i = 0; i < 10; ++i) program.clock.advanceSeconds(1), program.tick();  // ten seconds failing
        QCOMPARE(program.messages.told().size(), 1);
        QVERIFY(program.messages.told()[0].contains("68 years"));
        QCOMPARE(program.text("Form1", "lblLabel1"), QString("Agelark v2.5"));  // no caption set
        QVERIFY(program.text("Form1", "lblLabel2").startsWith(" The PS2 was released "));
        QCOMPARE(label->text(), QString("13106 Days, 03:14:18"));
        QVERIFY(program.find<QLineEdit>("Form1", "txtCusThen")->isReadOnly());
        QCOMPARE(label->actions().size(), 1);  // Copy
        label->actions()[0]->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), label->text());
        QCOMPARE(program.counting("Form1"), QStringList({"cmdCommand5200", "cmdPS2", "count-up"}));  // no rebuild
        program.click("Form1", "cmdCommand5200");
        for (int i = 0; i < 2; ++i) program.tick();
        QCOMPARE(program.messages.shown.size(), 2);
    }

    // The main window alone on its first page, only the clock running, empty until its first tick; the title
    // picture on each page of both windows; the notes file in the pad, none made where there is none. A bad title
    // picture is told over each window, which and where it was looked for, and the load goes on without it.
    void startUp_data() {
        QTest::addColumn<QByteArray>("picture");  // the title picture's bytes, "built" as built; none: no file
        QTest::addColumn<QByteArray>("notes");    // the notes file's bytes; none: no file
        QTest::addColumn<QString>("told");        // what is said of the picture
        QTest::newRow("no notes file") << QByteArray("built") << QByteArray() << QString();
        QTest::newRow("title picture missing") << QByteArray() << QByteArray("user's notes") << "is missing";
        QTest::newRow("title picture unreadable") << QByteArray("not a picture") << QByteArray("user's notes") << "cannot be read";
    }
    void startUp() {
        QFETCH(QByteArray, picture);
        QFETCH(QByteArray, notes);
        QFETCH(QString, told);
        TestProgram program;
        QVERIFY(picture == "built" || QFile::remove(program.path("Agelark.jpg")));
        QVERIFY(picture == "built" || picture.isNull() || writeFile(program.path("Agelark.jpg"), picture));
        QVERIFY(notes.isNull() ? QFile::remove(program.path("Notes.txt")) : writeFile(program.path("Notes.txt"), notes));
        program.clock.set({2026, 12, 5, 15, 7, 9});
        QStringList shownOver;
        program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown& box) {
            if (QWidget* over = program.window(box.parentName); over && over->isVisible()) shownOver << box.parentName;
        };
        program.start();
        QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{program.main()});
        QVERIFY(program.main()->isVisible());
        QCOMPARE(program.tabs()->currentIndex(), 0);
        for (const char* box : {"Picture1", "Picture2", "Picture3", "Picture4", "Picture5"})
            QCOMPARE(program.find<QLabel>("Form1", box)->pixmap().isNull(), !told.isEmpty());
        QCOMPARE(program.counting("Form1"), QStringList());
        QCOMPARE(program.text("Form1", "lblClock"), QString());
        QTRY_COMPARE(program.text("Form1", "lblClock"), QString("3:07:09 PM"));
        QVERIFY(program.find<QWidget>("Form1", "lblClock")->actions().isEmpty());  // no Copy
        QTRY_COMPARE(program.pad()->text(), notes.isNull() ? QString("Notes\n") : QString(notes));
        QCOMPARE(QFile::exists(program.path("Notes.txt")), !notes.isNull());
        program.openHandheld();
        program.processEvents();
        QCOMPARE(program.find<QLabel>("Form2", "Picture1")->pixmap().toImage(),
                 program.find<QLabel>("Form1", "Picture1")->pixmap().toImage());
        QCOMPARE(program.counting("Form2"), QStringList());
        QCOMPARE(program.messages.shown.size(), told.isEmpty() ? 0 : 2);
        QCOMPARE(shownOver, told.isEmpty() ? QStringList() : QStringList({"Form1", "Form2"}));
        for (const RecordingMessageBoxes::Shown& box : program.messages.shown)
            for (const QString& phrase : {QStringLiteral("\"Agelark.jpg\""), told, program.appFolder()})
                QVERIFY2(box.text.contains(phrase), qPrintable(box.text));

        // A change of the time format shows at the next second: the locale's separators, and no time zone.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        program.clock.advanceSeconds(1);
        program.tick();
        QCOMPARE(program.text("Form1", "lblClock"), QString("15:07:10"));
        QCOMPARE(clockText(QTime(15, 7, 9), QLocale(QLocale::Finnish, QLocale::Finland)), QString("15.07.09"));
        QCOMPARE(clockText(QTime(15, 7, 9), QLocale(QLocale::Chinese, QLocale::China)), QString("15:07:09"));
    }

    // The main window starts over, as designed, on the page of what asked, the handheld window untouched and
    // counting, the pad keeping what was typed and taking typing. A failure says why over the new window, the old
    // one already stopped; Reset says nothing. Twice, as it all comes round again.
    void rebuilds_data() {
        QTest::addColumn<QString>("trigger");  // Reset, the 2600, or the text the count-up counts from
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("notice");
        QTest::newRow("Reset") << "Reset" << 5 << QString();
        QTest::newRow("a word to count from") << "yesterday" << 5 << improperFormat;
        QTest::newRow("too far back") << "12/05/1975" << 5 << improperFormat;
        QTest::newRow("a second ahead") << "9/29/2045 3:14:09" << 5 << improperFormat;
        QTest::newRow("a time alone, on day zero") << "22:00:00" << 5 << improperFormat;
        QTest::newRow("the 2600 past its limit") << "2600" << 0 << "This program no longer functions correctly due "
                                                                     "to time.\r\nEventually all consoles will stop working.";
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
        QPointer<QWidget> form2 = program.window("Form2");
        for (int round = 0; round < 2; ++round) {
            QPointer<MainWindow> old = program.main();
            QStringList meanwhile;  // while the box is open: the old window's running timers, what counts on Form2
            program.messages.shown.clear();
            program.messages.whileOpen = [&](const RecordingMessageBoxes::Shown&) {
                meanwhile << QString::number(old ? runningTimers(old) : 0) << program.counting("Form2");
            };
            if (trigger != "Reset" && trigger != "2600") program.find<QLineEdit>("Form1", "txtCusThen")->setText(trigger);
            program.click("Form1", trigger == "Reset" ? "cmdReset" : trigger == "2600" ? "cmdCommand2600" : "cmdCustom");
            if (trigger != "Reset") program.tick();  // the count that fails
            program.processEvents();
            QVERIFY(!old);
            QVERIFY(program.main() && program.main()->isVisible());
            QCOMPARE(program.tabs()->currentIndex(), tab);
            QCOMPARE(program.counting("Form1"), QStringList());
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
            QCOMPARE(program.messages.told(), notice.isEmpty() ? QStringList() : QStringList{"information: " + notice});
            QCOMPARE(meanwhile, notice.isEmpty() ? QStringList() : QStringList({"0", "cmdNDS"}));
            QVERIFY(notice.isEmpty() || program.messages.shown[0].parentName == "Form1");
        }
    }
};

QTEST_MAIN(CountersTest)
#include "test_counters.moc"
