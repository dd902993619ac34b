#include "platform/accessible.h"

#include <QAccessible>
#include <QWidget>

namespace agelark {

namespace {

// The maker of a marked control, kept on the control itself.
const char* const makerProperty = "agelark_accessible_maker";

QAccessibleInterface* madeForControl(const QString&, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    const QVariant maker = object->property(makerProperty);
    if (!maker.isValid()) return nullptr;
    return reinterpret_cast<AccessibleMaker>(maker.value<quintptr>())(static_cast<QWidget*>(object));
}

}  // namespace

void readAs(QWidget* control, AccessibleMaker make) {
    static const bool factoryInstalled = (QAccessible::installFactory(madeForControl), true);
    (void)factoryInstalled;
    control->setProperty(makerProperty, QVariant::fromValue(reinterpret_cast<quintptr>(make)));
}

}  // namespace agelark
