#pragma once
// The results offer "Copy" on a right-click, which puts the text they show on
// the clipboard.

#include <QString>
#include <functional>

class QWidget;

namespace agelark {

// Gives a result its "Copy" menu, which puts what `text` gives on the
// clipboard, with the platform's own line breaks.
void giveCopyMenu(QWidget* result, std::function<QString()> text);

// `text` with its line breaks (CR LF, LF or CR alone) written as the platform writes them.
QString withPlatformLineBreaks(QString text);

}  // namespace agelark
