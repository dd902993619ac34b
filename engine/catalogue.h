#pragma once
// The fixed catalogue of the 37 consoles: one row per console, with the page
// it is on, its button, the date it counts from, the words of its report and
// the colour and size its result takes.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace agelark {

// The five console pages of the main window, in the order of its tabs, and the handheld window.
enum class Page { Atari, Nintendo, Sega, Sony, Microsoft, Handheld };

struct ConsoleEntry {
    Page page;
    std::string_view button;        // the console button's control name: the row's identity
    std::string_view caption;       // the button's caption
    std::string_view name;          // "Atari 2600", as the report names it
    std::string_view pictureFile;   // with its leading backslash, appended to the application folder
    std::string_view countFrom;     // MM/DD/YYYY, read month first
    std::string_view releasedOn;    // M/D/YYYY, as the report's last line shows it
    std::uint32_t labelColour;      // 0xBBGGRR
    double labelPoints;             // the result's point size
    bool startsOverAtLimit;         // past its count's limit the main window starts over with a notice
};

// All 37 rows: the main window's pages in tab order, then the handheld window, each top to bottom.
std::span<const ConsoleEntry> catalogue();

// The consoles of one page, top to bottom.
std::vector<const ConsoleEntry*> consolesOn(Page page);

// The caption of a page's tab ("Atari"); empty for the handheld window.
std::string_view pageCaption(Page page);

}  // namespace agelark
