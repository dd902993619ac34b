#pragma once
// The notes pad's text, exactly as the user typed it, lines separated by "\n".

#include <QString>

class QPlainTextEdit;

namespace agelark {

class FormWindow;

// The notes pad, `txtNotes`, of the main window.
QPlainTextEdit* notesPad(FormWindow* form1);

// The text of `txtNotes` on the main window. Unlike QPlainTextEdit::toPlainText
// it keeps non-breaking spaces; every line break, also one typed with Shift,
// reads as "\n".
QString padText(FormWindow* form1);

}  // namespace agelark
