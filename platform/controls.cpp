#include "platform/controls.h"

#include <QHash>
#include <QPointer>
#include <QSet>

namespace agelark {

namespace {

using Found = QHash<QString, QPointer<QObject>>;

// Per window, what was found under each name. A window's entry goes with the
// window; the table itself is never destroyed, so that a window destroyed late
// in the program's end still finds it.
QHash<const QObject*, Found>& foundControls() {
    static auto* found = new QHash<const QObject*, Found>;
    return *found;
}

// The window's names and the controls under them, made on the first look-up
// in the window. Its controls are named once each: one walk over the window
// finds them all, where a search for each name walks it again. A name that two
// objects share is left to the search, which knows which one comes first.
Found& controlsOf(const QObject* window) {
    auto& all = foundControls();
    if (const auto known = all.find(window); known != all.end()) return *known;
    Found names;
    QSet<QString> shared;
    for (QObject* object : window->findChildren<QObject*>()) {
        const QString name = object->objectName();
        if (name.isEmpty() || shared.contains(name)) continue;
        if (names.remove(name))
            shared.insert(name);
        else
            names.insert(name, object);
    }
    QObject::connect(window, &QObject::destroyed, [window] { foundControls().remove(window); });
    return *all.insert(window, std::move(names));
}

bool isInside(const QObject* object, const QObject* window) {
    for (const QObject* up = object->parent(); up; up = up->parent())
        if (up == window) return true;
    return false;
}

}  // namespace

QObject* rememberedControl(const QObject* window, const QString& name, const QMetaObject& type) {
    const Found& inWindow = controlsOf(window);
    const auto known = inWindow.constFind(name);
    if (known == inWindow.constEnd()) return nullptr;
    QObject* control = known->data();
    if (control && control->objectName() == name && type.cast(control) && isInside(control, window)) return control;
    return nullptr;
}

void rememberControl(const QObject* window, const QString& name, QObject* control) {
    controlsOf(window).insert(name, control);
}

QString arrayMember(const QString& arrayName, int index) {
    return arrayName + QLatin1Char('_') + QString::number(index);
}

}  // namespace agelark
