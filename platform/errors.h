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

// Asks the user in a question box with the buttons `action` and Cancel (see
// MessageBoxes::question); true when the user chose `action`. While it is
// open, failures and notices wait as they do for any other box.
bool askUser(QWidget* window, const QString& text, const QString& action);

// Runs one event handler. A failure stops it at the failing step and is shown
// in a warning box over `window`; nothing escapes into the event loop. While a
// warning box is open, further failures are not shown on top of it.
void runHandler(QWidget* window, const std::function<void()>& handler);

// The same for a timer's tick, which would fail again ten times a second: once
// a failure of `timer` has been shown, its later failures are not shown again
// until forgetTickFailure(timer) (a click that restarts the timer).
void runTick(QWidget* window, QObject* timer, const std::function<void()>& handler);
void forgetTickFailure(QObject* timer);

}  // namespace agelark
