// The live console counters: a click selects a console, its timer's ticks
// count its age up in the group's result label; a failing count is told once
// per timer; the result labels' Copy.

#include <QClipboard>
#include <QGuiApplication>

#include "engine/age.h"
#include "engine/catalogue.h"
#include "engine/date_text.h"
#include "platform/control_values.h"
#include "platform/controls.h"
#include "tests/support/test_program.h"
#include "ui/copy_menu.h"

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

        // A click whose picture is missing names the file and switches no timer.
        QVERIFY(QFile::remove(program.path("ps3.jpg")));
        program.click("Form1", "cmdPS3");
        QCOMPARE(program.messages.shown.size(), 3);
        QVERIFY(program.messages.told()[2].contains("\"ps3.jpg\" is missing"));
        QCOMPARE(program.running("Form1"), QStringList({"Timer2", "Timer22", "Timer6"}));
        QCOMPARE(program.text("Form1", "txtPs"), QString("03/04/2000"));
    }

    // Every result label, on both windows, and no other, copies what it shows
    // with the platform's own line breaks.
    void copyPutsTheLabelTextOnTheClipboard() {
        StartedProgram program;
        program.openHandheld();
        program.click("Form1", "cmdPS2");
        program.tick("Form1", "Timer6");
        auto label = program.find<QLabel>("Form1", "lblLabel2");
        QCOMPARE(label->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(label->actions()[0]->text(), QString("Copy"));
        label->actions()[0]->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString(label->text()).replace("\r\n", "\n"));
        for (const char* name : {"lblLabel1", "lblLabel3", "lblLabel4", "lblLabel5", "lblCustom"})
            QCOMPARE(program.find<QLabel>("Form1", name)->actions().size(), 1);
        QCOMPARE(program.find<QLabel>("Form2", "lblAgelark")->actions().size(), 1);
        QVERIFY(program.find<QLabel>("Form1", "lblClock")->actions().isEmpty());
        QCOMPARE(withPlatformLineBreaks("a\rb\r\nc"), QString("a\nb\nc"));
    }
};

QTEST_MAIN(CountersTest)
#include "test_counters.moc"
