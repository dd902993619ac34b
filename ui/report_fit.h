#pragma once
// The reports' lines each on a line of their own, within the picture box.

class QLabel;

namespace agelark {

// Narrows the result label's face (its horizontal stretch) just so far that
// the longest line of any console's report fits the label's width: a title, a
// release line, or the age line at the longest count there is. The designed
// face fits as it is; a wider face standing in for it is narrowed. The stretch
// stays when a click sets the console's point size, and the line lengths are
// measured at each console's own size.
void fitReportLines(QLabel* result);

}  // namespace agelark
