#pragma once
// Puts a text into the notes pad a part at a time, through the event loop, so
// that the window goes on answering while a big file goes in.

#include <QString>
#include <functional>
#include <optional>

namespace agelark {

class FormWindow;

// Where the text comes from, a part at a time, in order.
struct TextStream {
    std::function<std::optional<QString>()> take;  // the next part; none while none is waiting
    std::function<bool()> ended;                   // every part has been taken
};

// A text already in memory, given a part at a time.
TextStream wholeText(const QString& text);

// Replaces the pad's text with the text that `stream` gives, of about
// `expectedLength` characters. What has come goes in at once, the rest in
// later turns of the event loop, each turn taking about 20 ms, as it comes;
// "Loading notes..." stands in the clock's place meanwhile. The pad stays
// read-only, and its phase Loading, until the last part is in; then
// `finished` runs and the phase is Editing.
//
// The pad holds a line break as a block of the text document, and a document
// of hundreds of thousands of blocks takes seconds to build: so in a text of
// more than a million characters, consecutive short lines share a block of up
// to about 4,000 characters, broken by U+2028 (as Shift+Return breaks a line),
// which reads back as "\n" like any other break. A line of more than 10,000
// characters would take the text layout seconds to minutes to wrap: such lines
// go in broken into pieces of 10,000 characters, the pad stays read-only with
// the phase ReadOnly, so that Save cannot write the breaks into the file, and
// a warning says so.
void fillPad(FormWindow* form1, qsizetype expectedLength, TextStream stream, std::function<void()> finished = {});

// Stops a fill of the pad under way, leaving the pad empty; false when none was.
bool stopFillingPad(FormWindow* form1);

}  // namespace agelark
