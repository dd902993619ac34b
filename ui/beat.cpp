#include "ui/beat.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace agelark {

namespace {

QList<QPointer<Beat>> sleepers;  // the beats of minimised windows

QTimer& slowBeat() {
    static QPointer<QTimer> slow;
    if (!slow) {
        slow = new QTimer(QCoreApplication::instance());
        slow->setInterval(Beat::unseenMilliseconds);
        slow->setTimerType(Qt::PreciseTimer);  // a coarse one may come up to 5% late: past the second
        QObject::connect(slow, &QTimer::timeout, slow, [] {
            for (const QPointer<Beat>& beat : QList(sleepers))  // a tick may open a box, which runs events
                if (beat) beat->tick();
        });
    }
    return *slow;
}

}  // namespace

Beat::Beat(QWidget* window, std::function<void()> tick)
    : QObject(window), window_(window), tick_(std::move(tick)), fast_(this) {
    fast_.setInterval(seenMilliseconds);
    connect(&fast_, &QTimer::timeout, this, [this] { tick_(); });
    window->installEventFilter(this);
}

Beat::~Beat() {
    sleepers.removeAll(this);
    sleepers.removeAll(nullptr);
    if (sleepers.isEmpty()) slowBeat().stop();
}

void Beat::start() {
    running_ = true;
    apply();
}

void Beat::stop() {
    running_ = false;
    apply();
}

void Beat::apply() {
    sleepers.removeAll(this);
    sleepers.removeAll(nullptr);
    if (running_ && asleep_) sleepers.append(this);
    QTimer& slow = slowBeat();
    if (sleepers.isEmpty()) {
        slow.stop();
    } else if (!slow.isActive()) {
        slow.start();
    }
    if (running_ && !asleep_)
        fast_.start();  // restarts it: a full interval from now
    else
        fast_.stop();
}

bool Beat::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:  // the native window exists from the first show on
        if (QWindow* handle = window_->windowHandle()) handle->installEventFilter(this);
        break;
    case QEvent::WindowStateChange:
        if (watched == window_ && window_->isMinimized() != asleep_) {
            asleep_ = !asleep_;
            apply();
            if (!asleep_ && running_) tick_();  // right before it is drawn again
        }
        break;
    case QEvent::Expose:
        if (asleep_ && running_ && static_cast<QWindow*>(watched)->isExposed()) tick_();
        break;
    default:
        break;
    }
    return false;
}

}  // namespace agelark
