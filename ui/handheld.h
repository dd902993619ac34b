#pragma once

namespace agelark {

class FormWindow;

// Lays `window` over the main window's top-left corner.
void placeOnMainWindowCorner(FormWindow* window);

// "Handhelds": opens the handheld window over the main window's corner.
void cmdHandheld_Click();

}  // namespace agelark
