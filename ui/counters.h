#pragma once
// The live console counters: one click procedure and one tick procedure for
// all 37 console buttons, driven by the button's catalogue entry.

#include "engine/catalogue.h"

namespace agelark {

class FormWindow;

// Selects the console: its picture, its timer running, the rest of its group stopped.
void consoleClick(FormWindow* window, const ConsoleEntry& entry);

// One tick of the console's timer: the now-box refreshed, the report text shown.
void consoleTick(FormWindow* window, const ConsoleEntry& entry);

}  // namespace agelark
