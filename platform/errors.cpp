#include "errors.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include "age.h"
#include "date_text.h"
#include "platform.h"

namespace agelark {

namespace {

// Message boxes are modal and let other events run while open: a failure or a
// notice arriving meanwhile must not open a second box over the first.
int boxesOpen = 0;
QList<QPair<QPointer<QWidget>, QString>> pendingNotices;
constexpr const char* failureShownProperty = "agelarkFailureShown";

void showNextNotices();

template <class Show>
void showBox(Show show) {
    ++boxesOpen;
    try {
        show();
    } catch (...) {
        --boxesOpen;
        throw;
    }
    --boxesOpen;
    showNextNotices();
}

void showNextNotices() {
    while (boxesOpen == 0 && !pendingNotices.isEmpty()) {
        const auto notice = pendingNotices.takeFirst();
        showBox([&] { platform().messages->information(notice.first, notice.second); });
    }
}

// Shows the failure unless a box is already open; reports whether it was shown.
bool report(QWidget* window, const std::exception& failure) {
    if (boxesOpen > 0) return false;
    showBox([&] { platform().messages->warning(window, describeFailure(failure)); });
    return true;
}

}  // namespace

QString describeFailure(const std::exception& failure) {
    if (auto user = dynamic_cast<const UserError*>(&failure)) return user->message();
    if (dynamic_cast<const AgeOverflow*>(&failure))
        return QStringLiteral("This count can no longer be shown: more than 2,147,483,647 seconds "
                              "(about 68 years) have passed since its date.");
    if (dynamic_cast<const AgeError*>(&failure))
        return QStringLiteral("This count cannot be computed: its date is not a usable moment.");
    if (dynamic_cast<const DateConversionError*>(&failure))
        return QStringLiteral("A date box holds text that is not a date.");
    return QStringLiteral("Something went wrong: %1").arg(QString::fromLocal8Bit(failure.what()));
}

void showNotice(QWidget* window, const QString& text) {
    pendingNotices.append({window, text});
    showNextNotices();
}

bool askUser(QWidget* window, const QString& text, const QString& action) {
    bool chosen = false;
    showBox([&] { chosen = platform().messages->question(window, text, action); });
    return chosen;
}

void runHandler(QWidget* window, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& failure) {
        report(window, failure);
    } catch (...) {
        report(window, std::runtime_error("an unknown failure"));
    }
}

void runTick(QWidget* window, QObject* timer, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& failure) {
        if (timer->property(failureShownProperty).toBool()) return;
        // Mark first: the box runs other events, among them this timer's next ticks,
        // and may outlive the timer's window.
        QPointer<QObject> alive(timer);
        timer->setProperty(failureShownProperty, true);
        if (!report(window, failure) && alive) timer->setProperty(failureShownProperty, false);
    }
}

void forgetTickFailure(QObject* timer) { timer->setProperty(failureShownProperty, QVariant()); }

}  // namespace agelark
