#include "visit.h"

#include "platform.h"

namespace agelark {

// A placeholder under the reserved example domain until the project has a home page of its own.
const QString siteAddress = QStringLiteral("https://agelark.example.org/");

void visitSite() { platform().launcher->startDetached(QStringLiteral("xdg-open"), {siteAddress}); }

}  // namespace agelark
