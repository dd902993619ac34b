#include "ui/beat.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace agelark {

namespace {

// One timer for the windows that are seen, one for the minimised ones; each
// runs while some window follows it.
struct Pace {
    QTimer* timer = nullptr;
    QList<QPointer<Beat>> followers;

    void follow(Beat* beat, bool following, bool restart) {
        followers.removeAll(beat);
        followers.removeAll(nullptr);
        if (following) followers.append(beat);
        if (followers.isEmpty())
            timer->stop();
        else if (restart || !timer->isActive())
            timer->start();
    }
};

Pace& pace(int milliseconds) {
    static Pace seen, unseen;
    Pace& p = milliseconds == Beat::seenMilliseconds ? seen : unseen;
    if (!p.timer) {
        p.timer = new QTimer(QCoreApplication::instance());
        p.timer->setInterval(milliseconds);
        // A coarse timer may come up to 5% late: a second's beat would fall past the second.
        if (milliseconds == Beat::unseenMilliseconds) p.timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(p.timer, &QTimer::timeout, p.timer, [&p] {
            for (const QPointer<Beat>& beat : QList(p.followers))  // a tick may open a box, which runs events
                if (beat) beat->tick();
        });
    }
    return p;
}

}  // namespace

Beat::Beat(QWidget* window, std::function<void()> tick) : QObject(window), window_(window), tick_(std::move(tick)) {
    window->installEventFilter(this);
}

Beat::~Beat() {
    running_ = false;
    apply();
}

void Beat::start() {
    running_ = true;
    apply(true);
}

void Beat::stop() {
    running_ = false;
    apply();
}

void Beat::apply(bool restart) {
    pace(seenMilliseconds).follow(this, running_ && !asleep_, restart);
    pace(unseenMilliseconds).follow(this, running_ && asleep_, false);
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
