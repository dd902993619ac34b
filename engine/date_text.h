#pragma once
// Conversions between date-time texts and date serials, in the US form (the
// consoles' count-from dates are read month first whatever the locale) or in
// the numeric form of a locale.

#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/date_serial.h"

namespace agelark {

// A text that does not name a date-time.
class DateConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The order of a short date's three numbers.
enum class DateOrder { monthDayYear, dayMonthYear, yearMonthDay };

// How a locale writes a date and a time of day in numbers. The default is the
// US form, "12/5/2026 11:10:00 AM".
struct DateForm {
    DateOrder order = DateOrder::monthDayYear;
    std::string separator = "/";  // between the date's numbers, as written ("/", ".", ". ")
    bool twoDigitDay = false, twoDigitMonth = false, twoDigitHour = false;  // "05", not "5"
    bool twelveHour = true;
    char timeSeparator = ':';
    std::string am = "AM", pm = "PM";
};

// Reads, with leading and trailing blanks ignored:
//   the form's short date: its three numbers in its order, parted by its
//   separator or by slashes, day and month of one or two digits, the year of
//   four or of two (00-29 as 2000-2029, 30-99 as 1930-1999);
//   YYYY-MM-DD (ISO 8601);
//   either date followed by a time H:MM or H:MM:SS (parted by colons or the
//   form's time separator), with an optional AM/PM (the form's texts or the
//   Latin ones, any case), after a blank (or a "T" after an ISO date);
//   a time alone, parted by colons, which lands on day zero, 1899-12-30.
// Throws DateConversionError for any other text and for impossible dates.
double parseDateText(std::string_view text, const DateForm& form = DateForm{});

// The short date with a four-digit year, a blank and the time of day to the
// second ("M/D/YYYY h:mm:ss AM" in the US form), which parseDateText reads back
// to the same second in the same form.
std::string formatDateText(const CivilDateTime& moment, const DateForm& form = DateForm{});

}  // namespace agelark
