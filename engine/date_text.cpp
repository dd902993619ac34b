#include "engine/date_text.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <optional>
#include <utility>

namespace agelark {

namespace {

// A cursor over the text with the few token readers the grammar needs.
struct Cursor {
    std::string_view s;
    std::size_t i = 0;

    bool atEnd() const { return i == s.size(); }
    char peek() const { return atEnd() ? '\0' : s[i]; }
    bool eat(char c) {
        if (peek() != c) return false;
        ++i;
        return true;
    }
    bool blanks() {
        const std::size_t start = i;
        while (peek() == ' ' || peek() == '\t') ++i;
        return i != start;
    }
    // Reads 1 to maxDigits decimal digits; reports how many were read.
    std::optional<int> number(int maxDigits, int* count = nullptr) {
        int value = 0, n = 0;
        while (n < maxDigits && peek() >= '0' && peek() <= '9') {
            value = value * 10 + (s[i++] - '0');
            ++n;
        }
        if (count) *count = n;
        if (n == 0) return std::nullopt;
        return value;
    }
};

[[noreturn]] void reject() { throw DateConversionError("not a date"); }

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool validDate(int y, int m, int d) {
    using namespace std::chrono;
    if (y < 100 || y > 9999) return false;
    return year_month_day{year{y}, month{unsigned(m)}, day{unsigned(d)}}.ok();
}

// Letters compared without their case (ASCII only: the AM/PM texts).
bool sameText(std::string_view a, std::string_view b) {
    const auto lower = [](char x) { return x >= 'A' && x <= 'Z' ? char(x | 0x20) : x; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// H:MM[:SS], parted by colons or the form's time separator, with an optional
// AM/PM (blank before it optional), up to the end.
void readTime(Cursor& c, const DateForm& form, CivilDateTime& t) {
    int digits = 0;
    auto h = c.number(2, &digits);
    const char separator = c.peek();
    if (!h || (separator != ':' && separator != form.timeSeparator) || !c.eat(separator)) reject();
    auto mi = c.number(2, &digits);
    if (!mi || digits != 2) reject();
    int sec = 0;
    if (c.eat(separator)) {
        auto s = c.number(2, &digits);
        if (!s || digits != 2) reject();
        sec = *s;
    }
    c.blanks();
    int hour = *h;
    if (!c.atEnd()) {
        const std::string_view rest = c.s.substr(c.i);
        const bool am = sameText(rest, form.am) || sameText(rest, "AM");
        if ((!am && !sameText(rest, form.pm) && !sameText(rest, "PM")) || hour > 12) reject();
        hour = hour % 12 + (am ? 0 : 12);
        c.i = c.s.size();
    }
    if (hour > 23 || *mi > 59 || sec > 59) reject();
    t.hour = hour;
    t.minute = *mi;
    t.second = sec;
}

// The form's separator as it writes it, or a slash, between two numbers of a
// short date; the second must be the one the first was.
std::string_view readSeparator(Cursor& c, const DateForm& form, std::string_view used) {
    for (const std::string_view separator : {std::string_view(form.separator), std::string_view("/")}) {
        if (!separator.empty() && (used.empty() || separator == used) && c.s.substr(c.i, separator.size()) == separator) {
            c.i += separator.size();
            return separator;
        }
    }
    reject();
}

// The short date's other two numbers after the first, in the form's order.
void readShortDate(Cursor& c, int first, int firstDigits, const DateForm& form, CivilDateTime& t) {
    int n[3] = {first}, digits[3] = {firstDigits};
    std::string_view separator;
    for (int k = 1; k < 3; ++k) {
        separator = readSeparator(c, form, separator);
        const auto value = c.number(4, &digits[k]);
        if (!value) reject();
        n[k] = *value;
    }
    const int y = form.order == DateOrder::yearMonthDay ? 0 : 2;
    const int m = form.order == DateOrder::monthDayYear ? 0 : 1;
    const int d = 3 - y - m;
    if (digits[m] > 2 || digits[d] > 2 || (digits[y] != 2 && digits[y] != 4)) reject();
    t.year = digits[y] == 4 ? n[y] : (n[y] < 30 ? 2000 + n[y] : 1900 + n[y]);
    t.month = n[m], t.day = n[d];
}

}  // namespace

double parseDateText(std::string_view text, const DateForm& form) {
    Cursor c{trimmed(text)};
    if (c.atEnd()) reject();

    CivilDateTime t;  // day zero, midnight
    int firstDigits = 0;
    const auto first = c.number(4, &firstDigits);
    if (!first) reject();

    if (c.peek() == ':') {  // a time alone
        c.i = 0;
        readTime(c, form, t);
        return dateSerial(t);
    }

    if (firstDigits == 4 && c.eat('-')) {  // YYYY-MM-DD
        int md = 0, dd = 0;
        const auto m = c.number(2, &md);
        if (!m || md != 2 || !c.eat('-')) reject();
        const auto d = c.number(2, &dd);
        if (!d || dd != 2) reject();
        t.year = *first, t.month = *m, t.day = *d;
        // A "T" always introduces a time.
        if (c.eat('T')) {
            if (c.atEnd()) reject();
        } else if (!c.atEnd() && !c.blanks()) {
            reject();
        }
    } else {
        readShortDate(c, *first, firstDigits, form, t);
        if (!c.atEnd() && !c.blanks()) reject();
    }
    if (!validDate(t.year, t.month, t.day)) reject();
    if (!c.atEnd()) readTime(c, form, t);
    return dateSerial(t);
}

std::string formatDateText(const CivilDateTime& t, const DateForm& form) {
    // Built by hand: the counters write this text on every tick, and snprintf
    // costs several times as much.
    std::string text;
    text.reserve(32);
    const auto number = [&](int value, int width) {
        for (int limit = 10; width > 1; --width, limit *= 10)
            if (value >= 0 && value < limit) text += '0';
        char digits[12];
        text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    };
    const std::pair<int, int> y{t.year, 4}, m{t.month, form.twoDigitMonth ? 2 : 1}, d{t.day, form.twoDigitDay ? 2 : 1};
    const std::pair<int, int> orders[3][3] = {{m, d, y}, {d, m, y}, {y, m, d}};
    const auto& date = orders[int(form.order)];
    for (int k = 0; k < 3; ++k) {
        if (k > 0) text += form.separator;
        number(date[k].first, date[k].second);
    }
    text += ' ';
    const int hour = form.twelveHour ? (t.hour % 12 == 0 ? 12 : t.hour % 12) : t.hour;
    number(hour, form.twoDigitHour ? 2 : 1);
    text += form.timeSeparator;
    number(t.minute, 2);
    text += form.timeSeparator;
    number(t.second, 2);
    if (form.twelveHour) {
        text += ' ';
        text += t.hour < 12 ? form.am : form.pm;
    }
    return text;
}

}  // namespace agelark
