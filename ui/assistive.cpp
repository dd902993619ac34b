#include "ui/assistive.h"

#include <QAccessibleWidget>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/accessible.h"
#include "ui/box_accessible.h"

namespace agelark {

void refuseEditsWhileLocked(QLineEdit* box) {
    readAs(box, [](QWidget* control) { return lockableBoxAccessible(static_cast<QLineEdit*>(control)); });
}

void readAsSeparator(QFrame* line) {
    readAs(line, [](QWidget* control) -> QAccessibleInterface* {
        return new QAccessibleWidget(control, QAccessible::Separator);
    });
}

namespace {

class CountAccessible : public QAccessibleWidget {
public:
    explicit CountAccessible(QWidget* label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QAccessible::Role role() const override {
        return tellsCount(static_cast<QLabel*>(widget())) ? QAccessible::Notification : QAccessible::StaticText;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

class ReportingButtonAccessible : public QAccessibleWidget {
public:
    explicit ReportingButtonAccessible(QWidget* button) : QAccessibleWidget(button, QAccessible::Button) {}
    QString text(QAccessible::Text t) const override {
        if (QWidget* report = reportOf(widget()); report && t == QAccessible::Description)
            return QAccessible::queryAccessibleInterface(report)->text(QAccessible::Name);
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.defaultButton = static_cast<QPushButton*>(widget())->isDefault();
        return s;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            if (widget()->isEnabled()) static_cast<QPushButton*>(widget())->animateClick();
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

}  // namespace

void readAsCount(QLabel* label) {
    readAs(label, [](QWidget* control) -> QAccessibleInterface* { return new CountAccessible(control); });
}

void readAsReporting(QPushButton* button) {
    readAs(button, [](QWidget* control) -> QAccessibleInterface* { return new ReportingButtonAccessible(control); });
}

}  // namespace agelark
