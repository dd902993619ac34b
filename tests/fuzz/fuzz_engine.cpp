// Any pair of date values: the age operations give a well-formed text or one of the engine's own errors.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>

#include "engine/age.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 * sizeof(double) + 1) return 0;
    double then, now;
    std::memcpy(&then, data, sizeof then);
    std::memcpy(&now, data + sizeof then, sizeof now);
    const auto& entries = agelark::catalogue();
    const agelark::ConsoleEntry& entry = entries[data[2 * sizeof(double)] % entries.size()];
    static const std::regex form(R"(([1-9]\d{0,4} Days, )?([01]\d|2[0-3]):[0-5]\d:[0-5]\d)");
    try {
        const std::string age = agelark::ageText(then, now);  // "hh:mm:ss" alone, or "<1..24855> Days, hh:mm:ss"
        if (!std::regex_match(age, form) || (age.size() > 8 && std::stoi(age) > 24855)) std::abort();
        const std::string report = agelark::reportText(entry, then, now);
        const bool underADay = age.size() == 8;
        if (underADay ? report != age
                      : report != " The " + std::string(entry.name) + " was released \r\n" + age + " Ago \r\n" +
                                      " Released in the US on " + std::string(entry.releasedOn) + " ")
            std::abort();
    } catch (const agelark::AgeError&) {
    }
    return 0;
}
