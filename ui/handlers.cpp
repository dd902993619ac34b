#include "handlers.h"

#include <QAbstractButton>
#include <QTimer>

#include "catalogue.h"
#include "clock.h"
#include "counters.h"
#include "custom_countup.h"
#include "errors.h"
#include "handheld.h"
#include "notes_save.h"
#include "visit.h"
#include "windows.h"

namespace agelark {

namespace {

QString name(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

void addConsoles(QHash<QString, Handler>& table, WindowId window) {
    for (const ConsoleEntry& entry : catalogue()) {
        if (entry.window != window) continue;
        const ConsoleEntry* e = &entry;
        table.insert(name(entry.button) + "_Click", [e](FormWindow* w) { consoleClick(w, *e); });
        table.insert(name(entry.timer) + "_Timer", [e](FormWindow* w) { consoleTick(w, *e); });
    }
}

QHash<QString, Handler> form1Handlers() {
    QHash<QString, Handler> t;
    addConsoles(t, WindowId::Form1);
    t.insert("Timer22_Timer", Timer22_Timer);
    t.insert("cmdHandheld_Click", [](FormWindow*) { cmdHandheld_Click(); });
    t.insert("cmdCustom_Click", cmdCustom_Click);
    t.insert("Timer24_Timer", Timer24_Timer);
    t.insert("cmdReset_Click", cmdReset_Click);
    t.insert("cmdSave_Click", cmdSave_Click);
    t.insert("Timer23_Timer", Timer23_Timer);
    // The Visit buttons of the five console pages form three control arrays.
    t.insert("cmdQAV3_Click", [](FormWindow*) { visitSite(); });
    t.insert("cmdQAV4_Click", [](FormWindow*) { visitSite(); });
    t.insert("cmdQAV5_Click", [](FormWindow*) { visitSite(); });
    return t;
}

QHash<QString, Handler> form2Handlers() {
    QHash<QString, Handler> t;
    addConsoles(t, WindowId::Form2);
    t.insert("cmdqAv_Click", [](FormWindow*) { visitSite(); });
    return t;
}

QHash<QString, Handler> savedHandlers() {
    QHash<QString, Handler> t;
    t.insert("cmdOK_Click", cmdOK_Click);
    return t;
}

// "cmdQAV3_1" is member 1 of the array "cmdQAV3"; other names stand for themselves.
QString arrayName(const QString& controlName) {
    const int cut = controlName.lastIndexOf(QLatin1Char('_'));
    if (cut > 0) {
        bool isIndex = false;
        controlName.mid(cut + 1).toInt(&isIndex);
        if (isIndex) return controlName.left(cut);
    }
    return controlName;
}

}  // namespace

const QHash<QString, Handler>& handlersOf(const QString& windowName) {
    static const QHash<QString, Handler> form1 = form1Handlers();
    static const QHash<QString, Handler> form2 = form2Handlers();
    static const QHash<QString, Handler> saved = savedHandlers();
    static const QHash<QString, Handler> none;
    if (windowName == "Form1") return form1;
    if (windowName == "Form2") return form2;
    if (windowName == "Saved") return saved;
    return none;
}

void wireHandlers(FormWindow* window) {
    const QHash<QString, Handler>& table = handlersOf(window->objectName());
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        const auto handler = table.constFind(arrayName(button->objectName()) + "_Click");
        if (handler == table.constEnd()) continue;
        QObject::connect(button, &QAbstractButton::clicked, window,
                         [window, h = *handler] { runUserHandler(window, [&] { h(window); }); });
    }
    for (QTimer* timer : window->findChildren<QTimer*>()) {
        const auto handler = table.constFind(timer->objectName() + "_Timer");
        if (handler == table.constEnd()) continue;
        QObject::connect(timer, &QTimer::timeout, window,
                         [window, timer, h = *handler] { runTick(window, timer, [&] { h(window); }); });
    }
}

void invokeHandler(const QString& windowName, const QString& handlerName) {
    FormWindow* window = windows().get(windowName);
    const QHash<QString, Handler>& table = handlersOf(windowName);
    const auto handler = table.constFind(handlerName);
    if (handler == table.constEnd())
        throw UserError(QStringLiteral("The window %1 has no handler %2.").arg(windowName, handlerName));
    if (handlerName.endsWith("_Timer")) {
        QTimer* timer = window->findChild<QTimer*>(handlerName.chopped(int(sizeof "_Timer") - 1));
        if (timer) return runTick(window, timer, [&] { (*handler)(window); });
    }
    runHandler(window, [&] { (*handler)(window); });
}

}  // namespace agelark
