#pragma once
// The result labels offer "Copy" on a right-click, which puts the text they
// show on the clipboard.

#include <QString>

class QLabel;

namespace agelark {

class FormWindow;

// Gives every result label of `window` (lblLabel1 to lblLabel5, lblAgelark,
// lblCustom, whichever it holds) its "Copy" menu.
void installCopyMenus(FormWindow* window);

// The label's current text on the clipboard, with the platform's own line breaks.
void copyLabelText(const QLabel* label);

// `text` with its line breaks (CR LF, LF or CR alone) written as the platform writes them.
QString withPlatformLineBreaks(QString text);

}  // namespace agelark
