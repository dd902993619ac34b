// The life of the three windows as the user meets it: the handlers behind
// every control, the handheld window's place, closing, and how the windows
// look to eyes and screen readers.

#include <QAbstractButton>
#include <QAccessible>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTextBlock>
#include <QToolButton>
#include <memory>

#include "platform/timers.h"
#include "tests/support/test_program.h"
#include "ui/design.h"
#include "ui/handlers.h"

using namespace agelark;
using namespace agelark::testing;

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    // Every button and timer of the three windows has exactly one handler, and
    // every handler found its control: a misspelt name fails here instead of
    // leaving a dead button.
    void everyButtonAndTimerHasExactlyOneHandler() {
        for (FormWindow* (*create)() : {createForm1, createForm2, createSaved}) {
            const std::unique_ptr<FormWindow> design(create());
            QStringList wired, controls;
            try {
                wired = wireHandlers(design.get());
            } catch (const UserError& missing) {
                QFAIL(qPrintable(missing.message()));
            }
            for (const QAbstractButton* b : design->findChildren<QAbstractButton*>())
                if (!qobject_cast<QTabBar*>(b->parentWidget())) controls << b->objectName();  // not the strip's arrows
            for (const Timer* t : design->findChildren<Timer*>()) controls << t->objectName();
            wired.sort();
            controls.sort();
            QCOMPARE(wired, controls);
        }
    }

    // The handheld window lands on the main window's corner, also after either
    // moved or it was minimised; it is the same window, still counting.
    void handheldWindowOnTheMainWindowsCorner() {
        StartedProgram program;
        FormWindow* form1 = program.window("Form1");
        form1->move(200, 150);
        program.openHandheld("cmd3DS");
        FormWindow* form2 = program.window("Form2");
        QCOMPARE(form2->pos(), QPoint(200, 150));
        form2->move(420, 330);
        form2->showMinimized();  // and back from the task bar too
        form1->move(40, 60);
        program.openHandheld();
        QCOMPARE(program.window("Form2"), form2);
        QVERIFY(!form2->isMinimized());
        QCOMPARE(form2->pos(), QPoint(40, 60));
        QCOMPARE(form1->pos(), QPoint(40, 60));
        QCOMPARE(program.running("Form2"), QStringList{"Timer6"});
    }

    // A closed window's counters stop at once and it goes; the main window's
    // close box takes every window with it, a hidden one too, while the
    // program's own unload of it leaves the others. The last window ends the program.
    void closing_data() {
        QTest::addColumn<QStringList>("closes");  // in order; "by code": unloaded by the program
        QTest::addColumn<QStringList>("left");
        QTest::newRow("the handheld window") << QStringList{"Form2"} << QStringList{"Form1", "Saved"};
        QTest::newRow("the confirmation") << QStringList{"Saved"} << QStringList{"Form1", "Form2"};
        QTest::newRow("the main window") << QStringList{"Form1"} << QStringList{};
        QTest::newRow("the main window, by code") << QStringList{"Form1 by code"} << QStringList{"Form2", "Saved"};
        QTest::newRow("the main window by code, then the others")
            << QStringList{"Form1 by code", "Form2", "Saved"} << QStringList{};
    }
    void closing() {
        QFETCH(QStringList, closes);
        QFETCH(QStringList, left);
        StartedProgram program;
        program.click("Form1", "cmdPS2");
        program.openHandheld("cmdNDS");
        windows().get("Saved");  // loaded, never shown
        const QStringList names{"Form1", "Form2", "Saved"};
        QList<QPointer<FormWindow>> all;
        for (const QString& name : names) all << program.window(name);
        for (const QString& close : closes) {
            const QString name = close.section(' ', 0, 0);
            if (close.endsWith("by code"))
                windows().unload(name, UnloadReason::Code);
            else
                program.window(name)->close();
        }
        QStringList loaded;
        for (const QString& name : names) {
            if (program.window(name)) loaded << name;
            else QVERIFY2(runningTimers(all[names.indexOf(name)]).isEmpty(), qPrintable(name));  // at once
        }
        QCOMPARE(loaded, left);
        program.processEvents();
        for (const QString& name : names) QCOMPARE(bool(all[names.indexOf(name)]), left.contains(name));
        QCOMPARE(program.programEnded, left.isEmpty() ? 1 : 0);
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

    // Each window a window to screen readers, its controls named uniquely, each
    // within its container and none of a page under the tab strip, each with a
    // name or a description for screen readers; lines read as separators.
    void windowsAsTheUserSeesThem() {
        StartedProgram program;
        const QWidget* strip = program.tabs()->tabBar();
        const int stripBottom = strip->mapTo(program.tabs(), QPoint(0, strip->height())).y();
        for (const char* window : {"Form1", "Form2", "Saved"}) {
            QAccessibleInterface* own = QAccessible::queryAccessibleInterface(windows().show(window));
            QVERIFY2(own->role() == QAccessible::Window && !own->text(QAccessible::Name).isEmpty(), window);
            QStringList names;
            for (QWidget* control : program.window(window)->findChildren<QWidget*>()) {
                const QString name = control->objectName();
                if (name.isEmpty() || name.startsWith("qt_")) continue;  // Qt's own inner parts
                QVERIFY2(!names.contains(name), qPrintable(name));
                names << name;
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
                QVERIFY2(!(a->text(QAccessible::Name) + a->text(QAccessible::Description)).trimmed().isEmpty(),
                         qPrintable(name));
                QVERIFY2((a->role() == QAccessible::Separator) == name.startsWith("Line"), qPrintable(name));
                if (auto label = qobject_cast<QLabel*>(control); label && label->font().italic())  // descenders whole
                    QVERIFY2(label->contentsRect().height() >= label->fontMetrics().height(), qPrintable(name));
                if (control->isHidden()) continue;
                QVERIFY2(control->parentWidget()->rect().contains(control->geometry()), qPrintable(name));
                if (control->parentWidget()->parentWidget() == program.tabs()->page(0)->parentWidget())  // on a page
                    QVERIFY2(control->geometry().top() >= stripBottom, qPrintable(name));
            }
        }
    }

    // A click on a tab shows its page; the strip shows all six captions whole,
    // without scroll arrows. Results read as what they show and say what they
    // are. The now-boxes paint nothing: neither the Visit button nor the clock
    // is hidden under one. The instructions fit their box, every line on one,
    // and take no typing.
    void mainWindowAsTheUserSeesIt() {
        StartedProgram program;
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
            QVERIFY2(tab.left() >= 0 && tab.right() < tabs->width(), qPrintable(strip->tabText(i)));
            QVERIFY2(tab.width() - margins >= strip->fontMetrics().horizontalAdvance(strip->tabText(i)),
                     qPrintable(strip->tabText(i)));
        }
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
            const QRect place(edit->mapTo(form1, QPoint(0, 0)), edit->size());
            const QImage with = form1->grab(place).toImage();
            edit->hide();
            const QImage without = form1->grab(place).toImage();
            edit->show();
            QVERIFY2(with == without, qPrintable(QStringLiteral("%1 on page %2").arg(box).arg(tab)));
        }
        auto help = program.find<QPlainTextEdit>("Form1", "txtCustom");
        program.processEvents();
        QVERIFY(help->isVisible() && !help->verticalScrollBar()->isVisible());
        for (QTextBlock block = help->document()->begin(); block.isValid(); block = block.next())
            QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
        QTest::keyClicks(help, "typed");
        QVERIFY(!help->toPlainText().contains("typed"));
    }

};

QTEST_MAIN(WindowsTest)
#include "test_windows.moc"
