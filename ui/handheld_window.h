#pragma once
// The handheld window: the Nintendo handhelds, one of them counting at a time.

#include <memory>
#include <optional>

#include "engine/date_serial.h"
#include "ui/beat.h"
#include "ui/design_window.h"

namespace agelark {

class ConsolePage;
struct ConsoleEntry;

class HandheldWindow : public DesignWindow {
public:
    // In its design state, the title picture shown; nothing counts.
    HandheldWindow();
    ~HandheldWindow() override;

    const ConsolePage& page() const { return *page_; }
    // One beat: the count brought up to now.
    void tick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showConsole(const ConsoleEntry& console);
    std::unique_ptr<ConsolePage> page_;
    Beat beat_;
    std::optional<CivilDateTime> shown_;  // the second its texts show; none: something new to show
};

// The confirmation of a save: "Changes Saved!" and OK, which hides it; Enter
// presses OK and Escape closes it, as its close box does.
class SavedWindow : public DesignWindow {
public:
    SavedWindow();
};

}  // namespace agelark
