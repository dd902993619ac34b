#pragma once
// The three windows in their design state: every control by name, with its
// caption or text, place, font and colour, and the window's own timers.
// Controls are made in the order a page is read, column by column from the
// left and each column from the top down: Tab goes through them in that order.

namespace agelark {

class FormWindow;

FormWindow* createForm1();
FormWindow* createForm2();
FormWindow* createSaved();

// The one credit line of the byline labels.
extern const char* const bylineText;

}  // namespace agelark
