#include "notes/notes_pad.h"

#include <QLocale>
#include <QPointer>
#include <QTextDocument>

#include "notes/notes_text.h"
#include "notes/notes_worker.h"
#include "platform/errors.h"

namespace agelark {

namespace {

// `text` with each line longer than longestLine broken into pieces of that length.
QString inPieces(const QString& text) {
    QString pieces;
    qsizetype line = 0;
    for (const QChar c : text) {
        const bool lineBreak = c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
        line = lineBreak ? 0 : line + 1;
        if (line > longestLine) {
            pieces += u'\n';
            line = 1;
        }
        pieces += c;
    }
    return pieces;
}

QPointer<NotesPad> newest;

}  // namespace

NotesPad::NotesPad(QWidget* parent) : QPlainTextEdit(parent) { newest = this; }

NotesPad* NotesPad::current() { return newest; }

// Puts what was found at the notes path into the pad: `shown` is the file's
// text, broken into pieces where lines are too long (`inPieces`). The
// recovery copies `kept` are told of, with what the file needs told.
void NotesPad::fill(const Loaded& found, const QString& shown, bool inPieces, const QStringList& kept) {
    const bool readOnly = inPieces || found.kind == AtPath::TooBig;
    if (found.kind == AtPath::File) setPlainText(shown);
    if (found.kind == AtPath::TooBig) clear();
    state_ = {readOnly ? PadPhase::ReadOnly : PadPhase::Editing, found, text(), state_.load};
    setReadOnly(readOnly);
    QString told;  // no file leaves the pad's first text, without a word
    if (inPieces)
        told = QStringLiteral("Some lines of the notes in %1 are longer than %2 characters, too long for the pad to "
                              "edit. The pad shows them broken into pieces and is read-only, so that saving cannot "
                              "change them. Edit the file with a text editor.")
                   .arg(found.path, QLocale().toString(longestLine));
    else if (found.kind == AtPath::TooBig)
        setPlaceholderText(told = QStringLiteral("The notes file %1 holds %2, more than the pad takes (%3). Open it in "
                                                 "a text editor: Agelark leaves it as it is and does not save over it.")
                                      .arg(found.path, sizeText(found.size, 1), sizeText(largestNotesFile, 0)));
    else if (found.kind == AtPath::DanglingLink)
        told = QStringLiteral("Could not read the notes from %1: %2. Save makes it.").arg(found.path, found.reason);
    else if (found.kind == AtPath::LinkNotYours)
        told = QStringLiteral("Could not read the notes from %1: %2.\n\nThe file is left as it is: Save will not "
                              "replace it without asking you first.").arg(found.path, found.reason);
    else if (found.kind == AtPath::Unreadable)
        told = QStringLiteral("Could not read the notes from %1: %2.\n\nSave cannot write over it while it is so; it "
                              "is left as it is.").arg(found.path, found.reason);
    if (!kept.isEmpty())
        told = QStringLiteral("Notes that Agelark could not save as it ended are kept in %1. Take from there what you "
                              "need; Agelark tells you of them at each start until they are deleted.%2")
                   .arg(kept.join(QStringLiteral(", ")), told.isEmpty() ? QString() : "\n\n" + told);
    if (!told.isEmpty()) throw UserError(told);
}

QString NotesPad::text() const {
    // The raw text separates blocks with U+2029 and marks a line break inside a
    // block with U+2028; toPlainText would also turn no-break spaces into spaces.
    QString text = document()->toRawText();
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = u'\n';
    return text;
}

void NotesPad::load() {
    state_.phase = PadPhase::Loading;
    setReadOnly(true);
    const QPointer<NotesPad> pad(this);
    startNotesWork([pad, load = ++state_.load, paths = notesPaths()] {
        const QStringList kept = tidyNotesFolders(paths);
        const Loaded found = readNotes(notesToRead(paths));
        const QString text = decodeNotesFile(found.bytes), shown = inPieces(text);
        backOnMainThread([=, pieces = shown.size() != text.size()] {
            if (pad && pad->state_.load == load)
                runHandler(pad->window(), [&] { pad->fill(found, shown, pieces, kept); });
        });
    });
}

KeptNotes NotesPad::kept() const {
    return state_.phase == PadPhase::Editing ? KeptNotes{state_, text(), true} : KeptNotes{};
}

void NotesPad::keep(const KeptNotes& kept) {
    if (!kept.kept) return;
    state_ = {kept.state.phase, kept.state.file, kept.state.text, state_.load + 1};
    setPlainText(kept.text);
    setReadOnly(false);
}

}  // namespace agelark
