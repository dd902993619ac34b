#pragma once
// The program's windows: the main window (one at a time: starting over puts
// a fresh one in its place), and the handheld and confirmation windows, made
// when first shown and gone when closed. Closing the main window closes the
// others, and the program ends when its last window is closed.

namespace agelark {

class MainWindow;
class HandheldWindow;
class SavedWindow;

// The windows open now; nullptr for one that is not.
MainWindow* mainWindow();
HandheldWindow* handheldWindow();
SavedWindow* savedWindow();

// Each shows the window, made first when it is not open, and brings it to
// the front, restored if it was minimised: the user asked to see it.
void showMainWindow(MainWindow* window);
HandheldWindow* showHandheldWindow();
SavedWindow* showSavedWindow();

// The program's start: the windows' icon and style, the main window shown,
// and its end when the system asks (SIGTERM) as when the user closes it.
void startProgram();

}  // namespace agelark
