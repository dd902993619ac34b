#include "timers.h"

namespace agelark {

namespace {
constexpr const char* enabledProperty = "agelarkEnabled";

void apply(QTimer* timer) {
    if (timerEnabled(timer) && timer->interval() > 0)
        timer->start();  // restarts the count of a running timer, as a new interval should
    else
        timer->stop();
}
}  // namespace

QTimer* makeTimer(QObject* window, const char* name) {
    auto timer = new QTimer(window);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(0);
    timer->setProperty(enabledProperty, true);
    return timer;
}

void setTimerInterval(QTimer* timer, int milliseconds) {
    timer->setInterval(milliseconds);
    apply(timer);
}

void setTimerEnabled(QTimer* timer, bool enabled) {
    const bool wasTicking = timer->isActive();
    timer->setProperty(enabledProperty, enabled);
    if (enabled && wasTicking) return;  // enabling a running timer does not restart it
    apply(timer);
}

bool timerEnabled(const QTimer* timer) { return timer->property(enabledProperty).toBool(); }

}  // namespace agelark
