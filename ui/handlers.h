#pragma once
// Every event handler of a window, "<control>_<event>" (cmdPS2_Click,
// Timer6_Timer, cmdQAV3_Click), is connected once to its control, found by
// name. A control that is not on the window is an error when the window is
// made, never a dead button. The 37 console buttons and timers share one click
// and one tick procedure, connected in one loop over the catalogue.

namespace agelark {

class FormWindow;

// Connects the handlers of `window` (Form1, Form2 or Saved) to its buttons'
// clicks and its timers' ticks, each inside the failure boundary. Throws
// UserError when a handler's control is missing.
void wireHandlers(FormWindow* window);

}  // namespace agelark
