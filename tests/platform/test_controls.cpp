// Controls found by name, and the date boxes' writes.
//
// A control once found is remembered for its window; what a search would find
// must still be what is returned after the control is destroyed, replaced,
// renamed, moved to another window or asked for as another type.
// A box write that would leave the box as it is changes nothing at all (no
// signal, no repaint), and any write that would change what the box shows,
// its text, where it shows it from or a selection, is made.

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <memory>

#include "platform/control_values.h"
#include "platform/controls.h"

using namespace agelark;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

QLineEdit* makeBox(QWidget* parent, const QString& name) {
    auto box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void foundByNameInsideTheWindow() {
        QWidget window;
        auto page = new QWidget(&window);
        QLineEdit* box = makeBox(page, "txtNow");
        QCOMPARE(control<QLineEdit>(&window, "txtNow"), box);
        QCOMPARE(control<QLineEdit>(&window, "txtNow"), box);  // found again, as remembered
        QCOMPARE(control<QWidget>(&window, "txtNow"), static_cast<QWidget*>(box));
        QVERIFY_THROWS_EXCEPTION(UserError, control<QLabel>(&window, "txtNow"));  // not of that type
        QVERIFY_THROWS_EXCEPTION(UserError, control<QLineEdit>(&window, "txtThen"));
    }

    // What was found before is not returned once it is no longer the answer.
    void rememberedControlNoLongerThereIsLookedUpAfresh() {
        QWidget window;
        QPointer<QLineEdit> first = makeBox(&window, "txtNow");
        QCOMPARE(control<QLineEdit>(&window, "txtNow"), first.data());

        delete first;  // destroyed: a new control of the name is found
        QVERIFY_THROWS_EXCEPTION(UserError, control<QLineEdit>(&window, "txtNow"));
        QLineEdit* second = makeBox(&window, "txtNow");
        QCOMPARE(control<QLineEdit>(&window, "txtNow"), second);

        second->setObjectName("txtOld");  // renamed: not found under its old name, found under its new one
        QVERIFY_THROWS_EXCEPTION(UserError, control<QLineEdit>(&window, "txtNow"));
        QCOMPARE(control<QLineEdit>(&window, "txtOld"), second);

        QWidget other;
        second->setParent(&other);  // moved to another window
        QVERIFY_THROWS_EXCEPTION(UserError, control<QLineEdit>(&window, "txtOld"));
        QCOMPARE(control<QLineEdit>(&other, "txtOld"), second);
    }

    // Each window has its own controls, also a window made where a destroyed one was.
    void windowsKeepTheirOwnControls() {
        QWidget a, b;
        QLineEdit* inA = makeBox(&a, "txtNow");
        QLineEdit* inB = makeBox(&b, "txtNow");
        QCOMPARE(control<QLineEdit>(&a, "txtNow"), inA);
        QCOMPARE(control<QLineEdit>(&b, "txtNow"), inB);
        for (int i = 0; i < 20; ++i) {  // the allocator hands back the places of destroyed windows
            auto window = std::make_unique<QWidget>();
            QLineEdit* box = makeBox(window.get(), "txtNow");
            QCOMPARE(control<QLineEdit>(window.get(), "txtNow"), box);
        }
    }

    // Where two controls share a name, each look-up answers as a search by
    // name and type does: the first of that type in the window's order.
    void sharedNameIsAnsweredAsASearchAnswers() {
        QWidget window;
        auto first = new QWidget(&window), second = new QWidget(&window);
        auto label = new QLabel(first);
        label->setObjectName("lblShared");
        QLineEdit* box = makeBox(second, "lblShared");
        QLineEdit* deeper = makeBox(new QWidget(second), "txtTwice");
        QLineEdit* nearer = makeBox(&window, "txtTwice");
        for (int again = 0; again < 2; ++again) {  // found, then remembered
            QCOMPARE(control<QLineEdit>(&window, "lblShared"), box);
            QCOMPARE(control<QLabel>(&window, "lblShared"), label);
            QCOMPARE(control<QLineEdit>(&window, "txtTwice"), window.findChild<QLineEdit*>("txtTwice"));
        }
        QCOMPARE(window.findChild<QLineEdit*>("txtTwice"), nearer);  // the nearer one comes first
        Q_UNUSED(deeper);
    }

    void boxWriteShowsTheTextFromItsStart() {
        QLineEdit box("before");
        box.setCursorPosition(3);
        setBoxText(&box, "12/5/2026 11:10:00 AM");
        QCOMPARE(box.text(), QString("12/5/2026 11:10:00 AM"));
        QCOMPARE(box.cursorPosition(), 0);
    }

    // The same text is written anyway where the box shows it otherwise than a write would leave it.
    void sameTextIsWrittenWhereTheBoxShowsItOtherwise() {
        QLineEdit box("12/5/2026 11:10:00 AM");
        box.end(false);  // shown from its end
        setBoxText(&box, box.text());
        QCOMPARE(box.cursorPosition(), 0);

        box.setSelection(0, 4);
        QVERIFY(box.hasSelectedText());
        setBoxText(&box, box.text());
        QVERIFY(!box.hasSelectedText());
        QCOMPARE(box.cursorPosition(), 0);

        box.setModified(true);  // as after typing: a write makes it the program's text again
        setBoxText(&box, box.text());
        QVERIFY(!box.isModified());
    }

    // A counter writes its now-box ten times a second with a text that changes
    // once a second: the nine writes between change nothing, not even a repaint.
    void writeOfTheShownTextChangesNothing() {
        QWidget window;
        QLineEdit* box = makeBox(&window, "txtNow");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        setBoxText(box, "12/5/2026 11:10:00 AM");
        PaintCounter counter;
        box->installEventFilter(&counter);
        QSignalSpy texts(box, &QLineEdit::textChanged), cursors(box, &QLineEdit::cursorPositionChanged);
        QCoreApplication::processEvents();
        counter.paints = 0;

        setBoxText(box, "12/5/2026 11:10:00 AM");
        QCoreApplication::processEvents();
        QCOMPARE(texts.size(), 0);
        QCOMPARE(cursors.size(), 0);
        QCOMPARE(counter.paints, 0);

        setBoxText(box, "12/5/2026 11:10:01 AM");  // the next second is written and shown
        QTRY_VERIFY(counter.paints > 0);
        QCOMPARE(texts.size(), 1);
        QCOMPARE(box->text(), QString("12/5/2026 11:10:01 AM"));
        QCOMPARE(box->cursorPosition(), 0);
    }
};

QTEST_MAIN(ControlsTest)
#include "test_controls.moc"
