#include "clock.h"

#include <QLabel>
#include <QLocale>
#include <QTime>

#include "controls.h"
#include "platform.h"
#include "windows.h"

namespace agelark {

QString clockText(const QTime& time, const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::ShortFormat);
    // Short formats stop at the minutes; the clock shows seconds too.
    if (!format.contains(QLatin1Char('s'))) {
        const int minutes = format.indexOf(QLatin1String("mm"));
        if (minutes >= 0) format.insert(minutes + 2, QLatin1String(":ss"));
    }
    return locale.toString(time, format);
}

void Timer22_Timer(FormWindow* form1) {
    const CivilDateTime now = platform().clock->now();
    control<QLabel>(form1, "lblClock")->setText(clockText(QTime(now.hour, now.minute, now.second), QLocale()));
}

}  // namespace agelark
