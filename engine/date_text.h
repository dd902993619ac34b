#pragma once
// Conversions between date-time texts and date serials, read month first
// whatever the locale, as the program's date boxes hold them.

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

// Reads, with leading and trailing blanks ignored:
//   M/D/YYYY or M/D/YY (00-29 as 2000-2029, 30-99 as 1930-1999), month first;
//   YYYY-MM-DD (ISO 8601);
//   either date followed by a time H:MM or H:MM:SS, with an optional AM/PM,
//   after a blank (or a "T" after an ISO date);
//   a time alone, which lands on day zero, 1899-12-30.
// Throws DateConversionError for any other text and for impossible dates.
double parseDateText(std::string_view text);

// The text form of a moment in the date boxes, "M/D/YYYY h:mm:ss AM", which
// parseDateText reads back to the same second.
std::string formatDateText(const CivilDateTime& moment);

}  // namespace agelark
