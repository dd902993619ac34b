#include "ui/main_window.h"

#include <QCloseEvent>
#include <cstdio>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextDocument>
#include <QTime>

#include "link/visit.h"
#include "notes/notes_file.h"
#include "notes/notes_save.h"
#include "platform/errors.h"
#include "platform/pictures.h"
#include "platform/placement.h"
#include "platform/platform.h"
#include "ui/clock.h"
#include "ui/console_page.h"
#include "ui/copy_menu.h"
#include "ui/design_kit.h"
#include "ui/handheld_window.h"
#include "ui/program.h"
#include "ui/tab_control.h"

namespace agelark {

namespace {

const QString atariNotice = QStringLiteral(
    "This program no longer functions correctly due to time.\r\n"
    "Eventually all consoles will stop working.");

// The five console pages, in the order of their tabs.
const ConsolePageDesign consolePages[] = {
    {.page = Page::Atari, .title = "Atari", .buttonLeft = 10,
     .consoles = {{310}, {660}, {1000}, {1350}, {1700}, {2040}},
     .visit = {"cmdQAV3_0", {10, 4080, 1490, 360}},
     .picture = {"Picture1", {1510, 320, 4080, 4080}},
     .result = {"lblLabel1", {525, 240, 3000, 315}},
     .byline = {"lblByWendrix_1", {90, 3600, 3900, 315}},
     .thenBox = {"txtAtari", {720, 3720, 615, 285}, "atari"},
     .line = "Line3"},
    {.page = Page::Nintendo, .title = "Nintendo", .buttonLeft = 10,
     .consoles = {{310}, {660}, {1000}, {1350}, {1700}, {2040}, {2380}, {2730, 1485}},
     .visit = {"cmdQAV3_1", {10, 4080, 1485, 360}},
     .picture = {"Picture4", {1510, 320, 4080, 4080}},
     .result = {"lblLabel4", {525, 240, 3000, 315}},
     .byline = {"lblByWendrix_0", {90, 3600, 3900, 315}},
     .thenBox = {"txtNes", {720, 3360, 495, 285}, "nesThen"},
     .line = "Line2"},
    {.page = Page::Sega, .title = "Sega", .buttonLeft = 10,
     .consoles = {{310}, {660}, {1000}, {1350}, {1700}},
     .visit = {"cmdQAV3_2", {10, 4080, 1485, 360}},
     .picture = {"Picture3", {1510, 320, 4080, 4080}},
     .result = {"lblLabel3", {525, 240, 3000, 315}},
     .byline = {"lblByWendrix_2", {90, 3600, 3900, 315}},
     .thenBox = {"txtSega", {720, 3360, 615, 285}, "sThen"},
     .line = "Line1"},
    {.page = Page::Sony, .title = "Sony", .buttonLeft = 10,
     .consoles = {{310}, {660}, {1000}, {1350}, {1700}, {2040}, {2390}, {2730}},
     .visit = {"cmdQAV4_1", {10, 4080, 1485, 360}},
     .picture = {"Picture2", {1510, 320, 4080, 4080}},
     .result = {"lblLabel2", {525, 240, 3015, 315}},
     .byline = {"lblByWendrix_3", {89, 3593, 3900, 315}},
     .thenBox = {"txtPs", {720, 3240, 615, 285}, "psThen"},
     .line = "Line4"},
    {.page = Page::Microsoft, .title = "Microsoft", .buttonLeft = 10,
     .consoles = {{310}, {660}, {1000}, {1350}},
     .visit = {"cmdQAV5_1", {10, 4080, 1485, 360}},
     .picture = {"Picture5", {1510, 320, 4080, 4080}},
     .result = {"lblLabel5", {525, 240, 3000, 315}},
     .byline = {"lblByWendrix_4", {88, 3600, 3900, 315}},
     .thenBox = {"txtXbox", {720, 3090, 615, 285}, "xThen"},
     .line = "Line5"},
};

// No line break after the last line: in the box it would be an empty line
// below the text, one more than the box holds, and a scroll bar for nothing.
const QString instructions = QStringLiteral(
    "Enter in the release date of any \r\n"
    "console below to view it's age in\r\n"
    "Days, Hours, Min, and Sec.\r\n"
    "\r\n"
    "Format Example: 01/01/2015 \r\n"
    "Advanced: 01/01/2015 22:00:00\r\n"
    "\r\n"
    "Year range allowed: You can go\r\n"
    "back in time a max of 67 years.\r\n"
    "You can not go forward in time.");

constexpr std::string_view titlePicture = "\\Agelark.jpg";

}  // namespace

MainWindow::MainWindow(const KeptNotes& kept)
    : DesignWindow("Form1", "Agelark v2.5", {px(5655), px(4455)}, true),
      saveAnimation_(this),
      beat_(this, [this] { tick(); }) {
    setFont(designFont(sansSerifFace, 8.25));
    tabs_ = new TabControl(this);
    tabs_->setObjectName("SSTTab1");
    tabs_->setAccessibleName("Console makers");
    tabs_->setGeometry(twipsRect({0, 0, 5655, 4455}));
    for (const ConsolePageDesign& design : consolePages) {
        auto& page = *pages_.emplace_back(
            std::make_unique<ConsolePage>(tabs_->addPage(qtext(pageCaption(design.page))), design));
        for (const ConsolePage::ConsoleButton& b : page.consoleButtons())
            connect(b.button, &QPushButton::clicked, this,
                    [this, console = b.console] { runUserHandler(this, [&] { showConsole(*console); }); });
        connect(page.visitButton(), &QPushButton::clicked, this, [this] { runUserHandler(this, [&] { visitSite(this); }); });
    }
    // The Nintendo page also opens the handheld window, below its consoles.
    const ConsolePage& nintendo = *pages_[std::size_t(Page::Nintendo)];
    QPushButton* handhelds = makeButton(tabs_->page(int(Page::Nintendo)), "cmdHandheld", "Handhelds", {10, 3080, 1485, 360});
    setTabOrder(nintendo.consoleButtons().back().button, handhelds);
    setTabOrder(handhelds, nintendo.visitButton());
    connect(handhelds, &QPushButton::clicked, this, [this] { runUserHandler(this, [&] { openHandhelds(); }); });
    buildCustomPage(tabs_->addPage("Custom"));
    tabs_->setCurrentIndex(0);

    load([&] {
        beat_.start();  // the clock from now on
        clock_->clear();
        if (kept.kept)
            notes_->keep(kept);
        else
            notes_->load();
        // The title picture of the five console pages, read once: the five
        // boxes show one picture (a pixmap's copies share its pixels).
        const QPixmap title = loadPicture(titlePicture, devicePixelRatioF());
        for (const auto& page : pages_) page->picture()->setPixmap(title);
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::buildCustomPage(QWidget* page) {
    notes_ = place(new NotesPad(page), "txtNotes", {120, 480, 2655, 3255});
    notes_->setPlainText("Notes\r\n");
    notes_->setAccessibleName("Notes");
    // Tab leaves the pad for the next control, as in every other control:
    // a keyboard user could never get out of it otherwise.
    notes_->setTabChangesFocus(true);
    notes_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPushButton* save = makeButton(page, "cmdSave", "Save Changes", {1320, 3860, 1440, 360});
    saveProgress_ = makeProgressBar(page, "ProgressBar1", {1320, 4210, 1440, 120});
    // The clock and the save status share one place, wide enough for a time
    // with seconds and for the working message, up to the Save button.
    clock_ = makeLabel(page, "lblClock", "Clock", {120, 3960, 1140, 195}, "Clock");
    working_ = makeLabel(page, "lblWorking", "", {120, 3960, 1140, 195}, "Save status");

    QGroupBox* frame = makeFrame(page, "Frame1", "Custom Count Up", {2880, 390, 2655, 3960});
    auto help = makeMultiLineTextBox(frame, "txtCustom", instructions, {120, 360, 2415, 2055}, "Instructions");
    // To be read, not typed into; its text can still be selected and copied.
    help->setReadOnly(true);
    help->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    help->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    help->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // its lines wrap
    help->document()->setDocumentMargin(2);
    // The stand-in faces run wider than the designed one: set a little tighter,
    // the instructions keep their own line breaks in the box's width.
    QFont helpFont = help->font();
    helpFont.setPointSizeF(helpFont.pointSizeF() - 0.75);
    helpFont.setLetterSpacing(QFont::PercentageSpacing, 92);
    help->setFont(helpFont);
    QPalette helpPalette = help->palette();
    helpPalette.setColor(QPalette::Base, helpPalette.color(QPalette::Button));
    help->setPalette(helpPalette);
    QLineEdit* from = makeTextBox(frame, "txtCusThen", "", {360, 2400, 2000, 285}, "Count-up from date");
    // Empty until Submit: its designed text, a name, would be read out as a date.
    countNow_ = makeTextBox(frame, "txtCusNow", "", {360, 2640, 2000, 285}, "Custom current date");
    countNow_->setEnabled(false);
    // The result is centred where it was designed (400, 2880, 1875 wide, nearly
    // the frame's middle) but may use the frame's whole width and reach down
    // to the buttons, so a long age stays whole in a wider stand-in face.
    QLabel* result = makeLabel(frame, "lblCustom", "Custom Result", {60, 2880, 2535, 555}, "Custom result", true);
    result->setFont(designFont(digitalFace, 14.25, true, true));
    result->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    result->setWordWrap(true);
    giveCopyMenu(result, [result] { return result->text(); });
    QPushButton* submit = makeButton(frame, "cmdCustom", "Submit", {240, 3450, 855, 360});
    countUp_ = std::make_unique<CountUp>(from, result, submit);
    // Enter in the date box submits it: Submit is what the page is for.
    connect(from, &QLineEdit::returnPressed, submit, [submit] { submit->animateClick(); });
    QPushButton* reset = makeButton(frame, "cmdReset", "Reset", {1440, 3450, 990, 360});

    connect(submit, &QPushButton::clicked, this, [this] { runUserHandler(this, [&] { submitCustomDate(); }); });
    connect(reset, &QPushButton::clicked, this, [this] { runUserHandler(this, [&] { startOver(customPage); }); });
    connect(save, &QPushButton::clicked, this, [this] { runUserHandler(this, [&] { saveNotes(notes_); }); });
    // A save during the animation starts its steps' pace again; the bar goes on from where it stands.
    connect(notes_, &NotesPad::saved, this, [this] {
        saveAnimation_.start();
        if (!closeWhenSaved_.isNull() && closeWhenSaved_ == notes_->text()) close();  // saved as the user closed
    });
    saveAnimation_.setInterval(Beat::seenMilliseconds);
    connect(&saveAnimation_, &QTimer::timeout, this, [this] { runHandler(this, [&] { stepSaveAnimation(); }); });
}

void MainWindow::showConsole(const ConsoleEntry& console) {
    pages_[std::size_t(console.page)]->show(console, dateBoxText(platform().clock->now()));
    shown_.reset();  // its report comes with the next beat, in this second too
    beat_.start();  // its first count a full beat from now
}

void MainWindow::submitCustomDate() {
    countUp_->submit();
    shown_.reset();
    setBoxText(countNow_, dateBoxText(platform().clock->now()));
    beat_.start();
}

void MainWindow::tick() {
    const CivilDateTime moment = platform().clock->now();
    // Every text it shows is to the whole second: nine beats in ten find nothing to change.
    if (moment == shown_) return;
    shown_ = moment;
    const double now = dateSerial(moment);
    const QString nowText = dateBoxText(moment);
    for (const auto& page : pages_) {
        if (!page->counting()) continue;
        if (!page->counting()->startsOverAtLimit) {
            runRepeating(this, page->failureTold, [&] { page->count(now, nowText); });  // told once
        } else if (!succeeded([&] { page->count(now, nowText); })) {
            page->stop();
            startOver(int(Page::Atari), atariNotice);
        }
    }
    if (countUp_->armed()) {
        setBoxText(countNow_, nowText);
        // Whatever fails (a text that is no date, a moment too far off) ends the
        // same way: the window starts afresh on the Custom page and says so.
        if (!succeeded([&] { countUp_->count(now); })) {
            countUp_->stop();
            startOver(customPage, improperFormatNotice);
        }
    }
    clock_->setText(clockText(QTime(moment.hour, moment.minute, moment.second), QLocale()));
}

void MainWindow::stepSaveAnimation() {
    clock_->hide();
    working_->setText(QStringLiteral("Working..."));
    if (saveProgress_->value() <= 90) {
        saveProgress_->setValue(saveProgress_->value() + 5);
        return;
    }
    // Past 90: the bar stops at 95, never at its maximum, and the save is confirmed.
    saveAnimation_.stop();
    saveProgress_->setValue(0);
    working_->clear();
    clock_->show();
    placeOnCornerOf(showSavedWindow(), this);
    platform().beep->play(exclamationSound);
}

void MainWindow::openHandhelds() {
    // Shown first, then moved: the window may appear for a moment where the window system put it.
    placeOnCornerOf(showHandheldWindow(), this);
}

void MainWindow::startOver(int page, const QString& notice) {
    if (startingOver_) return;  // a second request would only start it over twice
    startingOver_ = true;
    beat_.stop();
    // Back in the event loop first: nothing of this window (the button or the
    // count that asked) is still at work when it goes. A message box open over
    // it runs the event loop, so the window waits for it to close.
    QMetaObject::invokeMethod(
        this,
        [self = QPointer(this), page, notice] {
            whenNoBoxOpen([self, page, notice] {
                if (self && self->isVisible()) runHandler(self, [&] { self->rebuild(page, notice); });
            });
        },
        Qt::QueuedConnection);
}

void MainWindow::rebuild(int page, const QString& notice) {
    saveAnimation_.stop();
    auto fresh = new MainWindow(notes_->kept());
    // The page is chosen and the place given before the window shows, so the
    // user sees neither the first page flash nor the window jump.
    fresh->tabs_->setCurrentIndex(page);
    fresh->setGeometry(geometry());
    hide();
    deleteLater();
    showMainWindow(fresh);
    if (!notice.isEmpty()) showNotice(fresh, notice);
}

void MainWindow::closeKeepingNotes() {
    if (notes_->unsaved()) {
        try {
            std::fprintf(stderr, "agelark: your unsaved notes are kept in %s\n", qPrintable(keepRecoveryCopy(notes_->text())));
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "agelark: your unsaved notes could not be kept: %s\n", failure.what());
        }
    }
    closing_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Unsaved notes are asked about, as desktop editors ask.
    if (!closing_ && notes_->unsaved()) {
        const int chosen = askUser(this, QStringLiteral("The notes pad holds changes that are not saved. Save them "
                                                        "before Agelark closes?"),
                                   {QStringLiteral("Save"), QStringLiteral("Discard")});
        if (chosen != 1) event->ignore();
        if (chosen == 0) {
            closeWhenSaved_ = notes_->text();
            runHandler(this, [&] { saveNotes(notes_); });
        }
        if (chosen != 1) return;
    }
    // The user closing the main window closes every other window with it.
    beat_.stop();
    saveAnimation_.stop();
    for (QWidget* other : {static_cast<QWidget*>(handheldWindow()), static_cast<QWidget*>(savedWindow())})
        if (other) other->close();
    event->accept();
}

}  // namespace agelark
