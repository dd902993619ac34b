// The life of the three windows as the user meets it: closing, reopening, the
// handheld window's place, and how the windows look to eyes and screen readers.

#include <QAbstractButton>
#include <QAccessible>
#include <QElapsedTimer>
#include <memory>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>

#include "platform/timers.h"
#include "tests/support/test_program.h"
#include "ui/design.h"
#include "ui/handlers.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

// The controls of a window: its named widgets, without Qt's own inner parts.
QList<QWidget*> controlsOf(QWidget* window) {
    QList<QWidget*> result;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) result.append(w);
    return result;
}

void openAllWindows(TestProgram& program) {
    program.start();
    program.openHandheld();
    windows().get("Saved");
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    // Every button and timer of the three windows has exactly one handler, and
    // every handler found its control: a misspelt name fails here instead of
    // leaving a dead button.
    void everyButtonAndTimerHasExactlyOneHandler_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("main window") << "Form1";
        QTest::newRow("handheld window") << "Form2";
        QTest::newRow("confirmation window") << "Saved";
    }

    void everyButtonAndTimerHasExactlyOneHandler() {
        QFETCH(QString, window);
        const std::unique_ptr<FormWindow> design(window == "Form1"   ? createForm1()
                                                 : window == "Form2" ? createForm2()
                                                                     : createSaved());
        QStringList wired;
        try {
            wired = wireHandlers(design.get());
        } catch (const UserError& missing) {
            QFAIL(qPrintable(missing.message()));
        }
        QStringList controls;
        for (const QAbstractButton* b : design->findChildren<QAbstractButton*>())
            if (!qobject_cast<QTabBar*>(b->parentWidget())) controls << b->objectName();  // not the strip's arrows
        for (const Timer* t : design->findChildren<Timer*>()) controls << t->objectName();
        wired.sort();
        controls.sort();
        QCOMPARE(wired, controls);
        QVERIFY(!controls.isEmpty());
    }

    // The handheld window lands on the main window's corner, also after either
    // moved. Closing a secondary window unloads only it, and the handheld window
    // reopens fresh; closing the main window unloads every other window, a
    // hidden one too, and ends the program.
    void windowPlacesAndClosing() {
        StartedProgram program;
        FormWindow* form1 = program.window("Form1");
        form1->move(200, 150);
        program.click("Form1", "cmdPS2");
        program.openHandheld("cmd3DS");
        QPointer<FormWindow> first = program.window("Form2");
        QCOMPARE(first->pos(), QPoint(200, 150));
        first->move(420, 330);  // by the user: the next click brings it back, same window, still counting
        first->showMinimized();  // and back from the task bar too
        program.openHandheld();
        QCOMPARE(program.window("Form2"), first.data());
        QCOMPARE(first->pos(), QPoint(200, 150));
        QVERIFY(!first->isMinimized());
        form1->move(40, 60);  // the handheld window follows the main window's new corner
        program.openHandheld();
        QCOMPARE(first->pos(), QPoint(40, 60));
        QCOMPARE(form1->pos(), QPoint(40, 60));  // the main window itself does not move
        QVERIFY(first->isVisible());
        program.tick("Form2", "Timer6");
        QVERIFY(program.text("Form2", "lblAgelark") != "Agelark v2.5");

        QPointer<QTimer> handheldCounter = program.find<QTimer>("Form2", "Timer6");
        QVERIFY(handheldCounter->isActive());
        windows().show("Saved");
        first->close();
        QVERIFY(!program.window("Form2") && (!handheldCounter || !handheldCounter->isActive()));
        program.window("Saved")->close();
        QCOMPARE(program.window("Saved"), nullptr);
        program.processEvents();
        QVERIFY(!first && form1->isVisible());
        QCOMPARE(program.running("Form1"), QStringList({"Timer22", "Timer6"}));

        program.openHandheld();
        QVERIFY(program.window("Form2") && program.window("Form2")->isVisible());
        QCOMPARE(program.text("Form2", "lblAgelark"), QString("Agelark v2.5"));
        QCOMPARE(program.text("Form2", "txtThen"), QString("Then"));
        QCOMPARE(program.find<QLabel>("Form2", "Picture1")->pixmap().toImage(),
                 program.find<QLabel>("Form1", "Picture4")->pixmap().toImage());
        QCOMPARE(program.running("Form2"), QStringList());
        QCOMPARE(program.programEnded, 0);

        program.click("Form2", "cmdGB");
        handheldCounter = program.find<QTimer>("Form2", "Timer1");
        QPointer<FormWindow> saved = windows().get("Saved");  // loaded, never shown
        QPointer<FormWindow> main = form1, form2 = program.window("Form2");
        QVERIFY(handheldCounter->isActive() && !saved->isVisible());
        form1->close();  // the close box
        QVERIFY(windows().loaded().isEmpty());
        QVERIFY(!handheldCounter->isActive() && !main->isVisible() && !form2->isVisible());
        program.processEvents();
        QCOMPARE(program.programEnded, 1);
        QVERIFY(!main && !form2 && !saved && !handheldCounter);
    }

    // Nobody sees a minimised window: its counts and its clock tick once a
    // second, the other window's at their own pace; when it comes back they
    // are right at once, before anything else runs (before it is drawn).
    void minimisedWindowSleeps_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("showingTime");  // its labels and boxes that show the time of day
        QTest::newRow("main window: a counter, the count-up, the clock")
            << "Form1" << QStringList{"lblLabel2", "txtPsNow", "lblCustom", "lblClock"};
        QTest::newRow("handheld window: its counter") << "Form2" << QStringList{"lblAgelark", "txtNow"};
    }

    void minimisedWindowSleeps() {
        QFETCH(QString, window);
        QFETCH(QStringList, showingTime);
        StartedProgram program;
        program.click("Form1", "cmdPS2");
        program.find<QLineEdit>("Form1", "txtCusThen")->setText("01/01/2015");
        program.click("Form1", "cmdCustom");
        program.openHandheld("cmdGB");
        const QString other = window == "Form1" ? "Form2" : "Form1";
        const QStringList running = program.running(window), otherRunning = program.running(other);
        const auto notShowing = [&](const QString& time) {
            QStringList stale;
            for (const QString& control : showingTime)
                if (!program.text(window, control).contains(time)) stale << control;
            return stale;
        };

        program.window(window)->showMinimized();
        program.processEvents();  // and what the window system sends meanwhile
        QCOMPARE(program.running(window), QStringList());  // none of its timers wakes ten times a second
        QCOMPARE(program.running(other), otherRunning);
        program.clock.advanceSeconds(1);
        QTRY_COMPARE_WITH_TIMEOUT(notShowing("11:10:01"), QStringList(), 2000);  // one beat
        program.clock.advanceSeconds(5);
        program.window(window)->showNormal();
        QCOMPARE(notShowing("11:10:06"), QStringList());
        QCOMPARE(program.running(window), running);
    }

    // The save's twenty steps and its confirmation keep their pace in a minimised main window.
    void minimisedMainWindowConfirmsASaveInTime() {
        StartedProgram program;
        program.click("Form1", "cmdSave");
        program.processEvents();  // written: the animation starts
        program.window("Form1")->showMinimized();
        QElapsedTimer waited;
        waited.start();
        QTRY_COMPARE_WITH_TIMEOUT(program.beep.count, 1, 30000);
        QVERIFY2(waited.elapsed() < 3500, qPrintable(QString::number(waited.elapsed())));
    }

    void unloadByCodeLeavesTheHandheldWindowAlone() {
        StartedProgram program;
        program.openHandheld("cmdNDS");
        windows().unload("Form1", UnloadReason::Code);
        program.processEvents();
        QCOMPARE(program.window("Form1"), nullptr);
        QVERIFY(program.window("Form2") && program.window("Form2")->isVisible());
        QCOMPARE(program.running("Form2"), QStringList{"Timer5"});
        QCOMPARE(program.programEnded, 0);

        // The program ends with its last window, whichever that is.
        program.window("Form2")->close();
        program.processEvents();
        QCOMPARE(program.programEnded, 1);
    }

    // A click on a tab shows its page. The strip shows all six captions whole,
    // without scroll arrows; every control lies within its container, none of a
    // page under the strip, and has a name for screen readers. The now-boxes
    // paint nothing, so they hide neither the Visit button nor the clock.
    void windowsAsTheUserSeesThem() {
        TestProgram program;
        openAllWindows(program);
        TabControl* tabs = program.tabs();
        QTabBar* strip = tabs->tabBar();
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(3).center());
        QCOMPARE(tabs->currentIndex(), 3);
        QVERIFY(program.find<QWidget>("Form1", "cmdPS2")->isVisible());
        QVERIFY(!program.find<QWidget>("Form1", "cmdCommand2600")->isVisible());

        QCOMPARE(strip->count(), 6);
        for (QToolButton* scroll : strip->findChildren<QToolButton*>()) QVERIFY(!scroll->isVisible());
        const int margins = strip->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, strip);
        for (int i = 0; i < strip->count(); ++i) {
            const QRect tab = strip->tabRect(i);
            const QString caption = strip->tabText(i);
            QVERIFY2(tab.left() >= 0 && tab.right() < tabs->width(), qPrintable(caption));
            QVERIFY2(tab.width() - margins >= strip->fontMetrics().horizontalAdvance(caption), qPrintable(caption));
        }
        const int stripBottom = strip->mapTo(tabs, QPoint(0, strip->height())).y();
        for (const char* name : {"Form1", "Form2", "Saved"}) {
            QAccessibleInterface* own = QAccessible::queryAccessibleInterface(program.window(name));
            QVERIFY2(own && !own->text(QAccessible::Name).isEmpty(), name);
            for (QWidget* control : controlsOf(program.window(name))) {
                const QString where = QStringLiteral("%1 %2").arg(name, control->objectName());
                // A label that shows nothing for now (the clock before its first tick) says what it is.
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
                QVERIFY2(a && !(a->text(QAccessible::Name) + a->text(QAccessible::Description)).trimmed().isEmpty(),
                         qPrintable(where));
                // The tab strip's scroll arrows never show.
                if (control->isHidden()) continue;
                QVERIFY2(control->parentWidget()->rect().contains(control->geometry()), qPrintable(where));
                if (control->parentWidget()->parentWidget() == tabs->page(0)->parentWidget())  // on a page
                    QVERIFY2(control->geometry().top() >= stripBottom, qPrintable(where));
            }
        }
        // Labels read as what they show, and say what they are: results in different places are told apart.
        program.click("Form1", "cmdPS2");
        program.tick("Form1", "Timer6");
        QAccessibleInterface* sony = QAccessible::queryAccessibleInterface(program.find<QWidget>("Form1", "lblLabel2"));
        QCOMPARE(sony->text(QAccessible::Name), program.text("Form1", "lblLabel2"));
        QCOMPARE(sony->text(QAccessible::Description), QString("Sony result"));

        program.tick("Form1", "Timer22");
        FormWindow* form1 = program.window("Form1");
        for (auto [tab, box] : {std::pair{0, "NowText"}, {1, "txtNesNow"}, {2, "txtSegaNow"}, {3, "txtPsNow"},
                                {4, "txtXboxNow"}, {5, "NowText"}}) {
            tabs->setCurrentIndex(tab);
            auto edit = program.find<QLineEdit>("Form1", box);
            edit->setText("12/5/2026 3:07:09 PM");
            QVERIFY2(edit->isVisible(), box);
            // The window looks the same with the box as without it, whatever lies beneath.
            const QRect place(edit->mapTo(form1, QPoint(0, 0)), edit->size());
            const QImage with = form1->grab(place).toImage();
            edit->hide();
            const QImage without = form1->grab(place).toImage();
            edit->show();
            QVERIFY2(with == without, qPrintable(QStringLiteral("%1 on page %2").arg(box).arg(tab)));
        }
        // The Atari page's box lies on the window, over the tab control.
        QVERIFY(form1->children().indexOf(program.find<QWidget>("Form1", "NowText")) > form1->children().indexOf(tabs));
    }
};

QTEST_MAIN(WindowsTest)
#include "test_windows.moc"
