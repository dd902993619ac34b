#include "visit.h"

#include "errors.h"
#include "platform.h"

namespace agelark {

// PLACEHOLDER: an address under the reserved example domain until the project
// has a home page of its own.
const QString siteAddress = QStringLiteral("https://agelark.example.org/");

// The desktop's own opener hands the address to the user's web browser.
const QString siteOpener = QStringLiteral("xdg-open");

void visitSite() {
    try {
        platform().launcher->startDetached(siteOpener, {siteAddress});
    } catch (const UserError&) {
        // The launcher knows only that it failed; the user is told what was tried.
        throw UserError(QStringLiteral("Could not open %1 in the web browser: the command \"%2\" could not be "
                                       "started. Is it installed?")
                            .arg(siteAddress, siteOpener));
    }
}

}  // namespace agelark
