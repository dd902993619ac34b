#include "notes/notes_save.h"

#include <unistd.h>

#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <cstdio>
#include <mutex>
#include <optional>

#include "notes/notes_pad.h"
#include "notes/notes_text.h"
#include "notes/notes_worker.h"
#include "notes/notes_file.h"
#include "notes/open_folder.h"
#include "platform/errors.h"

namespace agelark {

namespace {

bool saving = false;  // a save is being written on the notes thread

// The text of the save whose end the user has not seen (written, or told why
// not): kept in a recovery copy when the program ends first. Also set by the
// notes thread.
std::mutex unseenMutex;
std::optional<QString> unseen;

void setUnseen(std::optional<QString> text) {
    const std::lock_guard lock(unseenMutex);
    unseen = std::move(text);
}

// From the program's end, after it waited for a save under way.
void keepUnseen() {
    const std::lock_guard lock(unseenMutex);
    if (!unseen) return;
    try {
        const QString copy = keepRecoveryCopy(*unseen);
        std::fprintf(stderr, "agelark: the notes being saved as Agelark ended are kept in %s\n", qPrintable(copy));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "agelark: the notes being saved as Agelark ended are lost: %s\n", failure.what());
    }
}

struct Save {
    NotesPaths paths;
    QString text;      // the pad's text when Save was pressed
    PadState started;  // what the pad knew of the file then
    QString path;      // where it goes, once decided
    Expected expected;
    QPointer<NotesPad> origin;
    Written result;
    QString failure;  // why it failed; empty when it did not
};

// Why the file may not be written without the user's word, where it leads now, and what each answer does.
QString overwriteQuestion(const Save& save) {
    const Loaded &was = save.expected.at, &now = save.result.now;
    const QString by = QStringLiteral("by another program, or by another copy of Agelark, since the pad's text was");
    QString why = QStringLiteral("could not be read when Agelark started, so the pad does not show what it holds.");
    if (was.kind == AtPath::File) why = QStringLiteral("has been changed %1 loaded from it or saved to it.").arg(by);
    if (was.kind == AtPath::Missing || was.kind == AtPath::DanglingLink)
        why = QStringLiteral("has been made %1 loaded.").arg(by);
    if (now.kind == AtPath::LinkNotYours)
        why += QStringLiteral(" Now %1: Overwrite puts your notes in the link's place and leaves %2 as it is.")
                   .arg(now.reason, now.leadsTo);
    else if (was.folder.st_ino && !files::sameFile(now.folder, was.folder) && now.leadsTo == was.leadsTo)
        why = QStringLiteral("is not where the pad's text was loaded from or saved to: its folder has been replaced "
                             "since by another, %1's.").arg(files::userName(now.folder.st_uid));
    else if (!now.leadsTo.isEmpty())
        why += QStringLiteral(" It now leads to %1, in a folder of %2's.")
                   .arg(now.leadsTo, files::userName(now.folder.st_uid));
    if (now.kind == AtPath::File && now.file.st_uid != ::geteuid())
        why += QStringLiteral(" The file there is %1's.").arg(files::userName(now.file.st_uid));
    return QStringLiteral("The notes file %1 %2\n\nOverwrite replaces what is there now with the text in the pad. "
                          "Cancel leaves the file as it is; your text stays in the pad.").arg(save.path, why);
}

void written(Save save);

void startSaving(Save save) {
    saving = true;
    setUnseen(save.text);
    whenNotesEnd(keepUnseen);
    startNotesWork(
        [save = std::move(save)]() mutable {
            try {
                if (save.path.isEmpty()) {
                    save.path = notesToWrite(save.paths);
                    const Loaded& loaded = save.started.file;
                    save.expected = {loaded.path == save.path ? loaded : Loaded{.path = save.path}};
                }
                // What Save writes, the next start shows editable.
                const QByteArray bytes = encodeNotesFile(save.text);
                if (bytes.size() > largestNotesFile)
                    throw UserError(QStringLiteral("the notes come to %1, more than the pad takes (%2). Shorten them "
                                                   "and save again")
                                        .arg(sizeText(bytes.size(), 1), sizeText(largestNotesFile, 0)));
                for (const QStringView line : QStringView(save.text).tokenize(u'\n'))
                    if (line.size() > longestLine)
                        throw UserError(QStringLiteral("they hold a line of %1 characters, longer than the pad edits "
                                                       "(%2). Break it into shorter lines and save again")
                                            .arg(QLocale().toString(line.size()), QLocale().toString(longestLine)));
                if (save.path == save.paths.own) files::openFolder(QFileInfo(save.path).path(), true);
                save.result = writeNotes(save.path, bytes, save.expected, save.text == save.started.text);
                if (save.result.written) setUnseen(std::nullopt);
            } catch (const std::exception& failure) {  // out of memory too: nothing may escape the thread
                save.failure = QString::fromStdString(failure.what());
            }
            backOnMainThread([save = std::move(save)]() mutable { written(std::move(save)); });
        },
        true);
}

void written(Save save) {
    saving = false;
    // The window whose pad was saved; after a rebuild, the new main window
    // when it took the pad's text along, not one that loaded the file afresh
    // (one a rebuild unloaded is gone, though its open notice may keep it).
    NotesPad* now = NotesPad::current();
    if (!now) return;  // the program is ending: the text is kept at its end
    setUnseen(std::nullopt);
    NotesPad* pad = save.origin == now || sameAtPath(now->state().file, save.started.file) ? now : nullptr;
    runHandler(now->window(), [&] {
        if (!save.failure.isEmpty())
            throw UserError(QStringLiteral("Could not save the notes to %1: %2").arg(save.path, save.failure));
        if (!pad && !save.result.written)
            throw UserError(QStringLiteral("Nothing was saved to %1: another program, or another copy of Agelark, "
                                           "had changed it. The pad shows what the file holds now.").arg(save.path));
        if (!pad) return;  // the new window read the file after this save, and shows what it holds
        if (save.result.written) {
            pad->state().file = save.result.now;
            pad->state().text = save.text;
            emit pad->saved();
            if (save.path == save.paths.own && save.path != save.started.file.path && !save.expected.agreed)
                showNotice(pad->window(), QStringLiteral("Your notes were saved to your own copy, %1, because the "
                                                         "notes file beside the program, %2, is not yours to change. "
                                                         "Agelark reads your notes from your copy from now on.")
                                              .arg(save.path, save.paths.beside));
            return;
        }
        const QPointer<NotesPad> asking(pad);
        // A rebuild of the main window while the question was open took the pad's text along.
        if (askUser(pad->window(), overwriteQuestion(save), {QStringLiteral("Overwrite")}) != 0 || !asking) return;
        // Exactly what the user was told of may be replaced; a change after that is asked about again.
        save.expected = {save.result.now, true};
        save.origin = asking;
        startSaving(std::move(save));
    });
}

}  // namespace

bool notesSaveUnderWay() { return saving; }

void saveNotes(NotesPad* pad) {
    const PadState& state = pad->state();
    if (state.phase == PadPhase::Loading)
        throw UserError(QStringLiteral("The notes are still being loaded into the pad. "
                                       "Save again once they are there; nothing was saved."));
    if (state.phase == PadPhase::ReadOnly)
        throw UserError(QStringLiteral("Nothing was saved: the pad shows the notes of %1 read-only, because %2. "
                                       "The file is unchanged.")
                            .arg(state.file.path, state.file.kind == AtPath::TooBig
                                                      ? QStringLiteral("the file is too big for the pad")
                                                      : QStringLiteral("some lines are too long to edit here")));
    if (saving)
        throw UserError(QStringLiteral("The notes are still being written by the last Save. "
                                       "Save again once \"Working...\" shows to save what you typed since."));
    // The pad's text is taken now; the writing goes on beside the window,
    // which takes typing meanwhile. The file is complete on disk before the
    // animation starts, so the confirmation never comes ahead of the data.
    startSaving({.paths = notesPaths(), .text = pad->text(), .started = state, .origin = pad});
}

}  // namespace agelark
