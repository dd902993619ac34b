#include "notes_save.h"

#include <QLabel>
#include <QProgressBar>

#include "controls.h"
#include "errors.h"
#include "file_replace.h"
#include "notes_pad.h"
#include "notes_text.h"
#include "platform.h"
#include "timers.h"
#include "windows.h"

namespace agelark {

void cmdSave_Click(FormWindow* form1) {
    // The file is complete on disk before the animation starts, so the
    // confirmation never comes ahead of the data.
    const QString path = appFilePath("\\Notes.txt");
    const QString failure = replaceExistingFile(path, encodeNotesFile(padText(form1)));
    if (!failure.isEmpty()) throw UserError(QStringLiteral("Could not save the notes to %1: %2").arg(path, failure));

    // A save during the animation sets the interval again; the bar goes on from where it stands.
    Timer* animation = control<Timer>(form1, "Timer23");
    animation->setEnabled(true);
    animation->setTickInterval(100);
}

void Timer23_Timer(FormWindow* form1) {
    auto clock = control<QLabel>(form1, "lblClock");
    auto working = control<QLabel>(form1, "lblWorking");
    auto bar = control<QProgressBar>(form1, "ProgressBar1");
    clock->hide();
    working->setText(QStringLiteral("Working..."));
    if (bar->value() <= 90) {
        bar->setValue(bar->value() + 5);
        return;
    }

    // Past 90: the bar stops at 95, never at its maximum, and the save is confirmed.
    control<Timer>(form1, "Timer23")->setEnabled(false);
    bar->setValue(0);
    working->clear();
    clock->show();
    FormWindow* saved = windows().show("Saved");
    placeOnCornerOf(saved, form1);
    platform().beep->play(exclamationSound);
}

void cmdOK_Click(FormWindow* saved) { windows().hide(saved->objectName()); }

}  // namespace agelark
