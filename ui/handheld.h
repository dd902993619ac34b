#pragma once

namespace agelark {

// "Handhelds": opens the handheld window over the main window's corner.
void cmdHandheld_Click();

}  // namespace agelark
