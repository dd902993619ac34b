#pragma once
// The main window: a tab for each console maker, each page counting its
// chosen console's age, and the Custom page with the notes pad, the clock and
// the count-up from a typed date. One beat brings every count and the clock
// up to date. When a count cannot go on (the 2600 past its limit, a date the
// count-up cannot count) or the user asks (Reset), the window starts over:
// a fresh one takes its place, page, and unsaved notes.

#include <QPointer>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

#include "custom/count_up.h"
#include "engine/catalogue.h"
#include "engine/date_serial.h"
#include "notes/notes_pad.h"
#include "ui/beat.h"
#include "ui/design_window.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace agelark {

class ConsolePage;
class TabControl;

class MainWindow : public DesignWindow {
    Q_OBJECT
public:
    // The page of the Custom count-up and the notes, after the five console pages.
    static constexpr int customPage = 5;

    // A main window in its design state, its load steps run: the clock
    // started, the notes read (or `kept` taken over), the title pictures.
    explicit MainWindow(const KeptNotes& kept = {});
    ~MainWindow() override;

    TabControl* tabs() const { return tabs_; }
    NotesPad* notes() const { return notes_; }
    const ConsolePage& page(Page page) const { return *pages_[std::size_t(page)]; }
    const CountUp& countUp() const { return *countUp_; }

    // One beat: every count, the count-up and the clock brought up to now.
    void tick();
    // One step of the save's animation, ten a second.
    void stepSaveAnimation();

    // Starts the window over: once back in the event loop, and once no
    // message box is open, a fresh main window takes this one's place, shows
    // `page` and what the user typed in the notes, then `notice` if there is one.
    void startOver(int page, const QString& notice = {});

    // Closes it when nobody can be asked (the session ends, the system asks the
    // program to end): unsaved notes go to a recovery copy, told at the next start.
    void closeKeepingNotes();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildCustomPage(QWidget* page);
    void showConsole(const ConsoleEntry& console);
    void submitCustomDate();
    void openHandhelds();
    void rebuild(int page, const QString& notice);

    TabControl* tabs_;
    std::vector<std::unique_ptr<ConsolePage>> pages_;
    NotesPad* notes_;
    QProgressBar* saveProgress_;
    QLabel *clock_, *working_;
    QLineEdit* countNow_;
    std::unique_ptr<CountUp> countUp_;
    QTimer saveAnimation_;  // keeps its pace while minimised: the user waits for its confirmation
    Beat beat_;
    std::optional<CivilDateTime> shown_;  // the second its texts show; none: something new to show
    bool startingOver_ = false;
    bool closing_ = false;          // asked nothing more as it closes
    QString closeWhenSaved_;        // the text that closes the window once it is saved
};

}  // namespace agelark
