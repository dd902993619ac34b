#pragma once
// The rebuild of a window (the main window, on Reset and on the failures that
// start it over): unloaded by code, loaded afresh (its load handler runs
// again), a page selected, shown where the old one stood, then a notice when
// there is one.
//
// A rebuild never runs inside the handler that asks for it, nor while a
// message box is open: the box is a child of its window and runs the event
// loop, so destroying the window under it would destroy the box too. It runs
// from the event loop once no box is open; the notice follows.

#include <QString>
#include <functional>

namespace agelark {

class Timer;

struct Rebuild {
    QString window = QStringLiteral("Form1");
    QString tabControl = QStringLiteral("SSTTab1");
    int tab = 0;                 // page of the tab control to select
    QString notice;              // information box after the window is shown; none when empty
    bool keepUnsaved = false;    // what the user typed and has not saved stays (the window's carry-over)
};

// Asks for a rebuild. While one is already waiting, a second is not added:
// the window would only be started over twice.
void requestRebuild(const Rebuild& how);

// Runs the rebuild at once: for the event loop's call and for tests.
void rebuildNow(const Rebuild& how);

// One tick of a count whose way with a failure is to start its window over:
// when `tick` fails, wherever it fails, `timer` stops and the rebuild `how` is
// asked for.
void tickOrStartOver(Timer* timer, const Rebuild& how, const std::function<void()>& tick);

}  // namespace agelark
