#include "ui/assistive.h"

#include <QAccessibleWidget>
#include <QFrame>
#include <QLineEdit>

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

}  // namespace agelark
