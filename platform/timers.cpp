#include "platform/timers.h"

#include <QWidget>

#include "platform/errors.h"

namespace agelark {

Timer::Timer(QObject* window, const QString& name) : QTimer(window) {
    setObjectName(name);
    setInterval(0);
}

void Timer::apply() {
    if (enabled_ && interval() > 0)
        start();  // restarts the count of a running timer, as a new interval should
    else
        stop();
}

void Timer::setTickInterval(int milliseconds) {
    failureTold_ = false;
    setInterval(milliseconds);
    apply();
}

void Timer::setEnabled(bool enabled) {
    const bool wasTicking = isActive();
    enabled_ = enabled;
    if (enabled && wasTicking) return;
    apply();
}

void Timer::onTick(QWidget* window, std::function<void()> handler) {
    window_ = window;
    handler_ = std::move(handler);
    connect(this, &QTimer::timeout, window, [this] { tickNow(); });
}

void Timer::tickNow() {
    if (handler_) runTick(window_, this, handler_);
}

}  // namespace agelark
