#pragma once
// The "Visit {qAv}" buttons open the project's web site in the user's browser.

#include <QString>

namespace agelark {

// The site every Visit button opens.
extern const QString siteAddress;
// The program that opens it: it gets the address as its one argument.
extern const QString siteOpener;

// Starts the opener with the site address, detached, without a shell, and
// does not wait for it. A launch that fails raises a UserError naming the
// command that could not be started.
void visitSite();

}  // namespace agelark
