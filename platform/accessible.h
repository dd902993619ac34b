#pragma once
// How assistive tools read a control where Qt's own reading does not fit (a
// window read as a mere panel, a line as a frame, a box editable whatever its
// state). One factory, installed with the first control so marked, gives each
// marked control the interface made for it.

class QAccessibleInterface;
class QWidget;

namespace agelark {

using AccessibleMaker = QAccessibleInterface* (*)(QWidget* control);

// From now on assistive tools read `control` through the interface `make`
// gives. Call before anything reads the control to an assistive tool: an
// interface once made is kept for the control's life.
void readAs(QWidget* control, AccessibleMaker make);

}  // namespace agelark
