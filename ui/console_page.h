#pragma once
// A page of consoles (a console tab of the main window, or the handheld
// window): a column of console buttons, the picture box with the result and
// the credit line over it, the box that shows the date counted from and, where
// the design has one in sight, the box of the current moment. One console
// counts at a time: choosing another stops the one before.

#include <QString>
#include <initializer_list>
#include <vector>

#include "engine/catalogue.h"
#include "engine/date_serial.h"
#include "ui/twips.h"

class QLabel;
class QLineEdit;

class QPushButton;
class QWidget;

namespace agelark {

class ReportLabel;

// Where a page's controls lie, and their control names.
struct ConsolePageDesign {
    struct Button {
        int top, width = 1490;
    };
    struct Named {
        const char* name;
        Twips place;
        const char* text = "";
    };
    Page page;
    const char* title;                      // names the page's controls to screen readers ("Atari result")
    int buttonLeft;
    std::initializer_list<Button> consoles; // one per console of the page, in the catalogue's order
    Named visit, picture, result, byline, thenBox;
    Named nowBox{};                         // in sight on the handheld window only
    const char* line = nullptr;             // the line between the buttons and the picture
};

// The consoles' credit line, the same on every page.
extern const QString bylineText;

// A moment as the date boxes show it.
QString dateBoxText(const CivilDateTime& moment);

class ConsolePage {
public:
    // Makes the page's controls on `page` in their design state.
    ConsolePage(QWidget* page, const ConsolePageDesign& design);

    struct ConsoleButton {
        QPushButton* button;
        const ConsoleEntry* console;
    };
    const std::vector<ConsoleButton>& consoleButtons() const { return buttons_; }
    QPushButton* visitButton() const { return visit_; }
    QLabel* picture() const { return picture_; }
    ReportLabel* result() const { return result_; }

    // The console's picture, then its count from now on, in its colour and
    // size; the credit line goes. When the picture cannot be loaded (it
    // throws) nothing changes. The result keeps its text until the next count.
    void show(const ConsoleEntry& console, const QString& nowText);
    // The count brought up to `now`; throws when it cannot be counted (past
    // its limit). Does nothing while no console counts.
    void count(double now, const QString& nowText);
    const ConsoleEntry* counting() const { return counting_; }
    void stop() { counting_ = nullptr; }

    // Whether a failure of this count has been told: the next is not, until a console is chosen again.
    bool failureTold = false;

private:
    std::vector<ConsoleButton> buttons_;
    QPushButton* visit_;
    QLabel *picture_, *byline_;
    ReportLabel* result_;
    QLineEdit *then_, *now_ = nullptr;
    const ConsoleEntry* counting_ = nullptr;
    QPushButton* reporting_ = nullptr;  // the counting console's button, which tells screen readers the count
    double from_ = 0;     // the moment counted from
    double counted_ = 0;  // the moment last counted to: the beat comes ten times a second, the count moves once
};

}  // namespace agelark
