#include "handheld.h"

#include "windows.h"

namespace agelark {

void placeOnMainWindowCorner(FormWindow* window) {
    // Shown first, then moved: the window may appear for a moment where the window system put it.
    window->move(windows().get("Form1")->pos());
}

void cmdHandheld_Click() { placeOnMainWindowCorner(windows().show("Form2")); }

}  // namespace agelark
