#pragma once
// The result labels offer "Copy" on a right-click, which puts the text they
// show on the clipboard.

#include <QString>

class QLabel;

namespace agelark {

// Gives a result label its "Copy" menu.
void giveCopyMenu(QLabel* label);

// The label's current text on the clipboard, with the platform's own line breaks.
void copyLabelText(const QLabel* label);

// `text` with its line breaks (CR LF, LF or CR alone) written as the platform writes them.
QString withPlatformLineBreaks(QString text);

}  // namespace agelark
