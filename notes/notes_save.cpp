#include "notes/notes_save.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>

#include "notes/notes_location.h"
#include "notes/notes_pad.h"
#include "notes/notes_text.h"
#include "notes/notes_write.h"
#include "notes/pad_state.h"
#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/platform.h"
#include "platform/timers.h"
#include "platform/windows.h"

namespace agelark {

namespace {

// Why the file may not be written without the user's word, and what each answer does.
QString overwriteQuestion(const QString& path, const NotesRecord& allowed) {
    const QString answers = QStringLiteral(
        "\n\nOverwrite replaces what the file holds now with the text in the pad, and that is lost. "
        "Cancel leaves the file as it is; your text stays in the pad.");
    if (allowed.path == path && allowed.kind == NotesRecord::Kind::Unreadable)
        return QStringLiteral("The notes file %1 could not be read when Agelark started, "
                              "so the pad does not show what it holds.").arg(path) + answers;
    if (allowed.path == path && allowed.kind == NotesRecord::Kind::Loaded)
        return QStringLiteral("The notes file %1 has been changed by another program, or by another copy of "
                              "Agelark, since the pad's text was loaded from it or saved to it.").arg(path) + answers;
    return QStringLiteral("The notes file %1 has been made by another program, or by another copy of Agelark, "
                          "since the pad's text was loaded.").arg(path) + answers;
}

}  // namespace

void cmdSave_Click(FormWindow* form1) {
    PadState& state = padState(form1);
    if (state.phase == PadPhase::Loading)
        throw UserError(QStringLiteral("The notes are still being loaded into the pad. "
                                       "Save again once they are all there; nothing was saved."));
    if (state.phase == PadPhase::ReadOnly)
        throw UserError(QStringLiteral("Nothing was saved: the pad shows the notes of %1 read-only, because some of "
                                       "their lines are too long to edit here. The file is unchanged.")
                            .arg(state.record.path));

    // The file is complete on disk before the animation starts, so the
    // confirmation never comes ahead of the data.
    const QString path = notesFiles().write;
    const QByteArray content = encodeNotesFile(padText(form1));
    const QPointer<FormWindow> window(form1);
    NotesRecord allowed = state.record;
    for (;;) {
        WriteAttempt attempt;
        try {
            attempt = writeUnlessChanged(path, content, allowed);
        } catch (const FileError& failure) {
            throw UserError(QStringLiteral("Could not save the notes to %1: %2").arg(path, failure.reason()));
        }
        if (attempt.written) {
            state.record = {NotesRecord::Kind::Loaded, path, attempt.stamp};
            break;
        }
        const bool overwrite = askUser(form1, overwriteQuestion(path, allowed), QStringLiteral("Overwrite"));
        // A rebuild of the main window while the question was open took the pad's text along.
        if (!window || !overwrite) return;
        // Exactly what the user was told of may be replaced; a change after that is asked about again.
        allowed = {NotesRecord::Kind::Loaded, path, attempt.stamp};
    }

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
