// The program without a mouse: Tab and Shift+Tab go through each page as it
// is read, the notes pad too; Enter in the date box submits it; Enter and
// Escape close the confirmation; the button with the focus shows it clearly.

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

// The controls the focus visits from `start`, pressing Tab (or Shift+Tab) until it is back.
QList<QWidget*> focusPath(QWidget* start, bool backwards = false) {
    start->setFocus(Qt::TabFocusReason);
    QList<QWidget*> visited{start};
    while (visited.size() < 40) {
        QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        if (QApplication::focusWidget() == start) break;
        visited << QApplication::focusWidget();
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
    // Tab visits every control of the page that takes it, once, as the page
    // is read: each below the one before or in a column to its right; Shift+Tab
    // the same way back.
    void tabGoesThroughEachPageAsItIsRead_data() {
        QTest::addColumn<int>("page");  // of the main window; -1: the handheld window
        int page = 0;
        for (const char* tab : {"Atari", "Nintendo", "Sega", "Sony", "Microsoft", "Custom"})
            QTest::newRow(tab) << page++;
        QTest::newRow("handheld window") << -1;
    }
    void tabGoesThroughEachPageAsItIsRead() {
        QFETCH(int, page);
        StartedProgram program;
        if (page < 0) program.openHandheld();
        else program.tabs()->setCurrentIndex(page);
        FormWindow* window = program.window(page < 0 ? "Form2" : "Form1");
        QVERIFY(activate(window));
        QList<QWidget*> takesTab;
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) takesTab << w;
        const auto place = [&](QWidget* w) { return QRect(w->mapTo(window, QPoint()), w->size()); };
        const auto topLeft = [&](QWidget* a, QWidget* b) {
            return std::pair(place(a).top(), place(a).left()) < std::pair(place(b).top(), place(b).left());
        };
        const QList<QWidget*> path = focusPath(*std::min_element(takesTab.begin(), takesTab.end(), topLeft));
        QCOMPARE(QSet<QWidget*>(path.begin(), path.end()), QSet<QWidget*>(takesTab.begin(), takesTab.end()));
        QCOMPARE(path.size(), takesTab.size());
        for (qsizetype i = 1; i < path.size(); ++i) {
            const QRect before = place(path[i - 1]), next = place(path[i]);
            QVERIFY2(next.top() > before.top() || next.left() > before.right(), qPrintable(path[i]->objectName()));
        }
        QList<QWidget*> back = focusPath(path.first(), true);
        std::reverse(back.begin() + 1, back.end());
        QCOMPARE(back, path);
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
    void keysCloseTheConfirmation_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("unloaded");
        QTest::newRow("Return") << int(Qt::Key_Return) << false;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << true;
    }
    void keysCloseTheConfirmation() {
        QFETCH(int, key);
        QFETCH(bool, unloaded);
        StartedProgram program;
        QPointer<FormWindow> saved = windows().show("Saved");
        QVERIFY(activate(saved));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_VERIFY(!saved || !saved->isVisible());
        QCOMPARE(!program.window("Saved"), unloaded);
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
            QVERIFY2(clear == ring.size(),
                     qPrintable(QStringLiteral("%1 of %2 pixels %3 in").arg(clear).arg(ring.size()).arg(inset)));
        }
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
