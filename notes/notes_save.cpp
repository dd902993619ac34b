#include "notes/notes_save.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>

#include "notes/notes_pad.h"
#include "notes/notes_text.h"
#include "notes/notes_worker.h"
#include "notes/notes_write.h"
#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/platform.h"
#include "platform/timers.h"
#include "platform/windows.h"

namespace agelark {

namespace {

bool saving = false;  // a save is being written on the notes thread

struct Save {
    NotesPaths paths;
    QString text;      // the pad's text when Save was pressed
    PadState started;  // what the pad knew of the file then
    QString path;      // where it goes, once decided
    Expected expected;
    QPointer<FormWindow> origin;
};

struct Outcome {
    WriteOutcome write;
    QString failure;  // why the save failed; empty when it did not
};

// Why the file may not be written without the user's word, where it leads now, and what each answer does.
QString overwriteQuestion(const QString& path, const Loaded& expected, const Loaded& found) {
    QString why = expected.kind == AtPath::File
                      ? QStringLiteral("has been changed by another program, or by another copy of Agelark, since "
                                       "the pad's text was loaded from it or saved to it.")
                  : expected.kind == AtPath::Missing || expected.kind == AtPath::DanglingLink
                      ? QStringLiteral("has been made by another program, or by another copy of Agelark, since the "
                                       "pad's text was loaded.")
                      : QStringLiteral("could not be read when Agelark started, so the pad does not show what it holds.");
    if (found.kind == AtPath::LinkNotYours)
        why += QStringLiteral(" It is now a link, made by %1, to %2: Overwrite puts your notes in the link's place "
                              "and leaves %2 as it is.").arg(found.linkOwner, found.leadsTo);
    else if (!found.leadsTo.isEmpty())
        why += QStringLiteral(" It now leads to %1.").arg(found.leadsTo);
    return QStringLiteral("The notes file %1 ").arg(path) + why +
           QStringLiteral("\n\nOverwrite replaces what is there now with the text in the pad. "
                          "Cancel leaves the file as it is; your text stays in the pad.");
}

void written(Save save, const Outcome& outcome);

// Decides where the notes go, encodes and writes on the notes thread; the outcome comes back to written().
void startSaving(Save save) {
    saving = true;
    startNotesWork(
        [save = std::move(save)]() mutable {
            Outcome outcome;
            try {
                if (save.path.isEmpty()) {
                    save.path = notesToWrite(save.paths);
                    const Loaded& loaded = save.started.file;
                    save.expected = {loaded.path == save.path ? loaded : Loaded{.path = save.path}};
                }
                const bool unchanged = save.text == save.started.text;
                outcome.write = writeNotes(save.path, encodeNotesFile(save.text), save.expected, unchanged);
            } catch (const std::exception& failure) {  // out of memory too: nothing may escape the thread
                outcome.failure = QString::fromStdString(failure.what());
            }
            backOnMainThread([save = std::move(save), outcome]() mutable { written(std::move(save), outcome); });
        },
        true);
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
    // when it took the pad's text along, not one that loaded the file afresh.
    FormWindow* form1 = save.origin;
    if (!form1) {
        FormWindow* now = windows().loadedWindow("Form1");
        if (now && sameAtPath(padState(now).file, save.started.file)) form1 = now;
    }
    FormWindow* over = form1 ? form1 : windows().loadedWindow("Form1");
    if (!over) return;  // the program is ending
    runHandler(over, [&] {
        if (!outcome.failure.isEmpty())
            throw UserError(QStringLiteral("Could not save the notes to %1: %2").arg(save.path, outcome.failure));
        if (!form1) {
            // The new window read the file after this save ended, and shows what it holds.
            if (outcome.write.written) return;
            throw UserError(QStringLiteral("Nothing was saved to %1: another program, or another copy of Agelark, "
                                           "had changed it. The pad shows what the file holds now.").arg(save.path));
        }
        if (outcome.write.written) {
            PadState& state = padState(form1);
            state.file = outcome.write.now;
            state.text = save.text;
            startAnimation(form1);
            if (save.path == save.paths.own && save.path != save.started.file.path && !save.expected.agreed)
                showNotice(form1, QStringLiteral("Your notes were saved to your own copy, %1, because the notes file "
                                                 "beside the program, %2, is not yours to change. Agelark reads "
                                                 "your notes from your copy from now on.")
                                      .arg(save.path, save.paths.beside));
            return;
        }
        const QPointer<FormWindow> window(form1);
        const bool overwrite = askUser(form1, overwriteQuestion(save.path, save.expected.at, outcome.write.now),
                                       QStringLiteral("Overwrite"));
        // A rebuild of the main window while the question was open took the pad's text along.
        if (!window || !overwrite) return;
        // Exactly what the user was told of may be replaced; a change after that is asked about again.
        save.expected = {outcome.write.now, true};
        save.origin = window;
        startSaving(std::move(save));
    });
}

}  // namespace

bool notesSaveUnderWay() { return saving; }

void cmdSave_Click(FormWindow* form1) {
    const PadState& state = padState(form1);
    if (state.phase == PadPhase::Loading)
        throw UserError(QStringLiteral("The notes are still being loaded into the pad. "
                                       "Save again once they are there; nothing was saved."));
    if (state.phase == PadPhase::ReadOnly)
        throw UserError(QStringLiteral("Nothing was saved: the pad shows the notes of %1 read-only, because %2. "
                                       "The file is unchanged.")
                            .arg(state.file.path, state.file.kind == AtPath::TooBig
                                                      ? QStringLiteral("the file is too big for the pad")
                                                      : QStringLiteral("some of their lines are too long to edit here")));
    if (saving)
        throw UserError(QStringLiteral("The notes are still being written by the last Save. "
                                       "Save again once \"Working...\" shows to save what you typed since."));
    // The pad's text is taken now; the writing goes on beside the window,
    // which takes typing meanwhile. The file is complete on disk before the
    // animation starts, so the confirmation never comes ahead of the data.
    startSaving({.paths = notesPaths(), .text = padText(form1), .started = state, .origin = form1});
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
