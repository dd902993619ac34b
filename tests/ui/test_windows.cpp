// The life of the three windows as the user meets it: closing, reopening, the
// handheld window's place, and how the windows look to eyes and screen readers.

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStyle>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "tab_control.h"
#include "test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

// The controls of a window: its named widgets, without Qt's own inner parts.
QList<QWidget*> controlsOf(QWidget* window) {
    QList<QWidget*> result;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith("qt_")) result.append(w);
    }
    return result;
}

void openAllWindows(TestProgram& program) {
    program.start();
    program.click("Form1", "cmdHandheld");
    windows().get("Saved");
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    void closingTheMainWindowUnloadsEveryOtherAndEndsTheProgram() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdHandheld");
        program.click("Form2", "cmdGB");
        QPointer<QTimer> handheldCounter = program.find<QTimer>("Form2", "Timer1");
        QVERIFY(handheldCounter->isActive());
        QPointer<FormWindow> saved = windows().get("Saved");  // loaded, never shown
        QVERIFY(!saved->isVisible());
        QPointer<FormWindow> form1 = program.window("Form1");
        QPointer<FormWindow> form2 = program.window("Form2");

        form1->close();  // the close box
        QVERIFY(windows().loaded().isEmpty());
        QVERIFY(!handheldCounter->isActive());
        QVERIFY(!form1->isVisible() && !form2->isVisible());
        program.processEvents();
        QCOMPARE(program.programEnded, 1);
        QVERIFY(!form1 && !form2 && !saved && !handheldCounter);
    }

    void unloadByCodeLeavesTheHandheldWindowAlone() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdHandheld");
        program.click("Form2", "cmdNDS");
        windows().unload("Form1", UnloadReason::Code);
        program.processEvents();
        QCOMPARE(program.window("Form1"), nullptr);
        QVERIFY(program.window("Form2") && program.window("Form2")->isVisible());
        QVERIFY(program.find<QTimer>("Form2", "Timer5")->isActive());
        QCOMPARE(program.programEnded, 0);

        // The program ends with its last window, whichever that is.
        program.window("Form2")->close();
        program.processEvents();
        QCOMPARE(program.programEnded, 1);
    }

    void closingASecondaryWindowUnloadsOnlyIt() {
        TestProgram program;
        openAllWindows(program);
        program.click("Form1", "cmdPS2");
        program.click("Form2", "cmdGBA");
        QPointer<QTimer> handheldCounter = program.find<QTimer>("Form2", "Timer3");
        windows().show("Saved");

        program.window("Form2")->close();
        QCOMPARE(program.window("Form2"), nullptr);
        QVERIFY(!handheldCounter || !handheldCounter->isActive());
        program.window("Saved")->close();
        QCOMPARE(program.window("Saved"), nullptr);
        program.processEvents();

        FormWindow* form1 = program.window("Form1");
        QVERIFY(form1 && form1->isVisible());
        QVERIFY(program.find<QTimer>("Form1", "Timer6")->isActive());
        QVERIFY(program.find<QTimer>("Form1", "Timer22")->isActive());
        QCOMPARE(program.programEnded, 0);
    }

    void reopeningAfterCloseLoadsAFreshHandheldWindow() {
        TestProgram program;
        program.start();
        program.click("Form1", "cmdHandheld");
        program.click("Form2", "cmd3DS");
        program.tick("Form2", "Timer6");
        QVERIFY(program.find<QLabel>("Form2", "lblAgelark")->text() != "Agelark v2.5");
        QPointer<FormWindow> first = program.window("Form2");
        first->close();
        program.processEvents();
        QVERIFY(!first);

        program.click("Form1", "cmdHandheld");
        FormWindow* second = program.window("Form2");
        QVERIFY(second && second->isVisible());
        QCOMPARE(program.find<QLabel>("Form2", "lblAgelark")->text(), QString("Agelark v2.5"));
        QCOMPARE(program.find<QLineEdit>("Form2", "txtThen")->text(), QString("Then"));
        QCOMPARE(program.find<QLabel>("Form2", "Picture1")->pixmap().toImage(),
                 program.find<QLabel>("Form1", "Picture4")->pixmap().toImage());
        for (QTimer* t : second->findChildren<QTimer*>()) QVERIFY2(!t->isActive(), qPrintable(t->objectName()));
    }

    void handheldWindowLandsOnTheMainWindowsCorner() {
        TestProgram program;
        program.start();
        FormWindow* form1 = program.window("Form1");
        form1->move(200, 150);
        program.click("Form1", "cmdHandheld");
        FormWindow* form2 = program.window("Form2");
        QCOMPARE(form2->pos(), QPoint(200, 150));
        program.click("Form2", "cmdGBC");

        // Moved away by the user: the next click brings it back, same window, still counting.
        form2->move(420, 330);
        program.click("Form1", "cmdHandheld");
        QCOMPARE(program.window("Form2"), form2);
        QCOMPARE(form2->pos(), QPoint(200, 150));
        QVERIFY(program.find<QTimer>("Form2", "Timer2")->isActive());

        // The main window moved: the handheld window follows its new corner.
        form1->move(40, 60);
        program.click("Form1", "cmdHandheld");
        QCOMPARE(form2->pos(), QPoint(40, 60));
        QVERIFY(form2->isVisible());
        QCOMPARE(form1->pos(), QPoint(40, 60));  // the main window itself does not move
    }

    void clickingATabShowsItsPage() {
        TestProgram program;
        program.start();
        auto tabs = program.find<TabControl>("Form1", "SSTTab1");
        QTabBar* strip = tabs->tabBar();
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(3).center());
        QCOMPARE(tabs->currentIndex(), 3);
        QVERIFY(program.find<QWidget>("Form1", "cmdPS2")->isVisible());
        QVERIFY(!program.find<QWidget>("Form1", "cmdCommand2600")->isVisible());
        QVERIFY(program.find<QWidget>("Form1", "NowText")->isVisible());
    }

    void tabStripFitsAllSixCaptionsAboveThePages() {
        TestProgram program;
        program.start();
        auto tabs = program.find<TabControl>("Form1", "SSTTab1");
        QTabBar* strip = tabs->tabBar();
        QCOMPARE(strip->count(), 6);
        for (QToolButton* scroll : strip->findChildren<QToolButton*>()) QVERIFY(!scroll->isVisible());
        for (int i = 0; i < strip->count(); ++i) {
            const QRect tab = strip->tabRect(i);
            QVERIFY2(tab.left() >= 0 && tab.right() < tabs->width(), qPrintable(strip->tabText(i)));
            // The caption shows whole only with the style's margins beside it, else it is cut short.
            const int margins = strip->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, strip);
            QVERIFY2(tab.width() - margins >= strip->fontMetrics().horizontalAdvance(strip->tabText(i)),
                     qPrintable(strip->tabText(i)));
        }
        // No control of any page lies under the strip.
        const int stripBottom = strip->mapTo(tabs, QPoint(0, strip->height())).y();
        for (int i = 0; i < tabs->count(); ++i) {
            for (QWidget* control : tabs->page(i)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!control->isVisibleTo(tabs->page(i))) continue;
                QVERIFY2(control->geometry().top() >= stripBottom, qPrintable(control->objectName()));
            }
        }
    }

    void controlsLieWithinTheirContainers() {
        TestProgram program;
        openAllWindows(program);
        for (const char* name : {"Form1", "Form2", "Saved"}) {
            for (QWidget* control : controlsOf(program.window(name))) {
                // The page view lies off the page on purpose; the tab strip's scroll arrows never show.
                if (control->objectName() == "WebBrowser1" || control->isHidden()) continue;
                const QRect container = control->parentWidget()->rect();
                QVERIFY2(container.contains(control->geometry()),
                         qPrintable(QStringLiteral("%1 %2").arg(name, control->objectName())));
            }
        }
        QWidget* view = program.find<QWidget>("Form1", "WebBrowser1");
        for (int i = 0; i < 6; ++i) {
            program.find<TabControl>("Form1", "SSTTab1")->setCurrentIndex(i);
            QVERIFY(!view->isVisible());
        }
    }

    void nowBoxesShowNothingOfWhatTheyHold() {
        TestProgram program;
        program.start();
        program.tick("Form1", "Timer22");
        FormWindow* form1 = program.window("Form1");
        auto tabs = program.find<TabControl>("Form1", "SSTTab1");
        for (auto [tab, box] : {std::pair{0, "NowText"}, {1, "txtNesNow"}, {2, "txtSegaNow"}, {3, "txtPsNow"},
                                {4, "txtXboxNow"}, {5, "NowText"}}) {
            tabs->setCurrentIndex(tab);
            auto edit = program.find<QLineEdit>("Form1", box);
            edit->setText("12/5/2026 3:07:09 PM");
            QVERIFY2(edit->isVisible(), box);
            // The window looks the same with the box as without it, whatever lies beneath
            // (on the Atari page the Visit button, on the Custom page the clock).
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

    void everyControlHasAnAccessibleName() {
        TestProgram program;
        openAllWindows(program);
        for (const char* name : {"Form1", "Form2", "Saved"}) {
            FormWindow* window = program.window(name);
            QAccessibleInterface* own = QAccessible::queryAccessibleInterface(window);
            QVERIFY2(own && !own->text(QAccessible::Name).isEmpty(), name);
            for (QWidget* control : controlsOf(window)) {
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
                QVERIFY2(a && !a->text(QAccessible::Name).trimmed().isEmpty(),
                         qPrintable(QStringLiteral("%1 %2").arg(name, control->objectName())));
            }
        }
        // Boxes in different places are told apart.
        QCOMPARE(QAccessible::queryAccessibleInterface(program.find<QWidget>("Form1", "lblLabel2"))
                     ->text(QAccessible::Name),
                 QString("Sony result"));
    }
};

QTEST_MAIN(WindowsTest)
#include "test_windows.moc"
