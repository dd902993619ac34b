#pragma once
// The fixed catalogue of the 37 consoles: one row per console button, tying the
// button to its timer, the controls of its group, its picture, the date it
// counts from and the texts and label style of its report.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace agelark {

enum class WindowId { Form1, Form2 };

std::string_view windowName(WindowId window);

// What a console's counter does when a tick fails.
enum class OnFailure {
    Tell,       // the failure is told once; the caption stays as it was
    StartOver,  // the main window starts over on the console's page, with a notice
};

// The consoles of one console page of Form1, or of Form2, and the controls they share.
struct ConsoleGroup {
    WindowId window;
    std::string_view tab;           // tab caption on Form1; empty on Form2
    int tabIndex;                   // position of that tab; -1 on Form2
    std::string_view thenBox, nowBox, resultLabel, pictureBox;
    int bylineIndex;                // index in the window's lblByWendrix array
};

struct ConsoleEntry {
    std::string_view key;           // the part of the age operation's name between "CalcDiff" and "Dates"
    std::string_view ageFunction;   // "CalcDiff" + key + "Dates"
    WindowId window;
    std::string_view tab;           // tab caption on Form1; empty on Form2
    int tabIndex;                   // position of that tab; -1 on Form2
    std::string_view button;
    std::string_view caption;
    std::string_view timer;
    std::string_view thenBox;
    std::string_view nowBox;
    std::string_view resultLabel;
    std::string_view pictureBox;
    int bylineIndex;                // index in the window's lblByWendrix array
    std::string_view pictureFile;   // with its leading backslash, appended to the application folder
    std::string_view countFromText; // MM/DD/YYYY, read month first
    std::string_view titleText;
    std::string_view releaseText;
    std::uint32_t labelForeColor;   // 0xBBGGRR
    double labelFontSize;           // points
    OnFailure onFailure;
};

// All 37 entries in row order: Form1 by tab, then Form2, top to bottom.
std::span<const ConsoleEntry> catalogue();

// Look-ups; nullptr when nothing matches. Timer names repeat across the two
// windows, so a timer is found together with its window.
const ConsoleEntry* entryForButton(WindowId window, std::string_view button);
const ConsoleEntry* entryForTimer(WindowId window, std::string_view timer);
const ConsoleEntry* entryForAgeFunction(std::string_view ageFunction);

// The entries that share the group of `entry` (same window and tab), itself included.
std::vector<const ConsoleEntry*> groupOf(const ConsoleEntry& entry);

// The six groups: Form1's console pages in tab order, then Form2.
std::span<const ConsoleGroup> consoleGroups();
// The consoles of `group`, top to bottom.
std::vector<const ConsoleEntry*> consolesOf(const ConsoleGroup& group);

}  // namespace agelark
