#pragma once
// Failures travel as exceptions from the operation that failed to one boundary
// around every event handler, which tells the user and lets the program go on.

#include <QString>
#include <functional>
#include <stdexcept>

class QObject;
class QWidget;

namespace agelark {

// A failure whose message is already written for the user.
class UserError : public std::runtime_error {
public:
    explicit UserError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// The words a user sees for any failure.
QString describeFailure(const std::exception& failure);

// An information box with one OK button under the application title. A box
// already open is let close first: the notice follows it.
void showNotice(QWidget* window, const QString& text);

// Whether one of the program's message boxes is open. Boxes are modal: while
// one is open the windows beneath take no input, and nothing may destroy a
// window (its box is a child of it and runs the event loop).
bool boxOpen();

// Runs `action` now when no box is open, else as soon as the last one closes,
// in the order such actions were asked for.
void whenNoBoxOpen(std::function<void()> action);

// Asks the user in a question box with a button for each of `actions` and
// Cancel (see MessageBoxes::question); the index of the action chosen, -1 for
// Cancel. While it is open, failures and notices wait as for any other box.
int askUser(QWidget* window, const QString& text, const QStringList& actions);

// Runs one event handler. A failure stops it at the failing step and is shown
// in a warning box over `window`; nothing escapes into the event loop. A
// failure while another box is open is shown once that box has closed.
void runHandler(QWidget* window, const std::function<void()>& handler);

// The same for a handler the user starts (a click). While a message box is
// open the windows beneath it take no input: a press from an assistive tool,
// which modality does not stop, is refused as the mouse and keyboard are.
void runUserHandler(QWidget* window, const std::function<void()>& handler);

// The same for a step that repeats ten times a second (a count's tick), which
// would fail again as often: its failure is shown only while `told` is false,
// and sets it. Code clears `told` when the user starts the count afresh.
void runRepeating(QWidget* window, bool& told, const std::function<void()>& step);

// Runs `step` and tells whether it went through. For the handlers whose way
// with a failure is to start over, not to tell it: the failure ends here.
[[nodiscard]] bool succeeded(const std::function<void()>& step);

}  // namespace agelark
