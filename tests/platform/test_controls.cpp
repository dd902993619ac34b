// Controls found by name and remembered for their window, and the date boxes'
// writes.

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include "platform/control_values.h"
#include "platform/controls.h"

using namespace agelark;

namespace {

QLineEdit* makeBox(QWidget* parent, const QString& name, const QString& text = {}) {
    auto box = new QLineEdit(text, parent);
    box->setObjectName(name);
    return box;
}

const QString now = QStringLiteral("12/5/2026 11:10:00 AM");

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    // What was found before is not returned once it is no longer the window's
    // control of that name and type.
    void rememberedControlNoLongerThere_data() {
        QTest::addColumn<QString>("change");
        for (const char* change : {"destroyed", "renamed", "moved to another window", "asked for as a label"})
            QTest::newRow(change) << change;
    }
    void rememberedControlNoLongerThere() {
        QFETCH(QString, change);
        QWidget window, other;
        QPointer<QLineEdit> box = makeBox(new QWidget(&window), "txtNow");
        QCOMPARE(control<QLineEdit>(&window, "txtNow"), box.data());
        if (change == "asked for as a label") {
            QVERIFY_THROWS_EXCEPTION(UserError, control<QLabel>(&window, "txtNow"));
            return;
        }
        if (change == "destroyed") delete box;
        if (change == "renamed") box->setObjectName("txtOld");
        if (change == "moved to another window") box->setParent(&other);
        QVERIFY_THROWS_EXCEPTION(UserError, control<QLineEdit>(&window, "txtNow"));
        QLineEdit* fresh = makeBox(&window, "txtNow");
        QCOMPARE(control<QLineEdit>(&window, "txtNow"), fresh);
        if (box) QCOMPARE(control<QLineEdit>(box->window(), box->objectName()), box.data());
    }

    // A write leaves the box showing the text from its start, as a box filled
    // at design time does; a write that would leave the box as it is changes
    // nothing (the counters write ten times a second a text that changes once).
    void boxWrite_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("written");
        QTest::newRow("another text") << "before" << true;
        QTest::newRow("the same text, shown from its end") << "end" << true;
        QTest::newRow("the same text, partly selected") << "selected" << true;
        QTest::newRow("the same text, typed over") << "typed" << true;
        QTest::newRow("the same text, as a write leaves it") << "as written" << false;
    }
    void boxWrite() {
        QFETCH(QString, before);
        QFETCH(bool, written);
        QLineEdit box(before == "before" ? before : now);
        box.setCursorPosition(before == "end" ? int(now.size()) : 0);
        if (before == "selected") box.setSelection(0, 4);
        box.setModified(before == "typed");
        QSignalSpy changes(&box, &QLineEdit::cursorPositionChanged);
        setBoxText(&box, now);
        QCOMPARE(box.text(), now);
        QCOMPARE(box.cursorPosition(), 0);
        QVERIFY(!box.hasSelectedText() && !box.isModified());
        QCOMPARE(!changes.isEmpty(), written);
    }

    void coloursAreBlueGreenRed() { QCOMPARE(colorFromBgr(0x3E8FF4), QColor(0xF4, 0x8F, 0x3E)); }
};

QTEST_MAIN(ControlsTest)
#include "test_controls.moc"
