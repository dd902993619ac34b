#include "rebuild.h"

#include <QTabBar>

#include "controls.h"
#include "notes_load.h"
#include "notes_pad.h"
#include "errors.h"
#include "windows.h"

namespace agelark {

namespace {

const QString mainWindow = QStringLiteral("Form1");

// Selects a page of the main window's tab control through its tab strip, which
// switches the page with it.
void selectTab(FormWindow* form1, int tab) {
    auto tabs = control<QWidget>(form1, "SSTTab1");
    auto strip = tabs->findChild<QTabBar*>();
    if (!strip) throw UserError(QStringLiteral("The tab control SSTTab1 has no tab strip."));
    strip->setCurrentIndex(tab);
}

}  // namespace

void rebuildMainWindow(const Rebuild& how) {
    // Read everything needed from the old window before it goes: after the
    // unload it is hidden, its timers are stopped and it is only waiting to be
    // deleted, so nothing below touches it again.
    KeptNotes unsavedNotes;
    bool keepNotes = false;
    if (how.keepUnsavedNotes) {
        if (FormWindow* old = windows().loadedWindow(mainWindow)) {
            unsavedNotes = keptNotes(old);
            keepNotes = true;
        }
    }

    windows().unload(mainWindow, UnloadReason::Code);
    FormWindow* form1 = windows().get(mainWindow);  // loads it afresh: its load handler runs again
    if (keepNotes) keepPadText(form1, unsavedNotes);
    // The page is chosen before the window shows, so the user never sees the first page flash.
    selectTab(form1, how.tab);
    windows().show(mainWindow);
    if (!how.notice.isEmpty()) showNotice(form1, how.notice);
}

}  // namespace agelark
