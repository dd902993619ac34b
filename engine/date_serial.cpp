#include "engine/date_serial.h"

#include <chrono>
#include <cmath>

#include "engine/age.h"

namespace agelark {

namespace {
using namespace std::chrono;

constexpr sys_days dayZero = sys_days{year{1899} / December / 30};
constexpr std::int64_t secondsPerDay = 86400;
// Serials of the years 1 to 9999 stay well inside this bound.
constexpr double maxSerialMagnitude = 3.0e6;

void requireUsable(double serial) {
    if (!std::isfinite(serial) || std::fabs(serial) > maxSerialMagnitude)
        throw AgeArithmeticError("date value out of range");
}

// A linear seconds count as whole days since day zero (rounded down) and the
// second of that day, 0 to 86,399.
struct DayAndSecond {
    std::int64_t day, second;
};

DayAndSecond split(std::int64_t seconds) {
    DayAndSecond r{seconds / secondsPerDay, seconds % secondsPerDay};
    if (r.second < 0) {
        r.second += secondsPerDay;
        --r.day;
    }
    return r;
}
}  // namespace

double dateSerial(int y, int m, int d, int h, int mi, int s) {
    // Month and day carry over through the calendar types, so any field values
    // name a real day (year_month_day alone gives no defined day for month 13).
    const year_month firstMonth = year{y} / January + months{m - 1};
    const sys_days date = sys_days{firstMonth / 1} + days{d - 1};
    const std::int64_t seconds = std::int64_t{(date - dayZero).count()} * secondsPerDay +
                                 std::int64_t{h} * 3600 + std::int64_t{mi} * 60 + s;
    return serialFromSeconds(seconds);
}

double dateSerial(const CivilDateTime& t) {
    return dateSerial(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

double serialFromSeconds(std::int64_t seconds) {
    const auto [day, second] = split(seconds);
    const double fraction = double(second) / double(secondsPerDay);
    // Before day zero the time of day is still counted away from zero.
    return day < 0 ? double(day) - fraction : double(day) + fraction;
}

std::int64_t secondOfDay(double serial) {
    return std::llround(std::fabs(serial - std::trunc(serial)) * double(secondsPerDay));
}

std::int64_t linearSeconds(double serial) {
    requireUsable(serial);
    return static_cast<std::int64_t>(std::trunc(serial)) * secondsPerDay + secondOfDay(serial);
}

CivilDateTime civilFromSerial(double serial) {
    const auto [day, second] = split(linearSeconds(serial));
    const year_month_day ymd{dayZero + days{day}};
    if (int(ymd.year()) < 1 || int(ymd.year()) > 9999) throw AgeArithmeticError("date value out of range");
    return CivilDateTime{int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())),
                         int(second / 3600), int(second / 60 % 60), int(second % 60)};
}

}  // namespace agelark
