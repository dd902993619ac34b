#pragma once
// A window's beat: what the window counts is brought up to date ten times a
// second while it can be seen. Nobody sees a minimised window, so then its
// beat slows to once a second, on one slow beat shared by every minimised
// window, so that the program wakes at most once a second; a count that fails
// is still found within a second. When the window comes back (or is drawn
// again before it says so) it ticks at once, and takes up its own pace.

#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

namespace agelark {

class Beat : public QObject {
public:
    Beat(QWidget* window, std::function<void()> tick);
    ~Beat() override;

    // Runs from now on; the next tick is a full interval away.
    void start();
    void stop();
    bool running() const { return running_; }
    // One tick now, as the beat would give it.
    void tick() { tick_(); }

    static constexpr int seenMilliseconds = 100, unseenMilliseconds = 1000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply();
    QWidget* window_;
    std::function<void()> tick_;
    QTimer fast_;
    bool running_ = false;
    bool asleep_ = false;
};

}  // namespace agelark
