#include "ui/assistive.h"

#include <QAccessibleWidget>
#include <QFrame>
#include <QLineEdit>

#include "ui/box_accessible.h"

namespace agelark {

namespace {

// Marks the controls that read to assistive tools otherwise than Qt reads them.
const char* const readAsProperty = "agelark_read_as";
const char* const separator = "separator";
const char* const lockableBox = "lockable box";

QAccessibleInterface* readAs(const QString&, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    const QByteArray as = object->property(readAsProperty).toByteArray();
    if (as == separator) return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Separator);
    if (as == lockableBox)
        if (auto box = qobject_cast<QLineEdit*>(object)) return lockableBoxAccessible(box);
    return nullptr;
}

// Before anything reads the control to an assistive tool: an interface once
// made is kept for the control's life.
void mark(QWidget* control, const char* as) {
    static const bool factoryInstalled = (QAccessible::installFactory(readAs), true);
    (void)factoryInstalled;
    control->setProperty(readAsProperty, QByteArray(as));
}

}  // namespace

void refuseEditsWhileLocked(QLineEdit* box) { mark(box, lockableBox); }

void readAsSeparator(QFrame* line) { mark(line, separator); }

}  // namespace agelark
