#pragma once
// The beat that brings what the windows count up to date: ten times a second,
// one timer for every window that counts, so that the program wakes once for
// all of them. Nobody sees a minimised window, so its part of the beat slows
// to once a second, on one slow timer shared by every minimised window; a
// count that fails is still found within a second. When the window comes
// back (or is drawn again before it says so) it ticks at once, and takes up
// the fast beat again.

#include <QObject>
#include <functional>

class QWidget;

namespace agelark {

class Beat : public QObject {
    Q_OBJECT
public:
    // A window's part of the beat; it does not tick until started.
    Beat(QWidget* window, std::function<void()> tick);
    ~Beat() override;

    // Ticks from now on, the next tick a full interval away.
    void start();
    void stop();
    bool running() const { return running_; }
    // Running at the fast pace: the window counts and can be seen.
    bool fast() const { return running_ && !asleep_; }
    // One tick now, as the beat would give it.
    void tick() { tick_(); }

    static constexpr int seenMilliseconds = 100, unseenMilliseconds = 1000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(bool restart = false);
    QWidget* window_;
    std::function<void()> tick_;
    bool running_ = false;
    bool asleep_ = false;
};

}  // namespace agelark
