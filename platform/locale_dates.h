#pragma once
// Date-time texts as the user's locale writes them, for the boxes where the
// user reads the current moment and types a date.

#include <QString>

#include "engine/date_text.h"

class QLocale;

namespace agelark {

// A locale's form, from its short date and short time formats. A locale whose
// short date is not three numbers (month names, as in the C locale) takes the
// US date with its own time of day; one with other digits than 0-9 takes the
// US form whole.
DateForm dateFormOf(const QLocale& locale);

// The current moment's text in the default locale (QLocale()): its short date
// with a four-digit year, a blank and its time of day to the second.
QString dateTimeText(const CivilDateTime& moment);

// A date-time typed in the default locale (parseDateText states what it reads),
// dateTimeText's to the same second. Throws DateConversionError.
double dateTimeOfText(const QString& text);

}  // namespace agelark
