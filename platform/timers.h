#pragma once
// The program's timers have an interval and an enabled flag of their own: a
// timer ticks only while it is enabled with an interval above 0. Every timer
// is created enabled with interval 0, so it is idle until code gives it an
// interval. A timer also knows whether a failure of its tick has already been
// told, so that a tick failing ten times a second is told once.

#include <QTimer>
#include <functional>

namespace agelark {

class Timer : public QTimer {
    Q_OBJECT
public:
    // A new timer of `window`, named as the program speaks of it, enabled with interval 0.
    Timer(QObject* window, const QString& name);

    // A new interval (re)starts an enabled timer and makes its failures worth
    // telling again: code gives an interval when it starts a count afresh.
    void setTickInterval(int milliseconds);
    // Enabling a running timer does not restart it; disabling stops it and keeps its interval.
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }

    bool failureTold() const { return failureTold_; }
    void setFailureTold(bool told) { failureTold_ = told; }

    // The handler that runs on every tick, inside the failure boundary; the
    // window's design connects it once.
    void onTick(QWidget* window, std::function<void()> handler);
    // One tick now, as the timer would deliver it: for tests and benchmarks.
    void tickNow();

private:
    void apply();
    bool enabled_ = true;
    bool failureTold_ = false;
    QWidget* window_ = nullptr;
    std::function<void()> handler_;
};

}  // namespace agelark
