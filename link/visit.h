#pragma once
// The "Visit {qAv}" buttons open the project's web site in the user's browser.

#include <QString>

namespace agelark {

// The site every Visit button opens.
extern const QString siteAddress;

// Starts the desktop's opener with the site address as its one argument,
// detached, without a shell; a launch that fails is reported by the caller's boundary.
void visitSite();

}  // namespace agelark
