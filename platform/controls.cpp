#include "platform/controls.h"

#include <QHash>
#include <QPointer>

namespace agelark {

namespace {

using Found = QHash<QString, QPointer<QObject>>;

// Per window, what was found under each name. A window's entry goes with the window.
QHash<const QObject*, Found>& foundControls() {
    static QHash<const QObject*, Found> found;
    return found;
}

bool isInside(const QObject* object, const QObject* window) {
    for (const QObject* up = object->parent(); up; up = up->parent())
        if (up == window) return true;
    return false;
}

}  // namespace

QObject* rememberedControl(const QObject* window, const QString& name, const QMetaObject& type) {
    const auto inWindow = foundControls().constFind(window);
    if (inWindow == foundControls().constEnd()) return nullptr;
    const auto known = inWindow->constFind(name);
    if (known == inWindow->constEnd()) return nullptr;
    QObject* control = known->data();
    if (control && control->objectName() == name && type.cast(control) && isInside(control, window)) return control;
    return nullptr;
}

void rememberControl(const QObject* window, const QString& name, QObject* control) {
    auto& all = foundControls();
    auto inWindow = all.find(window);
    if (inWindow == all.end()) {
        inWindow = all.insert(window, {});
        QObject::connect(window, &QObject::destroyed, [window] { foundControls().remove(window); });
    }
    inWindow->insert(name, control);
}

QString arrayMember(const QString& arrayName, int index) {
    return arrayName + QLatin1Char('_') + QString::number(index);
}

}  // namespace agelark
