#include "ui/handheld_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "link/visit.h"
#include "platform/errors.h"
#include "platform/pictures.h"
#include "platform/platform.h"
#include "ui/console_page.h"
#include "ui/design_kit.h"

namespace agelark {

namespace {

const ConsolePageDesign handhelds = {
    .page = Page::Handheld, .title = "Handheld", .buttonLeft = 0,
    .consoles = {{0, 1220}, {360, 1220}, {720, 1220}, {1080, 1220}, {1440, 1220}, {1800, 1220}},
    .visit = {"cmdqAv", {0, 3720, 1220, 360}},
    .picture = {"Picture1", {1200, 0, 4080, 4080}},
    .result = {"lblAgelark", {480, 240, 3000, 315}},
    .byline = {"lblByWendrix_0", {80, 3540, 3900, 315}},
    .thenBox = {"txtThen", {0, 3000, 615, 375}, "Then"},
    .nowBox = {"txtNow", {0, 3360, 615, 285}, "Now"},
};

}  // namespace

HandheldWindow::HandheldWindow()
    : DesignWindow("Form2", "Agelark v2.4 - Nintendo Handhelds", {px(5280), px(4080)}, true),
      beat_(this, [this] { tick(); }) {
    setFont(designFont(tahomaFace, 8.25));
    page_ = std::make_unique<ConsolePage>(this, handhelds);
    const QFont buttonFont = designFont(sansSerifFace, 8.25);
    for (const ConsolePage::ConsoleButton& b : page_->consoleButtons()) {
        b.button->setFont(buttonFont);
        connect(b.button, &QPushButton::clicked, this,
                [this, console = b.console] { runUserHandler(this, [&] { showConsole(*console); }); });
    }
    page_->visitButton()->setFont(buttonFont);
    connect(page_->visitButton(), &QPushButton::clicked, this, [this] { runUserHandler(this, [&] { visitSite(this); }); });
    load([&] { setPicture(page_->picture(), "\\Agelark.jpg"); });
}

HandheldWindow::~HandheldWindow() = default;

void HandheldWindow::showConsole(const ConsoleEntry& console) {
    page_->show(console, dateBoxText(platform().clock->now()));
    shown_.reset();
    beat_.start();
}

void HandheldWindow::tick() {
    const CivilDateTime moment = platform().clock->now();
    if (moment == shown_) return;  // nothing new within the second it shows
    shown_ = moment;
    runRepeating(this, page_->failureTold, [&] { page_->count(dateSerial(moment), dateBoxText(moment)); });
}

void HandheldWindow::closeEvent(QCloseEvent* event) {
    beat_.stop();  // its count stops now, not when the window is deleted
    event->accept();
}

SavedWindow::SavedWindow() : DesignWindow("Saved", "Saved!", {px(1770), px(1170)}, false) {
    setFont(designFont(tahomaFace, 8.25));
    QLabel* label = makeLabel(this, "lblSaved", "Changes Saved!", {240, 240, 1335, 195});
    label->setFont(designFont(tahomaFace, 8.25, true));
    QPushButton* ok = makeButton(this, "cmdOK", "OK", {240, 600, 1335, 360});
    // Enter presses OK, the window's only control and so always the one with
    // the focus, as in any confirmation; Escape closes the window as its close box does.
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

}  // namespace agelark
