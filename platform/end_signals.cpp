#include "platform/end_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>

#include "platform/errors.h"

namespace agelark {

namespace {

// A signal handler may do next to nothing: it writes one byte, and the event
// loop, which watches the other end, does the rest.
int wakeUp[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeUp[0], &byte, 1);
}

std::function<void()> ending;

// No window may go while a message box is open over it: the end waits for the
// box, which is closed as its OK would close it.
void endProgram() {
    whenNoBoxOpen(ending);
    if (boxOpen())
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
}

}  // namespace

void endOnTerminationSignals(std::function<void()> end) {
    ending = std::move(end);
    if (wakeUp[0] >= 0) return;  // listening already
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeUp) != 0) return;  // the default action stays
    auto notifier = new QSocketNotifier(wakeUp[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(wakeUp[1], &byte, 1);
        endProgram();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace agelark
