#pragma once
// The age of a console (or of any moment) as the counters show it: a days count
// and a time part "hh:mm:ss", framed for a console by its title and release lines.

#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/catalogue.h"
#include "engine/date_serial.h"

namespace agelark {

class AgeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// More seconds between the two moments than a signed 32-bit count holds (about 68 years).
class AgeOverflow : public AgeError {
public:
    using AgeError::AgeError;
};

// A date value that is not a finite number, or no moment at all.
class AgeArithmeticError : public AgeError {
public:
    using AgeError::AgeError;
};

// The age text: "<days> Days, hh:mm:ss", or "hh:mm:ss" alone under one day.
std::string ageText(double then, double now);

// The three-line report of a console (" The <name> was released ", the age
// with " Ago ", " Released in the US on <date> "), or the time part alone
// under one day.
std::string reportText(const ConsoleEntry& entry, double then, double now);

}  // namespace agelark
