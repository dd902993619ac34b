// Text that fits, as the windows were designed: every console's report at its
// longest stands on its three lines inside its picture box; the digital labels
// show their descenders; the instructions fit their read-only box.

#include <QAbstractScrollArea>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include "engine/age.h"
#include "engine/catalogue.h"
#include "engine/date_text.h"
#include "platform/controls.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

// How the label lays out its text, as QLabel draws word-wrapped plain text.
QRect laidOut(const QLabel* label, const QString& text) {
    const QRect room(QPoint(0, 0), QSize(label->contentsRect().width(), 100000));
    return label->fontMetrics().boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, text);
}

// The longest count a console shows: 2,147,483,647 seconds after it came out.
CivilDateTime lastCountedSecond(const ConsoleEntry& entry) {
    return civilFromSerial(parseDateText(entry.countFromText) + 2147483647.0 / 86400.0);
}

}  // namespace

class FitTest : public QObject {
    Q_OBJECT
private slots:
    void everyReportOnItsThreeLines_data() {
        QTest::addColumn<int>("row");
        for (const ConsoleEntry& e : catalogue()) QTest::newRow(e.button.data()) << int(&e - catalogue().data());
    }

    void everyReportOnItsThreeLines() {
        QFETCH(int, row);
        const ConsoleEntry& entry = catalogue()[std::size_t(row)];
        const QString window = qtext(windowName(entry.window));
        StartedProgram program;
        if (entry.window == WindowId::Form2) program.openHandheld();
        program.clock.set(lastCountedSecond(entry));
        program.click(window, qtext(entry.button));
        program.tick(window, qtext(entry.timer));

        auto label = program.find<QLabel>(window, qtext(entry.resultLabel));
        const QString report = label->text();
        QVERIFY2(report.contains("24855 Days, 03:14:07 Ago"), qPrintable(report));
        QCOMPARE(label->font().pointSizeF(), entry.labelFontSize);
        // Three lines: no line wraps in the label's width.
        QCOMPARE(report.count("\r\n"), 2);
        const QRect text = laidOut(label, report);
        const QRect unwrapped = label->fontMetrics().boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft, report);
        QCOMPARE(text.height(), unwrapped.height());
        for (const QString& line : report.split("\r\n"))
            QVERIFY2(label->fontMetrics().boundingRect(line).right() < label->contentsRect().width(), qPrintable(line));
        // Inside the picture box, above its frame.
        auto picture = program.find<QLabel>(window, qtext(entry.pictureBox));
        QVERIFY(label->parentWidget() == picture);
        QVERIFY(picture->contentsRect().contains(label->geometry()));
        QVERIFY(text.height() <= label->height());
    }

    // The title and credit lines of the picture boxes show whole, their
    // descenders ("g", "y") too, on every page and in the handheld window.
    void digitalLabelsShowTheirDescenders() {
        StartedProgram program;
        program.openHandheld();
        int labels = 0;
        for (const char* window : {"Form1", "Form2"}) {
            for (QLabel* label : program.window(window)->findChildren<QLabel*>()) {
                const QString name = label->objectName();
                if (!name.startsWith("lblByWendrix_") && !name.startsWith("lblLabel") && name != "lblAgelark") continue;
                ++labels;
                const QString where = QStringLiteral("%1 %2 '%3'").arg(window, name, label->text());
                const QRect text = laidOut(label, label->text());
                QVERIFY2(text.height() >= label->fontMetrics().height(), qPrintable(where));
                QVERIFY2(text.height() <= label->contentsRect().height(), qPrintable(where));
                QVERIFY2(label->parentWidget()->contentsRect().contains(label->geometry()), qPrintable(where));
            }
        }
        QCOMPARE(labels, 2 * 6);
    }

    // The instructions can be read, not typed into, and fit their box: every
    // line on one line, no scroll bar.
    void instructionsFitTheirBox() {
        StartedProgram program;
        program.tabs()->setCurrentIndex(5);
        auto help = program.find<QPlainTextEdit>("Form1", "txtCustom");
        QVERIFY(help->isReadOnly());
        QVERIFY(help->isVisible());
        program.processEvents();
        QVERIFY(!help->verticalScrollBar()->isVisible());
        QVERIFY(!help->horizontalScrollBar()->isVisible());
        QVERIFY(help->toPlainText().contains("Format Example: 01/01/2015"));
        for (QTextBlock block = help->document()->begin(); block.isValid(); block = block.next())
            QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
        QTest::keyClicks(help, "typed");
        QVERIFY(!help->toPlainText().contains("typed"));
    }
};

QTEST_MAIN(FitTest)
#include "test_fit.moc"
