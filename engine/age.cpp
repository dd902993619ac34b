#include "engine/age.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace agelark {

namespace {

struct Age {
    std::int32_t days;   // 0 under one day
    char timePart[8];    // "hh:mm:ss"
};

void twoDigits(char* out, int value) {
    out[0] = char('0' + value / 10);
    out[1] = char('0' + value % 10);
}

[[noreturn]] void overflow() { throw AgeOverflow("more than 2,147,483,647 seconds between the two moments"); }

// Seconds between two wall-clock readings: a clock change moves the count with
// it. Whole days and times of day are taken apart, so any finite pair is judged
// by its distance alone, however far outside the calendar either value lies.
std::int32_t secondsBetween(double then, double now) {
    const double days = std::trunc(now) - std::trunc(then);
    // Past this many days no time of day brings the count back into 32 bits.
    if (std::fabs(days) > 24857) overflow();
    const std::int64_t seconds = static_cast<std::int64_t>(days) * 86400 + secondOfDay(now) - secondOfDay(then);
    if (seconds > std::numeric_limits<std::int32_t>::max() || seconds < std::numeric_limits<std::int32_t>::min())
        overflow();
    return static_cast<std::int32_t>(seconds);
}

Age computeAge(double then, double now) {
    if (!std::isfinite(then) || !std::isfinite(now)) throw AgeArithmeticError("date value is not a number");

    const std::int32_t seconds = secondsBetween(then, now);

    const std::int32_t hours = seconds / 3600;
    Age age{};
    age.days = hours < 24 ? 0 : hours / 24;

    const double difference = now - then;
    if (!std::isfinite(difference)) throw AgeArithmeticError("date difference is not a number");

    // The time of day of the difference: for a negative difference, that of its magnitude.
    const std::int64_t ofDay = (seconds < 0 ? -std::int64_t{seconds} : std::int64_t{seconds}) % 86400;
    twoDigits(age.timePart, int(ofDay / 3600));
    age.timePart[2] = ':';
    twoDigits(age.timePart + 3, int(ofDay / 60 % 60));
    age.timePart[5] = ':';
    twoDigits(age.timePart + 6, int(ofDay % 60));
    return age;
}

void appendNumber(std::string& out, std::int32_t value) {
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

constexpr std::string_view crlf = "\r\n";

}  // namespace

std::string ageText(double then, double now) {
    const Age age = computeAge(then, now);
    std::string text;
    text.reserve(24);
    if (age.days != 0) {
        appendNumber(text, age.days);
        text += " Days, ";
    }
    text.append(age.timePart, 8);
    return text;
}

std::string reportText(const ConsoleEntry& entry, double then, double now) {
    const Age age = computeAge(then, now);
    if (age.days == 0) return std::string(age.timePart, 8);

    std::string text;
    text.reserve(entry.name.size() + entry.releasedOn.size() + 80);
    text += " The ";
    text += entry.name;
    text += " was released ";
    text += crlf;
    appendNumber(text, age.days);
    text += " Days, ";
    text.append(age.timePart, 8);
    text += " Ago ";
    text += crlf;
    text += " Released in the US on ";
    text += entry.releasedOn;
    text += ' ';
    return text;
}

}  // namespace agelark
