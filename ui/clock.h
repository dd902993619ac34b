#pragma once

class QTime;
class QLocale;
class QString;

namespace agelark {

// The time of day in the locale's own time format, always with seconds
// ("3:07:09 PM" under US English), as the clock on the Custom page shows it.
QString clockText(const QTime& time, const QLocale& locale);

}  // namespace agelark
