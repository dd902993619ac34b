// The program without a mouse: Tab and Shift+Tab go through each page as it
// is read, and out of the notes pad; Enter in the date box submits it; Enter
// and Escape close the confirmation; the button with the focus shows it clearly.

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cmath>

#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

// The names of the controls the focus visits, pressing `key` `presses` times from `start`.
QStringList focusPath(QWidget* start, int presses, bool backwards = false) {
    start->setFocus(Qt::TabFocusReason);
    QStringList visited{QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "(none)"};
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        visited << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "(none)");
    }
    return visited;
}

bool activate(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// WCAG relative luminance and contrast ratio.
double luminance(QColor c) {
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
double contrast(QColor a, QColor b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private slots:
    // Forward through the page back to where it began, and backward the same way reversed.
    void tabGoesThroughEachPageAsItIsRead_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("order");
        const QString strip = "SSTTab1_tabs";
        QTest::newRow("Atari") << "Form1" << 0 << QStringList{strip, "cmdCommand2600", "cmdCommand5200", "cmdCommand7800",
                                                              "cmdXEGS", "cmdLYNX", "cmdCommandJag", "cmdQAV3_0"};
        QTest::newRow("Nintendo") << "Form1" << 1
                                  << QStringList{strip, "cmdNES", "cmdSNES", "cmdVBOY", "cmdN64", "cmdNGC", "cmdWii",
                                                 "cmdWiiu", "cmdSW", "cmdHandheld", "cmdQAV3_1"};
        QTest::newRow("Sega") << "Form1" << 2
                              << QStringList{strip, "cmdMS", "cmdGen", "cmdSat", "cmdNomad", "cmdDC", "cmdQAV3_2"};
        QTest::newRow("Sony") << "Form1" << 3
                              << QStringList{strip, "cmdPS1", "cmdPS2", "cmdPS3", "cmdPS4", "cmdPS5", "cmdPSP",
                                             "cmdPSPGO", "cmdVITA", "cmdQAV4_1"};
        QTest::newRow("Microsoft") << "Form1" << 4
                                   << QStringList{strip, "cmdXBOX", "cmd360", "cmdONE", "cmdSX", "cmdQAV5_1"};
        // The notes and their button, then the count-up's frame from the instructions down.
        QTest::newRow("Custom") << "Form1" << 5
                                << QStringList{strip,       "txtNotes",  "cmdSave", "txtCustom",
                                               "txtCusThen", "cmdCustom", "cmdReset"};
        QTest::newRow("handheld window") << "Form2" << -1
                                         << QStringList{"cmdGB", "cmdGBC", "cmdGBA", "cmdGBM", "cmdNDS", "cmd3DS", "cmdqAv"};
    }

    void tabGoesThroughEachPageAsItIsRead() {
        QFETCH(QString, window);
        QFETCH(int, page);
        QFETCH(QStringList, order);
        StartedProgram program;
        if (window == "Form2") program.openHandheld();
        if (page >= 0) program.tabs()->setCurrentIndex(page);
        QVERIFY(activate(program.window(window)));
        QWidget* first = program.find<QWidget>(window, order.first());
        QCOMPARE(focusPath(first, int(order.size())), order + QStringList{order.first()});
        QStringList backwards{order.first()};
        for (qsizetype i = order.size() - 1; i >= 0; --i) backwards << order[i];
        QCOMPARE(focusPath(first, int(order.size()), true), backwards);
    }

    // Tab in the notes pad goes on to Save Changes, and types no tab character.
    void tabLeavesTheNotesPad() {
        StartedProgram program;
        program.tabs()->setCurrentIndex(5);
        QVERIFY(activate(program.window("Form1")));
        auto pad = program.find<QPlainTextEdit>("Form1", "txtNotes");
        const QString before = pad->toPlainText();
        QCOMPARE(focusPath(pad, 1), (QStringList{"txtNotes", "cmdSave"}));
        QCOMPARE(focusPath(pad, 1, true), (QStringList{"txtNotes", "SSTTab1_tabs"}));
        QCOMPARE(pad->toPlainText(), before);
    }

    void enterInTheDateBoxSubmits() {
        StartedProgram program;
        program.tabs()->setCurrentIndex(5);
        QVERIFY(activate(program.window("Form1")));
        auto date = program.find<QLineEdit>("Form1", "txtCusThen");
        date->setFocus();
        QTest::keyClicks(date, "01/01/2015");
        QVERIFY(!program.running("Form1").contains("Timer24"));
        QTest::keyClick(date, Qt::Key_Return);
        QTRY_VERIFY(program.running("Form1").contains("Timer24"));
        program.tick("Form1", "Timer24");
        QVERIFY(program.text("Form1", "lblCustom").contains("Days, "));
    }

    // Enter presses OK (the window hides); Escape closes it as its close box does.
    void enterAndEscapeCloseTheConfirmation() {
        StartedProgram program;
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            FormWindow* saved = windows().show("Saved");
            QVERIFY(activate(saved));
            QTest::keyClick(QApplication::focusWidget(), key);
            if (key == Qt::Key_Escape)
                QTRY_COMPARE(program.window("Saved"), nullptr);
            else
                QTRY_VERIFY(!saved->isVisible());
        }
        QCOMPARE(program.programEnded, 0);
    }

    // A frame of at least 3:1 contrast against what was there, all round the button, inside its edge.
    void focusedButtonShowsAClearFrame() {
        StartedProgram program;
        program.tabs()->setCurrentIndex(3);
        QVERIFY(activate(program.window("Form1")));
        auto button = program.find<QPushButton>("Form1", "cmdPS2");
        program.find<QWidget>("Form1", "cmdPS1")->setFocus();
        const QImage plain = button->grab().toImage();
        button->setFocus(Qt::MouseFocusReason);  // also after a click, not only after Tab
        QVERIFY(button->hasFocus());
        const QImage focused = button->grab().toImage();
        QCOMPARE(focused.size(), plain.size());
        const int w = plain.width() / int(plain.devicePixelRatio()), h = plain.height() / int(plain.devicePixelRatio());
        for (const int inset : {2, 3}) {
            QList<QPoint> ring;
            for (int x = inset + 2; x < w - inset - 2; ++x) ring << QPoint(x, inset) << QPoint(x, h - 1 - inset);
            for (int y = inset + 2; y < h - inset - 2; ++y) ring << QPoint(inset, y) << QPoint(w - 1 - inset, y);
            int clear = 0;
            for (const QPoint p : ring)
                if (contrast(plain.pixelColor(p), focused.pixelColor(p)) >= 3.0) ++clear;
            QVERIFY2(clear == ring.size(), qPrintable(QStringLiteral("%1 of %2 pixels %3 in").arg(clear).arg(ring.size()).arg(inset)));
        }
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
