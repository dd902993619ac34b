#pragma once
// The Visit buttons open the project's home page in the user's web browser,
// or, where the build names none, the About page installed with the program.

#include <QString>

class QWidget;

namespace agelark {

// The caption of every Visit button.
extern const QString visitCaption;

// What every Visit button opens: the home page the build was given
// (AGELARK_HOMEPAGE), else the About page among the program's data files, as
// a file:// address, so that a click opens something real, offline too.
QString siteAddress();
// The program that opens it: it gets the address as its one argument.
extern const QString siteOpener;

// Starts the opener with the site address, without a shell, and does not wait
// for it. A launch that fails raises a UserError naming the command that
// could not be started; an opener that starts but then fails (no browser to
// open the address with) is told later, in a warning over `window`.
void visitSite(QWidget* window);

}  // namespace agelark
