#include "ui/clock.h"

#include <QLocale>
#include <QTime>


namespace agelark {

namespace {

// The locale's long time format without its time zone: the time of day with
// seconds, in the locale's own order and separators ("h:mm:ss AP" in the US,
// "HH:mm:ss" in Germany, "H.mm.ss" in Finland).
QString timeOfDayFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) {
            // Drop the zone with the blank that parts it from the rest.
            while (!result.isEmpty() && result.back().isSpace()) result.chop(1);
            while (i + 1 < format.size() && (format.at(i + 1) == QLatin1Char('t') || format.at(i + 1).isSpace())) ++i;
            if (!result.isEmpty() && i + 1 < format.size()) result += QLatin1Char(' ');
            continue;
        }
        result += c;
    }
    return result.trimmed();
}

}  // namespace

QString clockText(const QTime& time, const QLocale& locale) {
    // Asked ten times a second; the locale changes seldom.
    static QLocale formatOf;
    static QString format = timeOfDayFormat(formatOf);
    if (!(locale == formatOf)) format = timeOfDayFormat(formatOf = locale);
    return locale.toString(time, format);
}

}  // namespace agelark
