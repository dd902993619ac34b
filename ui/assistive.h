#pragma once
// What assistive tools may do with the controls, and what they read them as.
// A screen reader edits a box through its accessible value, not through the
// keyboard, and reads a plain line as whatever role Qt gives a bare frame.

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace agelark {

// Both before anything reads the control to an assistive tool (an accessible
// name set first would make Qt's own interface for it, kept for its life).

// The box refuses edits from assistive tools while it is disabled or
// read-only, as it refuses the keyboard then. The program's own writes
// (setText) still go through.
void refuseEditsWhileLocked(QLineEdit* box);

// The line reads as a separator to assistive tools, not as a frame (a window).
void readAsSeparator(QFrame* line);

// The label of a count reads as a label until a control reports to it
// (reportTo in platform/accessible.h), from then on as a notification, which a
// screen reader tells as it shows: with its page, and once at each new count.
void readAsCount(QLabel* label);

// A push button whose description, while it reports to a result (reportTo in
// platform/accessible.h), is what the result shows now.
void readAsReporting(QPushButton* button);

}  // namespace agelark
