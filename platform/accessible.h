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

// A control that reports a count tells a screen reader the count's label
// while it reports to it (reportTo; nullptr: no more). The first text the
// label gets after reportTo is told at once (reported, called after each new
// text): the label, read as a notification, shows again to assistive tools;
// the changes after it are not told, so the count is told once and not at each
// tick. A screen reader asked where the control is reads the label as it
// stands, as the control's description (ui/assistive.h).
void reportTo(QWidget* control, QWidget* result);
void reported(QWidget* control);
QWidget* reportOf(const QWidget* control);
bool tellsCount(const QWidget* result);  // since a control reports to it

// The widget and everything in it read as new objects to assistive tools. A
// screen reader keeps what it learnt of an object's states, and Qt tells it
// when a widget shows but never that it became visible: without this, a page
// shown after the screen reader met it hidden stays hidden to it.
void renewForAssistiveTools(QWidget* widget);

}  // namespace agelark
