#pragma once
// The Visit buttons open the project's web site in the user's browser.

#include <QString>

class QWidget;

namespace agelark {

// The Visit buttons' caption.
extern const QString visitCaption;
// The site every Visit button opens.
extern const QString siteAddress;
// The program that opens it: it gets the address as its one argument.
extern const QString siteOpener;

// Starts the opener with the site address, without a shell, and does not wait
// for it. A launch that fails raises a UserError naming the command that
// could not be started; an opener that starts but then fails (no browser to
// open the address with) is told later, in a warning over `window`.
void visitSite(QWidget* window);

}  // namespace agelark
