#include "date_serial.h"

#include <chrono>
#include <cmath>

#include "age.h"

namespace agelark {

namespace {
using namespace std::chrono;

constexpr sys_days dayZero = sys_days{year{1899} / December / 30};
constexpr double secondsPerDay = 86400.0;
// Serials of the years 1 to 9999 stay well inside this bound.
constexpr double maxSerialMagnitude = 3.0e6;

void requireUsable(double serial) {
    if (!std::isfinite(serial) || std::fabs(serial) > maxSerialMagnitude)
        throw AgeArithmeticError("date value out of range");
}
}  // namespace

double dateSerial(int y, int m, int d, int h, int mi, int s) {
    const year_month_day ymd{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
    const double days = static_cast<double>((sys_days{ymd} - dayZero).count());
    const double fraction = (h * 3600.0 + mi * 60.0 + s) / secondsPerDay;
    // Before day zero the time of day is still counted away from zero.
    return days < 0 ? days - fraction : days + fraction;
}

double dateSerial(const CivilDateTime& t) {
    return dateSerial(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

std::int64_t linearSeconds(double serial) {
    requireUsable(serial);
    const double whole = std::trunc(serial);
    const double timeOfDay = std::fabs(serial - whole) * secondsPerDay;
    return static_cast<std::int64_t>(whole) * 86400 + std::llround(timeOfDay);
}

CivilDateTime civilFromSerial(double serial) {
    const std::int64_t total = linearSeconds(serial);
    std::int64_t days = total / 86400;
    std::int64_t rest = total % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const year_month_day ymd{dayZero + std::chrono::days{days}};
    if (int(ymd.year()) < 1 || int(ymd.year()) > 9999) throw AgeArithmeticError("date value out of range");
    return CivilDateTime{int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())),
                         int(rest / 3600), int(rest / 60 % 60), int(rest % 60)};
}

}  // namespace agelark
