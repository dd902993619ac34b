#include "platform/rebuild.h"

#include <QCoreApplication>
#include <QTabBar>

#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/timers.h"
#include "platform/windows.h"

namespace agelark {

namespace {

bool rebuildWaiting = false;

// Selects a page through the tab control's strip, which switches the page with it.
void selectTab(FormWindow* window, const Rebuild& how) {
    auto strip = control<QWidget>(window, how.tabControl)->findChild<QTabBar*>();
    if (!strip) throw UserError(QStringLiteral("The tab control %1 has no tab strip.").arg(how.tabControl));
    strip->setCurrentIndex(how.tab);
}

}  // namespace

void requestRebuild(const Rebuild& how) {
    if (rebuildWaiting) return;
    rebuildWaiting = true;
    // Back in the event loop first: nothing of the old window (the button or
    // timer whose handler asked) is still at work when it goes.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [how] {
            whenNoBoxOpen([how] {
                rebuildWaiting = false;
                runHandler(windows().loadedWindow(how.window), [&] { rebuildNow(how); });
            });
        },
        Qt::QueuedConnection);
}

void rebuildNow(const Rebuild& how) {
    // Everything needed from the old window is read before it goes: after the
    // unload it is hidden, its timers are stopped and it only waits to be
    // deleted, so nothing below touches it again.
    std::function<void(FormWindow*)> putBack;
    QRect place;
    if (FormWindow* old = windows().loadedWindow(how.window)) {
        const Windows::Definition* definition = windows().definition(how.window);
        if (how.keepUnsaved && definition && definition->keepUnsaved) putBack = definition->keepUnsaved(old);
        if (old->isVisible()) place = old->geometry();
    }

    windows().unload(how.window, UnloadReason::Code);
    FormWindow* fresh = windows().get(how.window);  // loads it afresh: its load handler runs again
    if (putBack) putBack(fresh);
    // The page is chosen and the place given before the window shows, so the
    // user sees neither the first page flash nor the window jump.
    selectTab(fresh, how);
    if (place.isValid()) fresh->setGeometry(place);
    windows().show(how.window);
    if (!how.notice.isEmpty()) showNotice(fresh, how.notice);
}

void tickOrStartOver(Timer* timer, const Rebuild& how, const std::function<void()>& tick) {
    if (succeeded(tick)) return;
    timer->setEnabled(false);
    requestRebuild(how);
}

}  // namespace agelark
