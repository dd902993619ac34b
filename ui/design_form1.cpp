#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

#include "design.h"
#include "design_kit.h"
#include "page_view.h"
#include "tab_control.h"
#include "timers.h"
#include "twips.h"
#include "windows.h"

namespace agelark {

const char* const bylineText = "by the Agelark team";

namespace {

struct ButtonRow {
    const char* name;
    const char* caption;
    int top;
    int width;
};

struct ConsolePage {
    const char* caption;
    std::initializer_list<ButtonRow> buttons;
    const char* visitButton;  // member of a Visit control array
    int visitWidth;
    const char* line;
    const char* pictureBox;
    const char* resultLabel;
    int resultWidth;
    int bylineIndex;
    int bylineLeft, bylineTop;
    const char* thenBox;
    const char* thenText;
    int thenTop, thenWidth;
    const char* nowBox;  // none on the Atari page, whose now-box lies on the window
    const char* nowText;
    int nowTop, nowWidth;
    const char* accessibleGroup;  // "Atari" in "Atari result"
    std::initializer_list<const char*> timers;
};

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
    "You can not go forward in time.\r\n");

void buildConsolePage(QWidget* page, const ConsolePage& d) {
    for (const ButtonRow& b : d.buttons) makeButton(page, b.name, b.caption, 10, b.top, b.width, 360);
    makeButton(page, d.visitButton, "Visit {qAv}", 10, 4080, d.visitWidth, 360);
    makeLine(page, d.line, 1485, 4400, 1485, 310);
    QLabel* picture = makePictureBox(page, d.pictureBox, 1510, 320, 4080, 4080,
                                     QStringLiteral("%1 picture").arg(d.accessibleGroup));
    QLabel* result = makeLabel(picture, d.resultLabel, "Agelark v2.5", 525, 240, d.resultWidth, 315,
                               QStringLiteral("%1 result").arg(d.accessibleGroup));
    styleDigital(result);
    makeRoomForReport(result, d.bylineTop);
    styleDigital(makeLabel(picture, QStringLiteral("lblByWendrix_%1").arg(d.bylineIndex), bylineText, d.bylineLeft,
                           d.bylineTop, 3900, 315, QStringLiteral("Credit")));
    makeTextBox(page, d.thenBox, d.thenText, 720, d.thenTop, d.thenWidth, 285,
                QStringLiteral("%1 count-from date").arg(d.accessibleGroup))
        ->setEnabled(false);
    if (d.nowBox)
        makeUnseenTextBox(page, d.nowBox, d.nowText, 720, d.nowTop, d.nowWidth, 285,
                          QStringLiteral("%1 current date").arg(d.accessibleGroup));
    for (const char* timer : d.timers) new Timer(page, timer);
}

void buildCustomPage(QWidget* page) {
    makeMultiLineTextBox(page, "txtNotes", "Notes\r\n", 120, 480, 2655, 3255, "Notes")
        ->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    makeButton(page, "cmdSave", "Save Changes", 1320, 3860, 1440, 360);
    makeProgressBar(page, "ProgressBar1", 1320, 4210, 1440, 120);
    // The clock and the save status share one place, wide enough for a time
    // with seconds and for the working message, up to the Save button.
    makeLabel(page, "lblClock", "Clock", 120, 3960, 1140, 195, "Clock");
    makeLabel(page, "lblWorking", "", 120, 3960, 1140, 195, "Save status");

    auto view = new PageView(page);
    view->setObjectName("WebBrowser1");
    view->setGeometry(twipsRect(6600, 2520, 495, 375));
    view->setAccessibleName("Notes page view");
    view->hide();

    QGroupBox* frame = makeFrame(page, "Frame1", "Custom Count Up", 2880, 390, 2655, 3960);
    auto help = makeMultiLineTextBox(frame, "txtCustom", instructions, 120, 360, 2415, 2055, "Instructions");
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
    makeTextBox(frame, "txtCusThen", "", 360, 2400, 2000, 285, "Count-up from date");
    makeTextBox(frame, "txtCusNow", "cusNow", 360, 2640, 2000, 285, "Custom current date")->setEnabled(false);
    // The result is centred where it was designed (400, 2880, 1875 wide, nearly
    // the frame's middle) but may use the frame's whole width and reach down
    // to the buttons, so a long age stays whole in a wider stand-in face.
    QLabel* result = makeLabel(frame, "lblCustom", "Custom Result", 60, 2880, 2535, 555, "Custom result");
    result->setFont(designFont(digitalFace, 14.25, true, true));
    result->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    result->setWordWrap(true);
    makeButton(frame, "cmdCustom", "Submit", 240, 3450, 855, 360);
    makeButton(frame, "cmdReset", "Reset", 1440, 3450, 990, 360);
    for (const char* timer : {"Timer22", "Timer23", "Timer24"}) new Timer(frame, timer);
}

}  // namespace

FormWindow* createForm1() {
    auto form = new FormWindow("Form1");
    form->setWindowTitle("Agelark v2.5");
    form->setFixedSize(px(5655), px(4455));
    form->setFont(designFont(sansSerifFace, 8.25));

    auto tabs = new TabControl(form);
    tabs->setObjectName("SSTTab1");
    tabs->setAccessibleName("Console makers");
    tabs->setGeometry(twipsRect(0, 0, 5655, 4455));

    buildConsolePage(tabs->addPage("Atari"),
                     {"Atari",
                      {{"cmdCommand2600", "2600", 310, 1490},
                       {"cmdCommand5200", "5200", 660, 1490},
                       {"cmdCommand7800", "7800", 1000, 1490},
                       {"cmdXEGS", "XEGS", 1350, 1490},
                       {"cmdLYNX", "LYNX", 1700, 1490},
                       {"cmdCommandJag", "JAGUAR", 2040, 1490}},
                      "cmdQAV3_0", 1490, "Line3", "Picture1", "lblLabel1", 3000, 1, 90, 3600,
                      "txtAtari", "atari", 3720, 615, nullptr, nullptr, 0, 0, "Atari",
                      {"Timer1", "Timer2", "Timer3", "Timer4", "Timer25", "Timer26"}});
    buildConsolePage(tabs->addPage("Nintendo"),
                     {"Nintendo",
                      {{"cmdNES", "NES", 310, 1490},
                       {"cmdSNES", "SNES", 660, 1490},
                       {"cmdVBOY", "VIRTUAL BOY", 1000, 1490},
                       {"cmdN64", "N64", 1350, 1490},
                       {"cmdNGC", "GAMECUBE", 1700, 1490},
                       {"cmdWii", "Wii", 2040, 1490},
                       {"cmdWiiu", "Wii U", 2380, 1490},
                       {"cmdSW", "SWITCH", 2730, 1485},
                       {"cmdHandheld", "Handhelds", 3080, 1485}},
                      "cmdQAV3_1", 1485, "Line2", "Picture4", "lblLabel4", 3000, 0, 90, 3600,
                      "txtNes", "nesThen", 3360, 495, "txtNesNow", "NesNow", 3600, 495, "Nintendo",
                      {"Timer13", "Timer14", "Timer15", "Timer16", "Timer17", "Timer18", "Timer27", "TimerSW"}});
    buildConsolePage(tabs->addPage("Sega"),
                     {"Sega",
                      {{"cmdMS", "Master System", 310, 1490},
                       {"cmdGen", "Genesis", 660, 1490},
                       {"cmdSat", "Saturn", 1000, 1490},
                       {"cmdNomad", "Nomad", 1350, 1490},
                       {"cmdDC", "Dreamcast", 1700, 1490}},
                      "cmdQAV3_2", 1485, "Line1", "Picture3", "lblLabel3", 3000, 2, 90, 3600,
                      "txtSega", "sThen", 3360, 615, "txtSegaNow", "sNow", 3600, 615, "Sega",
                      {"Timer9", "Timer10", "Timer11", "Timer12", "Timer28"}});
    buildConsolePage(tabs->addPage("Sony"),
                     {"Sony",
                      {{"cmdPS1", "PS1", 310, 1490},
                       {"cmdPS2", "PS2", 660, 1490},
                       {"cmdPS3", "PS3", 1000, 1490},
                       {"cmdPS4", "PS4", 1350, 1490},
                       {"cmdPS5", "PS5", 1700, 1490},
                       {"cmdPSP", "PSP", 2040, 1490},
                       {"cmdPSPGO", "PSP GO", 2390, 1490},
                       {"cmdVITA", "PS VITA", 2730, 1490}},
                      "cmdQAV4_1", 1485, "Line4", "Picture2", "lblLabel2", 3015, 3, 89, 3593,
                      "txtPs", "psThen", 3240, 615, "txtPsNow", "psNow", 3480, 495, "Sony",
                      {"Timer5", "Timer6", "Timer7", "Timer8", "Timerps5", "Timer29", "Timer30", "Timer31"}});
    buildConsolePage(tabs->addPage("Microsoft"),
                     {"Microsoft",
                      {{"cmdXBOX", "XBOX", 310, 1490},
                       {"cmd360", "360", 660, 1490},
                       {"cmdONE", "ONE", 1000, 1490},
                       {"cmdSX", "SERIES X", 1350, 1490}},
                      "cmdQAV5_1", 1485, "Line5", "Picture5", "lblLabel5", 3000, 4, 88, 3600,
                      "txtXbox", "xThen", 3090, 615, "txtXboxNow", "xNow", 3480, 615, "Microsoft",
                      {"Timer19", "Timer20", "Timer21", "TimerSX"}});
    buildCustomPage(tabs->addPage("Custom"));
    tabs->setCurrentIndex(0);

    // The Atari page's now-box lies on the window itself, over the tab control, on every page.
    makeUnseenTextBox(form, "NowText", "aNow", 840, 3960, 375, 285, "Atari current date");
    return form;
}

}  // namespace agelark
