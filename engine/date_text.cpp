#include "engine/date_text.h"

#include <charconv>
#include <chrono>
#include <optional>

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

// H:MM[:SS] with an optional AM/PM (blank before it optional), up to the end.
void readTime(Cursor& c, CivilDateTime& t) {
    int digits = 0;
    auto h = c.number(2, &digits);
    if (!h || !c.eat(':')) reject();
    auto mi = c.number(2, &digits);
    if (!mi || digits != 2) reject();
    int sec = 0;
    if (c.eat(':')) {
        auto s = c.number(2, &digits);
        if (!s || digits != 2) reject();
        sec = *s;
    }
    c.blanks();
    int hour = *h;
    if (!c.atEnd()) {
        const char a = char(c.peek() | 0x20);
        if (a != 'a' && a != 'p') reject();
        ++c.i;
        if (char(c.peek() | 0x20) != 'm') reject();
        ++c.i;
        if (hour > 12) reject();
        hour = hour % 12 + (a == 'p' ? 12 : 0);
    }
    if (!c.atEnd() || hour > 23 || *mi > 59 || sec > 59) reject();
    t.hour = hour;
    t.minute = *mi;
    t.second = sec;
}

}  // namespace

double parseDateText(std::string_view text) {
    Cursor c{trimmed(text)};
    if (c.atEnd()) reject();

    CivilDateTime t;  // day zero, midnight
    int firstDigits = 0;
    const auto first = c.number(4, &firstDigits);
    if (!first) reject();

    if (c.peek() == ':') {  // a time alone
        c.i = 0;
        readTime(c, t);
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
    } else {  // M/D/Y, month first
        if (firstDigits > 2 || !c.eat('/')) reject();
        int dd = 0, yd = 0;
        const auto d = c.number(2, &dd);
        if (!d || !c.eat('/')) reject();
        const auto y = c.number(4, &yd);
        if (!y || (yd != 2 && yd != 4)) reject();
        t.month = *first, t.day = *d;
        t.year = yd == 4 ? *y : (*y < 30 ? 2000 + *y : 1900 + *y);
        if (!c.atEnd() && !c.blanks()) reject();
    }
    if (!validDate(t.year, t.month, t.day)) reject();
    if (!c.atEnd()) readTime(c, t);
    return dateSerial(t);
}

std::string formatDateText(const CivilDateTime& t) {
    // Built by hand: the counters write this text on every tick, and snprintf
    // costs several times as much.
    std::string text;
    text.reserve(24);
    const auto number = [&](int value, int width, char after) {
        for (int limit = 10; width > 1; --width, limit *= 10)
            if (value >= 0 && value < limit) text += '0';
        char digits[12];
        text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
        text += after;
    };
    number(t.month, 1, '/');
    number(t.day, 1, '/');
    number(t.year, 4, ' ');
    number(t.hour % 12 == 0 ? 12 : t.hour % 12, 1, ':');
    number(t.minute, 2, ':');
    number(t.second, 2, ' ');
    text += t.hour < 12 ? "AM" : "PM";
    return text;
}

}  // namespace agelark
