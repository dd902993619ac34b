#include "notes/notes_pad.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "platform/controls.h"
#include "platform/windows.h"

namespace agelark {

QPlainTextEdit* notesPad(FormWindow* form1) { return control<QPlainTextEdit>(form1, "txtNotes"); }

QString padText(FormWindow* form1) {
    // The raw text separates blocks with U+2029 and marks a line break inside a
    // block with U+2028; toPlainText would also turn no-break spaces into spaces.
    QString text = notesPad(form1)->document()->toRawText();
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = u'\n';
    return text;
}

}  // namespace agelark
