#pragma once
// Which window system the program's windows go to.

namespace agelark {

// Under a Wayland session that also runs X11 programs (XWayland), the windows
// go to X11: Wayland lets no program place its own windows, and the handheld
// and confirmation windows are laid on the main window's corner. A choice the
// user made (QT_QPA_PLATFORM, or -platform) stands. Call before the
// application object is made.
void preferPlaceableWindows(int argc, char** argv);

}  // namespace agelark
