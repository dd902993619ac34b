#pragma once
// The date serial: days since 1899-12-30 00:00:00 as a double, the time of day
// as the fraction, local wall-clock time with no time zone. Before day zero the
// whole part still counts days and the fraction, without its sign, is the time
// of day (-1.25 is 1899-12-29 06:00:00).

#include <cstdint>

namespace agelark {

struct CivilDateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    friend bool operator==(const CivilDateTime&, const CivilDateTime&) = default;
};

// Fields past their range carry over as a calendar would: month 13 is January of
// the next year, day 0 the last day of the month before, hour 24 the next day.
double dateSerial(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
double dateSerial(const CivilDateTime& t);

// The moment a serial stands for, rounded to the nearest second. Throws
// AgeArithmeticError for a value that is not finite or lies outside the years 1 to 9999.
CivilDateTime civilFromSerial(double serial);

// Seconds on one linear scale (0 at day zero), rounded to the nearest second:
// the difference of two of these is the wall-clock time between two serials.
std::int64_t linearSeconds(double serial);

// The serial of a count of linearSeconds; the inverse of linearSeconds.
double serialFromSeconds(std::int64_t seconds);

// The time of day of any finite serial in whole seconds, 0 to 86,400 (rounding
// may reach the next midnight); the fraction is read without its sign.
std::int64_t secondOfDay(double serial);

}  // namespace agelark
