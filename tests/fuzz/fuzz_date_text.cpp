// Any text typed into a date box: the parse either gives a moment that the
// program's own text form reads back to the same second, or a conversion error.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/date_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    double serial = 0;
    try {
        serial = agelark::parseDateText(text);
    } catch (const agelark::DateConversionError&) {
        return 0;
    }
    const agelark::CivilDateTime moment = agelark::civilFromSerial(serial);
    if (moment.year < 100 || moment.year > 9999) std::abort();
    if (agelark::parseDateText(agelark::formatDateText(moment)) != serial) std::abort();
    return 0;
}
