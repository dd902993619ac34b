// Any date-box text, read month first and day first (". ", 24 hours): a conversion error, or a moment in years
// 100-9999 whose text in the same form reads back to the same second.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/date_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const agelark::DateForm dayFirst{.order = agelark::DateOrder::dayMonthYear, .separator = ". ", .twelveHour = false};
    for (const agelark::DateForm& form : {agelark::DateForm{}, dayFirst}) {
        double serial = 0;
        try {
            serial = agelark::parseDateText(text, form);
        } catch (const agelark::DateConversionError&) {
            continue;
        }
        const agelark::CivilDateTime moment = agelark::civilFromSerial(serial);
        if (moment.year < 100 || moment.year > 9999) std::abort();
        if (agelark::parseDateText(agelark::formatDateText(moment, form), form) != serial) std::abort();
    }
    return 0;
}
