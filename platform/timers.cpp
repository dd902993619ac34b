#include "platform/timers.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QWidget>
#include <QWindow>

#include "platform/errors.h"

namespace agelark {

namespace {

constexpr int beatMilliseconds = 1000;

// The timers of minimised windows tick together on one beat, so that however
// many there are the program wakes once a second. The beat runs only while a
// timer follows it.
QList<QPointer<Timer>> beatFollowers;
QPointer<QTimer> beat;

void followBeat(Timer* timer, bool follow) {
    beatFollowers.removeAll(timer);
    if (follow) beatFollowers.append(timer);
    if (!beat) {
        if (!follow) return;
        beat = new QTimer(QCoreApplication::instance());
        beat->setInterval(beatMilliseconds);
        beat->setTimerType(Qt::PreciseTimer);  // a coarse one may come up to 5% late: past the second
        QObject::connect(beat, &QTimer::timeout, beat, [] {
            for (const QPointer<Timer>& timer : QList(beatFollowers))  // a tick may open a box, which runs events
                if (timer) timer->tickNow();
        });
    }
    if (beatFollowers.isEmpty())
        beat->stop();
    else if (!beat->isActive())
        beat->start();
}

}  // namespace

// Whether one window is minimised, as its timers need to know, told by the
// window's state changes. Its native window being drawn again may come before
// the state change is told (or be a late one from before it was minimised):
// its sleeping timers then tick at once, so that what is drawn is right.
class WindowSleep : public QObject {
public:
    static WindowSleep* of(QWidget* window) {
        for (QObject* child : window->children())
            if (auto found = dynamic_cast<WindowSleep*>(child)) return found;
        return new WindowSleep(window);
    }
    bool asleep() const { return asleep_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:  // the native window exists from the first show on
            if (QWindow* handle = window_->windowHandle()) handle->installEventFilter(this);
            break;
        case QEvent::WindowStateChange:
            if (watched == window_ && window_->isMinimized() != asleep_) {
                asleep_ = !asleep_;
                forEachSleeper([](Timer* timer) { timer->apply(); });
            }
            break;
        case QEvent::Expose:
            if (static_cast<QWindow*>(watched)->isExposed()) forEachSleeper([](Timer*) {});
            break;
        default:
            break;
        }
        return false;
    }

private:
    explicit WindowSleep(QWidget* window) : QObject(window), window_(window) { window->installEventFilter(this); }

    // Applies `change` to each running timer of the window that may sleep.
    // One that was asleep then ticks at once: the window's counts and clock
    // are right before it is drawn again.
    void forEachSleeper(const std::function<void(Timer*)>& change) {
        QList<QPointer<Timer>> timers;
        for (Timer* timer : window_->findChildren<Timer*>())
            if (timer->sleep_ == this && timer->isRunning() && !timer->keepsPace_) timers.append(timer);
        const QPointer<WindowSleep> alive(this);
        for (const QPointer<Timer>& timer : timers) {
            if (!alive) return;  // the window went while a tick's message box was open
            if (!timer) continue;
            const bool wasOnBeat = timer->onBeat_;
            change(timer);
            if (wasOnBeat) timer->tickNow();
        }
    }

    QWidget* window_;
    bool asleep_ = false;
};

Timer::Timer(QObject* window, const QString& name) : QTimer(window) {
    setObjectName(name);
    setInterval(0);
}

Timer::~Timer() {
    if (onBeat_) followBeat(this, false);
}

void Timer::apply() {
    const bool sleeping = isRunning() && !keepsPace_ && sleep_ && sleep_->asleep();
    if (sleeping != onBeat_) {
        onBeat_ = sleeping;
        followBeat(this, sleeping);
    }
    if (isRunning() && !sleeping)
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
    const bool wasTicking = isActive() || onBeat_;
    enabled_ = enabled;
    if (enabled && wasTicking) return;
    apply();
}

void Timer::onTick(QWidget* window, std::function<void()> handler) {
    window_ = window;
    sleep_ = WindowSleep::of(window);
    handler_ = std::move(handler);
    connect(this, &QTimer::timeout, window, [this] { tickNow(); });
}

void Timer::tickNow() {
    if (handler_) runTick(window_, this, handler_);
}

}  // namespace agelark
