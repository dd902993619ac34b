#pragma once
// The program's timers have an interval and an enabled flag of their own: a
// timer ticks only while it is enabled with an interval above 0. Every timer
// is created enabled with interval 0, so it is idle until code gives it an
// interval. A timer also knows whether a failure of its tick has already been
// told, so that a tick failing ten times a second is told once.
//
// Nobody sees a minimised window, so its timers need not count for it ten
// times a second: while the window is minimised they tick together once a
// second, on one beat shared by every minimised window, and the program wakes
// at most once a second; a count that fails is still found within a second.
// When the window comes back each of them ticks at once, before the window is
// drawn, and takes up its own interval again.

#include <QPointer>
#include <QTimer>
#include <functional>

namespace agelark {

class WindowSleep;

class Timer : public QTimer {
    Q_OBJECT
public:
    // A new timer of `window`, named as the program speaks of it, enabled with interval 0.
    Timer(QObject* window, const QString& name);
    ~Timer() override;

    // A new interval (re)starts an enabled timer and makes its failures worth
    // telling again: code gives an interval when it starts a count afresh.
    void setTickInterval(int milliseconds);
    // Enabling a running timer does not restart it; disabling stops it and keeps its interval.
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }
    // Enabled with an interval: ticking at its own pace, or on the beat of a minimised window.
    bool isRunning() const { return enabled_ && interval() > 0; }
    // For a timer whose every tick the user is waiting for, seen or not (the
    // save's animation, which ends in the confirmation): it keeps its pace
    // while its window is minimised.
    void keepPaceWhenMinimised() { keepsPace_ = true; }

    bool failureTold() const { return failureTold_; }
    void setFailureTold(bool told) { failureTold_ = told; }

    // The handler that runs on every tick, inside the failure boundary; the
    // window's design connects it once. The timer sleeps while `window` is minimised.
    void onTick(QWidget* window, std::function<void()> handler);
    // One tick now, as the timer would deliver it: for tests and benchmarks.
    void tickNow();

private:
    friend class WindowSleep;
    void apply();
    bool enabled_ = true;
    bool failureTold_ = false;
    bool keepsPace_ = false;
    bool onBeat_ = false;  // ticking once a second for a minimised window
    QWidget* window_ = nullptr;
    QPointer<WindowSleep> sleep_;
    std::function<void()> handler_;
};

}  // namespace agelark
