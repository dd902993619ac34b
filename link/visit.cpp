#include "link/visit.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include "platform/errors.h"
#include "platform/platform.h"

namespace agelark {

const QString visitCaption = QStringLiteral("Visit website");

QString siteAddress() {
    const QString homepage = QStringLiteral(AGELARK_HOMEPAGE);
    return homepage.isEmpty() ? QUrl::fromLocalFile(appFilePath("\\about.html")).toString(QUrl::FullyEncoded) : homepage;
}

// The desktop's own opener hands the address to the user's web browser.
const QString siteOpener = QStringLiteral("xdg-open");

namespace {

// The opener started, then said it could not open the address: told once no
// other box is open, as nothing else shows the user that no browser came.
void tellOpenerFailed(const QPointer<QWidget>& window, const QString& address, int exitStatus) {
    const QString how = exitStatus < 0 ? QStringLiteral("stopped abnormally")
                                       : QStringLiteral("ended with exit status %1").arg(exitStatus);
    const QString message = QStringLiteral("Could not open %1 in a web browser: \"%2\" %3. Is a web browser installed "
                                           "and chosen as the default one?")
                                .arg(address, siteOpener, how);
    whenNoBoxOpen([window, message] { runHandler(window, [&] { throw UserError(message); }); });
}

}  // namespace

void visitSite(QWidget* window) {
    const QString address = siteAddress();
    try {
        platform().launcher->start(siteOpener, {address}, [window = QPointer<QWidget>(window), address](int status) {
            tellOpenerFailed(window, address, status);
        });
    } catch (const UserError&) {
        // The launcher knows only that it failed; the user is told what was tried.
        throw UserError(QStringLiteral("Could not open %1 in the web browser: the command \"%2\" could not be "
                                       "started. Is it installed?")
                            .arg(address, siteOpener));
    }
}

}  // namespace agelark
