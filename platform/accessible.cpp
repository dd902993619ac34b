#include "platform/accessible.h"

#include <QAccessible>
#include <QPointer>
#include <QWidget>

namespace agelark {

namespace {

// The maker of a marked control, kept on the control itself.
const char* const makerProperty = "agelark_accessible_maker";
const char* const reportProperty = "agelark_report";
const char* const untoldProperty = "agelark_report_untold";
const char* const countProperty = "agelark_tells_count";

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

void reportTo(QWidget* control, QWidget* result) {
    control->setProperty(reportProperty, QVariant::fromValue(QPointer<QWidget>(result)));
    control->setProperty(untoldProperty, result != nullptr);
    if (result) result->setProperty(countProperty, true);
}

void reported(QWidget* control) {
    if (!control->property(untoldProperty).toBool()) return;
    control->setProperty(untoldProperty, false);
    // Met anew by assistive tools, now as a notification, and shown: a screen
    // reader tells a notification as it shows.
    if (QWidget* report = reportOf(control)) {
        renewForAssistiveTools(report);
        QAccessibleEvent told(report, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&told);
    }
}

void renewForAssistiveTools(QWidget* widget) {
    if (!QAccessible::isActive()) return;
    QList<QWidget*> all{widget};
    all += widget->findChildren<QWidget*>();
    for (auto w = all.rbegin(); w != all.rend(); ++w) {
        QAccessibleEvent gone(*w, QAccessible::ObjectDestroyed);
        QAccessible::updateAccessibility(&gone);
        if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(*w))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
    }
    for (QWidget* w : all) {
        QAccessibleEvent made(w, QAccessible::ObjectCreated);
        QAccessible::updateAccessibility(&made);
    }
}

bool tellsCount(const QWidget* result) { return result->property(countProperty).toBool(); }

QWidget* reportOf(const QWidget* control) { return control->property(reportProperty).value<QPointer<QWidget>>(); }

}  // namespace agelark
