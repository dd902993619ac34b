#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "design.h"
#include "design_kit.h"
#include "timers.h"
#include "twips.h"
#include "windows.h"

namespace agelark {

namespace {

QFont tahoma() { return designFont(tahomaFace, 8.25); }

}  // namespace

FormWindow* createForm2() {
    auto form = new FormWindow("Form2");
    form->setWindowTitle("Agelark v2.4 - Nintendo Handhelds");
    form->setFixedSize(px(5280), px(4080));
    form->setFont(tahoma());

    const QFont buttonFont = designFont(sansSerifFace, 8.25);
    const struct {
        const char *name, *caption;
        int top;
    } buttons[] = {{"cmdGB", "GB", 0},           {"cmdGBC", "GBC", 360},
                   {"cmdGBA", "GB Advance", 720}, {"cmdGBM", "GB Mirco", 1080},
                   {"cmdNDS", "Nintendo DS", 1440}, {"cmd3DS", "Nintendo 3DS", 1800},
                   {"cmdqAv", "Visit {qAv}", 3720}};
    for (const auto& b : buttons) makeButton(form, b.name, b.caption, 0, b.top, 1220, 360)->setFont(buttonFont);

    makeTextBox(form, "txtThen", "Then", 0, 3000, 615, 375, "Handheld count-from date")->setEnabled(false);
    makeTextBox(form, "txtNow", "Now", 0, 3360, 615, 285, "Handheld current date")->setEnabled(false);
    QLabel* picture = makePictureBox(form, "Picture1", 1200, 0, 4080, 4080, "Handheld picture");
    QLabel* result = makeLabel(picture, "lblAgelark", "Agelark v2.5", 480, 240, 3000, 315, "Handheld result");
    styleDigital(result);
    makeRoomForReport(result, 3540);
    styleDigital(makeLabel(picture, "lblByWendrix_0", bylineText, 80, 3540, 3900, 315, "Credit"));

    for (const char* timer : {"Timer1", "Timer2", "Timer3", "Timer4", "Timer5", "Timer6"}) new Timer(form, timer);
    return form;
}

FormWindow* createSaved() {
    auto form = new FormWindow("Saved");
    form->setWindowTitle("Saved!");
    form->setFixedSize(px(1770), px(1170));
    form->setFont(tahoma());
    QLabel* label = makeLabel(form, "lblSaved", "Changes Saved!", 240, 240, 1335, 195);
    label->setFont(designFont(tahomaFace, 8.25, true));
    makeButton(form, "cmdOK", "OK", 240, 600, 1335, 360);
    return form;
}

}  // namespace agelark
