#include "ui/handheld.h"

#include "platform/windows.h"

namespace agelark {

void cmdHandheld_Click() {
    // Shown first, then moved: the window may appear for a moment where the window system put it.
    placeOnCornerOf(windows().show("Form2"), windows().get("Form1"));
}

}  // namespace agelark
