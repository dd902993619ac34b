// The life of the three windows as the user meets them: closing, minimising, how they look to eyes and screen
// readers, and the program without a mouse.

#include <QAccessible>
#include <QApplication>
#include <QDirIterator>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QToolButton>
#include <algorithm>
#include <map>

#include "tests/support/notes_files.h"
#include "tests/support/test_program.h"
#include "ui/design_kit.h"
#include "ui/handheld_window.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

bool activate(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    // A closed window's counts stop at once and it goes; the main window's close box takes every window with it,
    // a hidden one too. On the confirmation Enter presses OK, which hides it, and Escape closes it. Unsaved notes
    // ask first: Cancel keeps it all, Discard leaves the file, Save writes it and then closes; when nobody can
    // answer (the system ends the program) they go to a recovery copy.
    void closing_data() {
        QTest::addColumn<QString>("closes");
        QTest::addColumn<int>("answer");  // to the question on unsaved notes; -2: none typed, -3: nobody can answer
        QTest::addColumn<QStringList>("left");
        QTest::newRow("the handheld window") << "Form2" << -2 << QStringList{"Form1", "Saved"};
        QTest::newRow("the confirmation, by Escape") << "Saved" << -2 << QStringList{"Form1", "Form2"};
        QTest::newRow("the main window") << "Form1" << -2 << QStringList{};
        QTest::newRow("unsaved notes: Cancel") << "Form1" << -1 << QStringList{"Form1", "Form2", "Saved"};
        QTest::newRow("unsaved notes: Save") << "Form1" << 0 << QStringList{};
        QTest::newRow("unsaved notes: Discard") << "Form1" << 1 << QStringList{};
        QTest::newRow("unsaved notes, nobody can answer") << "Form1" << -3 << QStringList{};
    }
    void closing() {
        QFETCH(QString, closes);
        QFETCH(int, answer);
        QFETCH(QStringList, left);
        StartedProgram program;
        program.click("Form1", "cmdPS2");
        program.openHandheld("cmdNDS");
        QPointer<QWidget> saved = showSavedWindow();
        QVERIFY(activate(saved));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(!saved || !saved->isVisible());
        if (answer != -2) program.pad()->setPlainText("typed");
        program.messages.answers = {answer};
        std::map<QString, QPointer<QWidget>> all;
        for (const char* name : {"Form1", "Form2", "Saved"}) all[name] = program.window(name);
        if (closes == "Saved") {
            QVERIFY(activate(showSavedWindow()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        } else {
            answer == -3 ? program.main()->closeKeepingNotes() : void(program.window(closes)->close());
        }
        for (const auto& [name, window] : all)  // at once, but while the notes are saved
            if (!left.contains(name) && window && answer != 0) QCOMPARE(runningTimers(window), 0);
        program.processEvents();
        for (const auto& [name, window] : all) QVERIFY2(bool(window) == left.contains(name), qPrintable(name));
        QCOMPARE(program.messages.told().size(), answer < -1 ? 0 : 1);
        QVERIFY(answer < -1 || program.messages.told()[0].startsWith("question: Save, Discard: The notes pad"));
        QCOMPARE(fileBytes(program.path("Notes.txt")), QByteArray(answer == 0 ? "typed" : "Notes\r\n"));
        QDirIterator kept(qEnvironmentVariable("XDG_DATA_HOME"), {"Notes-recovered-*"}, QDir::Files,
                          QDirIterator::Subdirectories);
        QCOMPARE(kept.hasNext() ? fileBytes(kept.next()) : QByteArray(), QByteArray(answer == -3 ? "typed" : ""));
    }

    // Nobody sees a minimised window: its counts and its clock come once a second, the other window's at their
    // own pace; when it comes back they are right at once, before it is drawn.
    void minimisedWindowSleeps_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("showingTime");  // its labels and boxes that show the time of day
        QTest::newRow("main window: a counter, the count-up, the clock")
            << "Form1" << QStringList{"lblLabel2", "txtCusNow", "lblCustom", "lblClock"};
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
        program.click("Form1", "cmdSave");  // its animation ends in a confirmation, which nobody should wait for
        program.processEvents();
        QWidget* other = program.window(window == "Form1" ? "Form2" : "Form1");
        const int otherRunning = runningTimers(other);
        const auto notShowing = [&](const QString& time) {
            QStringList stale = showingTime;
            stale.removeIf([&](const QString& control) { return program.text(window, control).contains(time); });
            return stale;
        };

        program.window(window)->showMinimized();
        program.processEvents();
        QCOMPARE(runningTimers(program.window(window)), window == "Form1");  // the save's alone, nothing ten times a second
        QCOMPARE(runningTimers(other), otherRunning);
        program.clock.advanceSeconds(1);
        QTRY_COMPARE_WITH_TIMEOUT(notShowing("11:10:01"), QStringList(), 2000);  // one beat
        // Two seconds: the other window's twenty beats and its own two, not a beat that spins.
        const int reads = program.clock.reads;
        QTest::qWait(2000);
        QVERIFY2(program.clock.reads - reads < 50, qPrintable(QString::number(program.clock.reads - reads)));
        QTRY_COMPARE_WITH_TIMEOUT(program.beep.count, 1, 5000);  // the save confirmed at its pace, not in 20 s
        program.clock.advanceSeconds(5);
        program.window(window)->showNormal();
        QCOMPARE(notShowing("11:10:06"), QStringList());
        QCOMPARE(runningTimers(program.window(window)), 1);  // its beat, fast again
    }

    // Each window a window to screen readers, its controls each named or described, within its container and
    // none of a page under the tab strip; lines read as separators. A click on a tab shows its page; the strip
    // shows all six captions whole, without scroll arrows; the button with the focus shows it clearly. The
    // instructions fit their box and take no typing.
    void windowsAsTheUserSeesThem() {
        StartedProgram program;
        TabControl* tabs = program.tabs();
        QTabBar* strip = tabs->tabBar();
        const int stripBottom = strip->mapTo(tabs, QPoint(0, strip->height())).y();
        for (QWidget* shown : QWidgetList{program.main(), showHandheldWindow(), showSavedWindow()}) {
            QAccessibleInterface* own = QAccessible::queryAccessibleInterface(shown);
            QVERIFY2(own->role() == QAccessible::Window && !own->text(QAccessible::Name).isEmpty(),
                     qPrintable(shown->objectName()));
            for (QWidget* control : shown->findChildren<QWidget*>()) {
                const QString name = control->objectName();
                if (name.isEmpty() || name.startsWith("qt_")) continue;  // Qt's own inner parts
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
                QVERIFY2(!(a->text(QAccessible::Name) + a->text(QAccessible::Description)).trimmed().isEmpty(),
                         qPrintable(name));
                QVERIFY2((a->role() == QAccessible::Separator) == name.startsWith("Line"), qPrintable(name));
                if (auto label = qobject_cast<QLabel*>(control); label && label->font().italic())  // descenders whole
                    QVERIFY2(label->contentsRect().height() >= label->fontMetrics().height(), qPrintable(name));
                if (control->isHidden()) continue;
                QVERIFY2(control->parentWidget()->rect().contains(control->geometry()), qPrintable(name));
                if (control->parentWidget()->parentWidget() == tabs->page(0)->parentWidget())  // on a page
                    QVERIFY2(control->geometry().top() >= stripBottom, qPrintable(name));
            }
        }

        // Each designed face shown as itself where it is installed, else as the first stand-in that is.
        const auto firstInstalled = [](const QString& face) {
            for (const QString& f : QStringList{face} + QFont::substitutes(face))
                if (QFontDatabase::hasFamily(f)) return f;
            return face;
        };
        QCOMPARE(program.find<QWidget>("Form1", "lblLabel1")->font().family(), firstInstalled(digitalFace));
        QCOMPARE(program.main()->font().family(), firstInstalled(sansSerifFace));

        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(3).center());
        QCOMPARE(tabs->currentIndex(), 3);
        auto button = program.find<QPushButton>("Form1", "cmdPS2");
        QVERIFY(button->isVisible() && !program.find<QWidget>("Form1", "cmdCommand2600")->isVisible());
        QVERIFY(activate(program.main()));  // a frame of 3:1 against what was there, all round inside its edge
        program.find<QWidget>("Form1", "cmdPS1")->setFocus();
        const QImage plain = button->grab().toImage();
        button->setFocus(Qt::MouseFocusReason);  // also after a click, not only after Tab
        const QImage focused = button->grab().toImage();
        QCOMPARE(focused.size(), plain.size());
        const int w = plain.width() / int(plain.devicePixelRatio()), h = plain.height() / int(plain.devicePixelRatio());
        for (const int inset : {2, 3}) {
            QList<QPoint> ring;
            for (int x = inset + 2; x < w - inset - 2; ++x) ring << QPoint(x, inset) << QPoint(x, h - 1 - inset);
            for (int y = inset + 2; y < h - inset - 2; ++y) ring << QPoint(inset, y) << QPoint(w - 1 - inset, y);
            for (const QPoint p : ring)
                QVERIFY2(contrast(plain.pixelColor(p), focused.pixelColor(p)) >= 3.0,
                         qPrintable(QStringLiteral("(%1, %2), %3 in").arg(p.x()).arg(p.y()).arg(inset)));
        }
        QCOMPARE(strip->count(), 6);
        for (QToolButton* scroll : strip->findChildren<QToolButton*>()) QVERIFY(!scroll->isVisible());
        const int margins = strip->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, strip);
        for (int i = 0; i < strip->count(); ++i) {
            const QRect tab = strip->tabRect(i);
            QVERIFY2(tab.left() >= 0 && tab.right() < tabs->width() &&
                         tab.width() - margins >= strip->fontMetrics().horizontalAdvance(strip->tabText(i)),
                     qPrintable(strip->tabText(i)));
        }
        tabs->setCurrentIndex(5);
        auto help = program.find<QPlainTextEdit>("Form1", "txtCustom");
        program.processEvents();
        QVERIFY(help->isVisible() && !help->verticalScrollBar()->isVisible());
        for (QTextBlock block = help->document()->begin(); block.isValid(); block = block.next())
            QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
        QTest::keyClicks(help, "typed");
        QVERIFY(!help->toPlainText().contains("typed"));
    }

    // Tab visits every control of the page that takes it, once, as the page is read: each below the one before
    // or in a column to its right.
    void tabGoesThroughEachPageAsItIsRead_data() {
        QTest::addColumn<int>("page");  // of the main window; -1: the handheld window
        for (int page = 0; const char* tab : {"Atari", "Nintendo", "Sega", "Sony", "Microsoft", "Custom"})
            QTest::newRow(tab) << page++;
        QTest::newRow("handheld window") << -1;
    }
    void tabGoesThroughEachPageAsItIsRead() {
        QFETCH(int, page);
        StartedProgram program;
        page < 0 ? program.openHandheld() : program.tabs()->setCurrentIndex(page);
        QWidget* window = program.window(page < 0 ? "Form2" : "Form1");
        QVERIFY(activate(window));
        QList<QWidget*> takesTab;
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) takesTab << w;
        const auto place = [&](QWidget* w) { return QRect(w->mapTo(window, QPoint()), w->size()); };
        QWidget* first = std::ranges::min(takesTab, {}, [&](QWidget* w) { return std::pair(place(w).top(), place(w).left()); });
        first->setFocus(Qt::TabFocusReason);
        QList<QWidget*> path{first};  // pressing Tab until the focus is back
        for (QTest::keyClick(first, Qt::Key_Tab); QApplication::focusWidget() != first && path.size() < 40;
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
            path << QApplication::focusWidget();
        QCOMPARE(QSet<QWidget*>(path.begin(), path.end()), QSet<QWidget*>(takesTab.begin(), takesTab.end()));
        QCOMPARE(path.size(), takesTab.size());
        for (qsizetype i = 1; i < path.size(); ++i) {
            const QRect before = place(path[i - 1]), next = place(path[i]);
            QVERIFY2(next.top() > before.top() || next.left() > before.right(), qPrintable(path[i]->objectName()));
        }
    }

};

QTEST_MAIN(WindowsTest)
#include "test_windows.moc"
