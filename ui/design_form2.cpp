#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "engine/catalogue.h"
#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/timers.h"
#include "platform/windows.h"
#include "ui/design.h"
#include "ui/design_kit.h"
#include "ui/twips.h"

namespace agelark {

namespace {

QFont tahoma() { return designFont(tahomaFace, 8.25); }

// The handheld consoles' buttons, one below the other from the window's top.
constexpr int handheldButtonTops[] = {0, 360, 720, 1080, 1440, 1800};

const ConsoleGroup& handheldGroup() {
    for (const ConsoleGroup& g : consoleGroups())
        if (g.window == WindowId::Form2) return g;
    throw UserError(QStringLiteral("The catalogue has no handheld consoles."));
}

}  // namespace

FormWindow* createForm2() {
    auto form = new FormWindow("Form2");
    form->setWindowTitle("Agelark v2.4 - Nintendo Handhelds");
    fixWindowFrame(form, {px(5280), px(4080)}, true);
    form->setFont(tahoma());

    const QFont buttonFont = designFont(sansSerifFace, 8.25);
    const ConsoleGroup& group = handheldGroup();
    const std::vector<const ConsoleEntry*> consoles = consolesOf(group);
    if (consoles.size() != std::size(handheldButtonTops))
        throw UserError(QStringLiteral("The handheld window places %1 console buttons for %2 consoles.")
                            .arg(std::size(handheldButtonTops))
                            .arg(consoles.size()));
    const int* top = handheldButtonTops;
    for (const ConsoleEntry* console : consoles) {
        makeButton(form, qtext(console->button), qtext(console->caption), {.left = 0, .top = *top++, .width = 1220, .height = 360})
            ->setFont(buttonFont);
        new Timer(form, qtext(console->timer));
    }
    makeButton(form, "cmdqAv", "Visit {qAv}", {.left = 0, .top = 3720, .width = 1220, .height = 360})->setFont(buttonFont);

    makeTextBox(form, qtext(group.thenBox), "Then", {.left = 0, .top = 3000, .width = 615, .height = 375},
                "Handheld count-from date")
        ->setEnabled(false);
    makeTextBox(form, qtext(group.nowBox), "Now", {.left = 0, .top = 3360, .width = 615, .height = 285},
                "Handheld current date")
        ->setEnabled(false);
    QLabel* picture = makePictureBox(form, qtext(group.pictureBox), {.left = 1200, .top = 0, .width = 4080, .height = 4080},
                                     "Handheld picture");
    QLabel* result = makeLabel(picture, qtext(group.resultLabel), "Agelark v2.5",
                               {.left = 480, .top = 240, .width = 3000, .height = 315}, "Handheld result", true);
    styleDigital(result);
    makeRoomForReport(result, 3540);
    styleDigital(makeLabel(picture, QStringLiteral("lblByWendrix_%1").arg(group.bylineIndex), bylineText,
                           {.left = 80, .top = 3540, .width = 3900, .height = 315}, "Credit"));
    return form;
}

FormWindow* createSaved() {
    auto form = new FormWindow("Saved");
    form->setWindowTitle("Saved!");
    fixWindowFrame(form, {px(1770), px(1170)}, false);
    form->setFont(tahoma());
    QLabel* label = makeLabel(form, "lblSaved", "Changes Saved!", {.left = 240, .top = 240, .width = 1335, .height = 195});
    label->setFont(designFont(tahomaFace, 8.25, true));
    QPushButton* ok = makeButton(form, "cmdOK", "OK", {.left = 240, .top = 600, .width = 1335, .height = 360});
    // Enter presses OK, the window's only control and so always the one with
    // the focus, as in any confirmation; Escape closes the window as its close box does.
    ok->setDefault(true);
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), form), &QShortcut::activated, form, &QWidget::close);
    return form;
}

}  // namespace agelark
