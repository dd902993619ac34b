// A date box as assistive tools edit it, through its accessible value and its
// editable-text interface: taken while the box takes typing, refused while it
// is disabled or read-only, and read either way.

#include <QAccessible>
#include <QLineEdit>
#include <QTest>
#include <functional>

#include "ui/assistive.h"

class BoxAccessibleTest : public QObject {
    Q_OBJECT
private slots:
    void editsOnlyWhileItTakesTyping_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("takes typing") << true << false;
        QTest::newRow("disabled") << false << false;
        QTest::newRow("read-only") << true << true;
    }
    void editsOnlyWhileItTakesTyping() {
        QFETCH(bool, enabled);
        QFETCH(bool, readOnly);
        QLineEdit box;
        agelark::refuseEditsWhileLocked(&box);
        box.setEnabled(enabled);
        box.setReadOnly(readOnly);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&box);
        QAccessibleEditableTextInterface* edit = a->editableTextInterface();
        QVERIFY(edit && a->textInterface());
        const bool takes = enabled && !readOnly;
        QCOMPARE(a->state().editable, takes);
        const std::pair<QString, std::function<void()>> edits[] = {
            {"x01/01/2015", [&] { edit->insertText(0, "x"); }},
            {"1/01/2015", [&] { edit->deleteText(0, 1); }},
            {"02/01/2015", [&] { edit->replaceText(0, 2, "02"); }},
            {"12/25/1999", [&] { a->setText(QAccessible::Value, "12/25/1999"); }},
        };
        for (const auto& [after, make] : edits) {
            box.setText("01/01/2015");
            make();
            QCOMPARE(box.text(), takes ? after : QString("01/01/2015"));
            QCOMPARE(a->textInterface()->text(0, a->textInterface()->characterCount()), box.text());
        }
    }
};

QTEST_MAIN(BoxAccessibleTest)
#include "test_box_accessible.moc"
