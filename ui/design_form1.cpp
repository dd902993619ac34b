#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "engine/catalogue.h"
#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/timers.h"
#include "platform/windows.h"
#include "ui/design.h"
#include "ui/design_kit.h"
#include "ui/tab_control.h"
#include "ui/twips.h"

namespace agelark {

const char* const bylineText = "by the Agelark team";

namespace {

// A console button's place in the column at the page's left edge.
struct ButtonPlace {
    int top;
    int width = 1490;
};

// A button of the column that is not a console's.
struct OtherButton {
    const char* name;
    const char* caption;
    ButtonPlace place;
};

// A date box on a console page, at the left of the column's foot.
struct DateBox {
    const char* text;
    int top;
    int width;
};

// What a console page has of its own. Its consoles (buttons, captions and
// timers) and the controls they share (picture box, result label, byline,
// date boxes) come from the catalogue's group.
struct ConsolePage {
    std::initializer_list<ButtonPlace> consoles;  // one per console of the group, in catalogue order
    std::initializer_list<OtherButton> otherButtons = {};  // below the consoles
    const char* visitButton;                       // member of a Visit control array
    int visitWidth = 1485;
    const char* line;
    int resultWidth = 3000;
    QPoint byline{90, 3600};
    DateBox thenBox;
    DateBox nowBox{};  // none on the Atari page, whose now-box lies on the window
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

QWidget* buildConsolePage(TabControl* tabs, const ConsoleGroup& group, const ConsolePage& d) {
    QWidget* page = tabs->addPage(qtext(group.tab));
    const QString title = qtext(group.tab);  // "Atari" in "Atari result"
    const std::vector<const ConsoleEntry*> consoles = consolesOf(group);
    if (consoles.size() != d.consoles.size())
        throw UserError(QStringLiteral("The %1 page places %2 console buttons for %3 consoles.")
                            .arg(title)
                            .arg(d.consoles.size())
                            .arg(consoles.size()));
    auto place = d.consoles.begin();
    for (const ConsoleEntry* console : consoles) {
        makeButton(page, qtext(console->button), qtext(console->caption),
                   {.left = 10, .top = place->top, .width = place->width, .height = 360});
        new Timer(page, qtext(console->timer));
        ++place;
    }
    for (const OtherButton& b : d.otherButtons)
        makeButton(page, b.name, b.caption, {.left = 10, .top = b.place.top, .width = b.place.width, .height = 360});
    makeButton(page, d.visitButton, "Visit {qAv}", {.left = 10, .top = 4080, .width = d.visitWidth, .height = 360});
    makeLine(page, d.line, 1485, 4400, 1485, 310);
    QLabel* picture = makePictureBox(page, qtext(group.pictureBox), {.left = 1510, .top = 320, .width = 4080, .height = 4080},
                                     QStringLiteral("%1 picture").arg(title));
    QLabel* result = makeLabel(picture, qtext(group.resultLabel), "Agelark v2.5",
                               {.left = 525, .top = 240, .width = d.resultWidth, .height = 315},
                               QStringLiteral("%1 result").arg(title), true);
    styleDigital(result);
    makeRoomForReport(result, d.byline.y());
    styleDigital(makeLabel(picture, QStringLiteral("lblByWendrix_%1").arg(group.bylineIndex), bylineText,
                           {.left = d.byline.x(), .top = d.byline.y(), .width = 3900, .height = 315},
                           QStringLiteral("Credit")));
    makeTextBox(page, qtext(group.thenBox), d.thenBox.text,
                {.left = 720, .top = d.thenBox.top, .width = d.thenBox.width, .height = 285},
                QStringLiteral("%1 count-from date").arg(title))
        ->setEnabled(false);
    if (d.nowBox.text)
        makeUnseenTextBox(page, qtext(group.nowBox), d.nowBox.text,
                          {.left = 720, .top = d.nowBox.top, .width = d.nowBox.width, .height = 285},
                          QStringLiteral("%1 current date").arg(title));
    return page;
}

void buildCustomPage(QWidget* page) {
    makeMultiLineTextBox(page, "txtNotes", "Notes\r\n", {.left = 120, .top = 480, .width = 2655, .height = 3255}, "Notes")
        ->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    makeButton(page, "cmdSave", "Save Changes", {.left = 1320, .top = 3860, .width = 1440, .height = 360});
    makeProgressBar(page, "ProgressBar1", {.left = 1320, .top = 4210, .width = 1440, .height = 120});
    // The clock and the save status share one place, wide enough for a time
    // with seconds and for the working message, up to the Save button.
    makeLabel(page, "lblClock", "Clock", {.left = 120, .top = 3960, .width = 1140, .height = 195}, "Clock");
    makeLabel(page, "lblWorking", "", {.left = 120, .top = 3960, .width = 1140, .height = 195}, "Save status");

    QGroupBox* frame = makeFrame(page, "Frame1", "Custom Count Up", {.left = 2880, .top = 390, .width = 2655, .height = 3960});
    auto help = makeMultiLineTextBox(frame, "txtCustom", instructions, {.left = 120, .top = 360, .width = 2415, .height = 2055}, "Instructions");
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
    help->setPalette([&] {
        QPalette p = help->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Button));
        return p;
    }());
    QLineEdit* from = makeTextBox(frame, "txtCusThen", "", {.left = 360, .top = 2400, .width = 2000, .height = 285}, "Count-up from date");
    makeTextBox(frame, "txtCusNow", "", {.left = 360, .top = 2640, .width = 2000, .height = 285}, "Custom current date")->setEnabled(false);
    // The result is centred where it was designed (400, 2880, 1875 wide, nearly
    // the frame's middle) but may use the frame's whole width and reach down
    // to the buttons, so a long age stays whole in a wider stand-in face.
    QLabel* result = makeLabel(frame, "lblCustom", "Custom Result", {.left = 60, .top = 2880, .width = 2535, .height = 555}, "Custom result", true);
    result->setFont(designFont(digitalFace, 14.25, true, true));
    result->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    result->setWordWrap(true);
    QPushButton* submit = makeButton(frame, "cmdCustom", "Submit", {.left = 240, .top = 3450, .width = 855, .height = 360});
    // Enter in the date box submits it: Submit is what the page is for.
    QObject::connect(from, &QLineEdit::returnPressed, submit, [submit] { submit->animateClick(); });
    makeButton(frame, "cmdReset", "Reset", {.left = 1440, .top = 3450, .width = 990, .height = 360});
    new Timer(frame, "Timer22");
    // The save's animation ends in its confirmation, which nobody should wait for.
    (new Timer(frame, "Timer23"))->keepPaceWhenMinimised();
    new Timer(frame, "Timer24");
}

}  // namespace

FormWindow* createForm1() {
    auto form = new FormWindow("Form1");
    form->setWindowTitle("Agelark v2.5");
    fixWindowFrame(form, {px(5655), px(4455)}, true);
    form->setFont(designFont(sansSerifFace, 8.25));

    auto tabs = new TabControl(form);
    tabs->setObjectName("SSTTab1");
    tabs->setAccessibleName("Console makers");
    tabs->setGeometry(twipsRect({.left = 0, .top = 0, .width = 5655, .height = 4455}));

    const auto groups = consoleGroups();
    const auto group = [&](std::string_view tab) -> const ConsoleGroup& {
        for (const ConsoleGroup& g : groups)
            if (g.window == WindowId::Form1 && g.tab == tab) return g;
        throw UserError(QStringLiteral("The catalogue has no %1 page.").arg(qtext(tab)));
    };
    buildConsolePage(tabs, group("Atari"), {
        .consoles = {{310}, {660}, {1000}, {1350}, {1700}, {2040}},
        .visitButton = "cmdQAV3_0",
        .visitWidth = 1490,
        .line = "Line3",
        .thenBox = {.text = "atari", .top = 3720, .width = 615},
    });
    buildConsolePage(tabs, group("Nintendo"), {
        .consoles = {{310}, {660}, {1000}, {1350}, {1700}, {2040}, {2380}, {2730, 1485}},
        .otherButtons = {{"cmdHandheld", "Handhelds", {3080, 1485}}},
        .visitButton = "cmdQAV3_1",
        .line = "Line2",
        .thenBox = {.text = "nesThen", .top = 3360, .width = 495},
        .nowBox = {.text = "NesNow", .top = 3600, .width = 495},
    });
    buildConsolePage(tabs, group("Sega"), {
        .consoles = {{310}, {660}, {1000}, {1350}, {1700}},
        .visitButton = "cmdQAV3_2",
        .line = "Line1",
        .thenBox = {.text = "sThen", .top = 3360, .width = 615},
        .nowBox = {.text = "sNow", .top = 3600, .width = 615},
    });
    buildConsolePage(tabs, group("Sony"), {
        .consoles = {{310}, {660}, {1000}, {1350}, {1700}, {2040}, {2390}, {2730}},
        .visitButton = "cmdQAV4_1",
        .line = "Line4",
        .resultWidth = 3015,
        .byline = {89, 3593},
        .thenBox = {.text = "psThen", .top = 3240, .width = 615},
        .nowBox = {.text = "psNow", .top = 3480, .width = 495},
    });
    buildConsolePage(tabs, group("Microsoft"), {
        .consoles = {{310}, {660}, {1000}, {1350}},
        .visitButton = "cmdQAV5_1",
        .line = "Line5",
        .byline = {88, 3600},
        .thenBox = {.text = "xThen", .top = 3090, .width = 615},
        .nowBox = {.text = "xNow", .top = 3480, .width = 615},
    });
    buildCustomPage(tabs->addPage("Custom"));
    tabs->setCurrentIndex(0);

    // The Atari page's now-box lies on the window itself, over the tab control, on every page.
    makeUnseenTextBox(form, "NowText", "aNow", {.left = 840, .top = 3960, .width = 375, .height = 285},
                      "Atari current date");
    return form;
}

}  // namespace agelark
