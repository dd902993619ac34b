// Any pair of date values: the age operations give a well-formed text or one
// of the engine's own errors, nothing else.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/age.h"

namespace {

bool isTimePart(std::string_view t) {
    if (t.size() != 8 || t[2] != ':' || t[5] != ':') return false;
    for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u})
        if (t[i] < '0' || t[i] > '9') return false;
    return t.substr(0, 2) < "24" && t.substr(3, 2) < "60" && t.substr(6, 2) < "60";
}

// "hh:mm:ss" alone, or "<1..24855> Days, hh:mm:ss".
bool isAgeText(std::string_view t) {
    const auto comma = t.find(" Days, ");
    if (comma == std::string_view::npos) return isTimePart(t);
    const std::string days(t.substr(0, comma));
    if (days.empty() || days.size() > 5 || days[0] == '0') return false;
    for (char c : days)
        if (c < '0' || c > '9') return false;
    return std::stoi(days) <= 24855 && isTimePart(t.substr(comma + 7));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 * sizeof(double) + 1) return 0;
    double then, now;
    std::memcpy(&then, data, sizeof then);
    std::memcpy(&now, data + sizeof then, sizeof now);
    const auto& entries = agelark::catalogue();
    const agelark::ConsoleEntry& entry = entries[data[2 * sizeof(double)] % entries.size()];
    try {
        const std::string age = agelark::CalcDiffCUSDates(then, now);
        if (!isAgeText(age)) std::abort();
        const std::string report = agelark::reportText(entry, then, now);
        const bool underADay = age.size() == 8;
        if (underADay ? report != age
                      : report != std::string(entry.titleText) + "\r\n" + age + " Ago \r\n" +
                                      std::string(entry.releaseText))
            std::abort();
    } catch (const agelark::AgeError&) {
    }
    return 0;
}
