#pragma once
// Which window system the program's windows go to, and what happens where
// there is none.

#include <QApplication>
#include <memory>

namespace agelark {

// The application object, on X11 where an X server answers and on Wayland
// otherwise. Under a Wayland session that also runs X11 programs (XWayland)
// the windows go to X11: Wayland lets no program place its own windows, and
// the handheld and confirmation windows are laid on the main window's corner.
// A choice the user made (QT_QPA_PLATFORM, or -platform) stands. Where no
// window system answers, one line on stderr says what is missing and how to
// run the program, and the program ends with exit status 1.
std::unique_ptr<QApplication> openWindowSystem(int& argc, char** argv);

}  // namespace agelark
