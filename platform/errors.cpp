#include "platform/errors.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "engine/age.h"
#include "engine/date_text.h"
#include "platform/platform.h"

namespace agelark {

namespace {

// Message boxes are modal and let other events run while open: a failure or a
// notice arriving meanwhile must not open a second box over the first, and
// what would destroy a window waits until no box is open.
int boxesOpen = 0;
QList<std::function<void()>> waitingForBoxes;

void runWaitingActions();

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
    runWaitingActions();
}

void runWaitingActions() {
    while (boxesOpen == 0 && !waitingForBoxes.isEmpty()) waitingForBoxes.takeFirst()();
}

// Shows the failure in a warning box; while another box is open, once it has closed.
void report(QWidget* window, const std::exception& failure) {
    whenNoBoxOpen([window = QPointer<QWidget>(window), text = describeFailure(failure)] {
        showBox([&] { platform().messages->warning(window, text); });
    });
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
    whenNoBoxOpen([window = QPointer<QWidget>(window), text] {
        showBox([&] { platform().messages->information(window, text); });
    });
}

bool boxOpen() { return boxesOpen > 0; }

void whenNoBoxOpen(std::function<void()> action) {
    waitingForBoxes.append(std::move(action));
    runWaitingActions();
}

int askUser(QWidget* window, const QString& text, const QStringList& actions) {
    int chosen = -1;
    showBox([&] { chosen = platform().messages->question(window, text, actions); });
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

void runUserHandler(QWidget* window, const std::function<void()>& handler) {
    if (boxOpen()) return;
    runHandler(window, handler);
}

void runRepeating(QWidget* window, bool& told, const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& failure) {
        if (told) return;
        // Marked first: the box runs other events, among them the step's next runs.
        told = true;
        report(window, failure);
    }
}

bool succeeded(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace agelark
