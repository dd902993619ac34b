#pragma once
// The rebuild of the main window: unloaded by code, loaded afresh (its load
// handler runs again), a page selected, shown, then a notice when there is one.

#include <QString>

namespace agelark {

struct Rebuild {
    int tab = 0;                // page of SSTTab1 to select
    QString notice;             // information box after the window is shown; none when empty
    bool keepUnsavedNotes = false;  // the pad keeps what it held instead of reloading the file
};

void rebuildMainWindow(const Rebuild& how);

}  // namespace agelark
