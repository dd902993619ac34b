#pragma once
// The notes pad's text, exactly as the user typed it, lines separated by "\n".

#include <QString>

namespace agelark {

class FormWindow;

// The text of `txtNotes` on the main window. Unlike QPlainTextEdit::toPlainText
// it keeps non-breaking spaces; every line break, also one typed with Shift,
// reads as "\n".
QString padText(FormWindow* form1);

// Puts `text` into `txtNotes`; "\n" and CR LF both break lines.
void setPadText(FormWindow* form1, const QString& text);

}  // namespace agelark
