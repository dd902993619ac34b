#pragma once
// A one-line box as assistive tools see it.

class QAccessibleInterface;
class QLineEdit;

namespace agelark {

// The box's text, caret and selection for a screen reader, as Qt's own
// line-edit interface offers them, with one difference: while the box is
// disabled or read-only, edits through it (insert, delete, replace, set the
// text) are refused, as typing is. Qt's own interface puts them into the box
// whatever its state.
QAccessibleInterface* lockableBoxAccessible(QLineEdit* box);

}  // namespace agelark
