#pragma once
// The program's timers have an interval and an enabled flag of their own: a
// timer ticks only while it is enabled with an interval above 0. Every timer
// is created enabled with interval 0, so it is idle until code gives it an
// interval. QTimer has no separate enabled flag, so it is kept as a property.

#include <QTimer>
#include <QVariant>

namespace agelark {

// A new timer of `window`, named as the program speaks of it, enabled with interval 0.
QTimer* makeTimer(QObject* window, const char* name);

void setTimerInterval(QTimer* timer, int milliseconds);
void setTimerEnabled(QTimer* timer, bool enabled);
bool timerEnabled(const QTimer* timer);

}  // namespace agelark
