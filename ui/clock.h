#pragma once

class QTime;
class QLocale;
class QString;

namespace agelark {

class FormWindow;

// The time of day in the locale's own time format, always with seconds
// ("3:07:09 PM" under US English).
QString clockText(const QTime& time, const QLocale& locale);

// The clock on the "Custom" page, ten times a second.
void Timer22_Timer(FormWindow* form1);

}  // namespace agelark
