#include "notes/notes_save.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <optional>

#include "notes/notes_location.h"
#include "notes/notes_pad.h"
#include "notes/notes_text.h"
#include "notes/notes_worker.h"
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

bool saving = false;  // a save is being written on the notes thread

struct Save {
    QString path;
    QString text;            // the pad's text when Save was pressed, until it is encoded
    QByteArray content;      // the bytes to write, once encoded
    bool encoded = false;
    NotesRecord allowed;     // what the file may hold to be written over
    NotesRecord started;     // what the pad knew of the file when Save was pressed
    QPointer<FormWindow> origin;
};

struct Outcome {
    WriteAttempt attempt;
    std::optional<QString> failure;  // the reason, when the save failed
};

bool sameRecord(const NotesRecord& a, const NotesRecord& b) {
    return a.kind == b.kind && a.path == b.path && sameContent(a.stamp, b.stamp) &&
           a.stamp.modifiedNs == b.stamp.modifiedNs;
}

void written(Save save, const Outcome& outcome);

// Encodes and writes on the notes thread; the outcome comes back to written().
void startWriting(Save save) {
    saving = true;
    startNotesWork([save = std::move(save)]() mutable {
        Outcome outcome;
        try {
            if (!save.encoded) {
                save.content = encodeNotesFile(save.text);
                save.text = QString();
                save.encoded = true;
            }
            outcome.attempt = writeUnlessChanged(save.path, save.content, save.allowed);
        } catch (const FileError& failure) {
            outcome.failure = failure.reason();
        } catch (const std::exception& failure) {  // out of memory: nothing may escape the thread
            outcome.failure = QString::fromLocal8Bit(failure.what());
        }
        backOnMainThread([save = std::move(save), outcome]() mutable { written(std::move(save), outcome); });
    });
}

void startAnimation(FormWindow* form1) {
    // A save during the animation sets the interval again; the bar goes on from where it stands.
    Timer* animation = control<Timer>(form1, "Timer23");
    animation->setEnabled(true);
    animation->setTickInterval(100);
}

void written(Save save, const Outcome& outcome) {
    saving = false;
    // The window whose pad was saved; after a rebuild, the new main window
    // when it took the pad's text along (and with it what the pad knew of the
    // file), not one that loaded the file afresh.
    FormWindow* form1 = save.origin;
    if (!form1) {
        FormWindow* now = windows().loadedWindow("Form1");
        if (now && sameRecord(padState(now).record, save.started)) form1 = now;
    }
    FormWindow* over = form1 ? form1 : windows().loadedWindow("Form1");
    if (!over) return;  // the program is ending
    runHandler(over, [&] {
        if (outcome.failure)
            throw UserError(QStringLiteral("Could not save the notes to %1: %2").arg(save.path, *outcome.failure));
        if (!form1) {
            // The new window read the file after this save ended, and shows what it holds.
            if (outcome.attempt.written) return;
            throw UserError(QStringLiteral("Nothing was saved to %1: another program, or another copy of Agelark, "
                                           "had changed it. The pad shows what the file holds now.")
                                .arg(save.path));
        }
        PadState& state = padState(form1);
        if (outcome.attempt.written) {
            state.record = {NotesRecord::Kind::Loaded, save.path, outcome.attempt.stamp};
            startAnimation(form1);
            return;
        }
        const QPointer<FormWindow> window(form1);
        const bool overwrite = askUser(form1, overwriteQuestion(save.path, save.allowed), QStringLiteral("Overwrite"));
        // A rebuild of the main window while the question was open took the pad's text along.
        if (!window || !overwrite) return;
        // Exactly what the user was told of may be replaced; a change after that is asked about again.
        save.allowed = {NotesRecord::Kind::Loaded, save.path, outcome.attempt.stamp};
        save.origin = window;
        startWriting(std::move(save));
    });
}

}  // namespace

bool notesSaveUnderWay() { return saving; }

void cmdSave_Click(FormWindow* form1) {
    PadState& state = padState(form1);
    if (state.phase == PadPhase::Loading)
        throw UserError(QStringLiteral("The notes are still being loaded into the pad. "
                                       "Save again once they are all there; nothing was saved."));
    if (state.phase == PadPhase::ReadOnly)
        throw UserError(QStringLiteral("Nothing was saved: the pad shows the notes of %1 read-only, because some of "
                                       "their lines are too long to edit here. The file is unchanged.")
                            .arg(state.record.path));
    const QString path = notesFiles().write;
    if (saving)
        throw UserError(QStringLiteral("The notes are still being written to %1 by the last Save. "
                                       "Save again once \"Working...\" shows to save what you typed since.")
                            .arg(path));

    // The pad's text is taken now; the writing goes on beside the window,
    // which takes typing meanwhile. The file is complete on disk before the
    // animation starts, so the confirmation never comes ahead of the data.
    startWriting({.path = path,
                  .text = padText(form1),
                  .allowed = state.record,
                  .started = state.record,
                  .origin = form1});
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
