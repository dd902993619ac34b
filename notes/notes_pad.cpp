#include "notes/notes_pad.h"

#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextDocument>

#include "notes/notes_text.h"
#include "notes/notes_worker.h"
#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/windows.h"

namespace agelark {

namespace {

// A line longer than this would take the pad's layout seconds or minutes to wrap.
constexpr qsizetype longestLine = 10 * 1000;

// `text` with each line longer than longestLine broken into pieces of that length.
QString inPieces(const QString& text) {
    QString pieces;  // empty until the first piece
    qsizetype line = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool lineBreak = c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
        line = lineBreak ? 0 : line + 1;
        if (line > longestLine) {
            if (pieces.isEmpty()) pieces = text.first(i);
            pieces += u'\n';
            line = 1;
        }
        if (!pieces.isEmpty()) pieces += c;
    }
    return pieces.isEmpty() ? text : pieces;
}

struct StateHolder : QObject {
    using QObject::QObject;
    PadState state;
};

QString whyUnread(const Loaded& at) {
    switch (at.kind) {
    case AtPath::LinkNotYours:
        return QStringLiteral("it is a link, made by %1, to %2; Agelark follows only links of your own or the system's")
            .arg(at.linkOwner, at.leadsTo);
    case AtPath::DanglingLink: return QStringLiteral("it links to %1, which does not exist").arg(at.leadsTo);
    default: return at.reason;
    }
}

// The text of a file read: the pad's text, and that text broken into pieces when lines are too long.
void fillPad(FormWindow* form1, const Loaded& found, const QString& text, const QString& shown) {
    PadState& state = padState(form1);
    QPlainTextEdit* pad = notesPad(form1);
    state.file = found;
    state.phase = PadPhase::Editing;
    pad->setReadOnly(false);
    if (found.kind == AtPath::File) pad->setPlainText(shown);
    state.text = padText(form1);
    if (found.kind == AtPath::Missing) return;  // no notes yet: the pad's first text stands
    if (found.kind == AtPath::File && shown.size() == text.size()) return;
    if (found.kind == AtPath::File || found.kind == AtPath::TooBig) {
        state.phase = PadPhase::ReadOnly;
        pad->setReadOnly(true);
    }
    if (found.kind == AtPath::File)
        throw UserError(QStringLiteral("Some lines of the notes in %1 are longer than %2 characters, too long for "
                                       "the pad to edit. The pad shows them broken into pieces and is read-only, so "
                                       "that saving cannot change them. Edit the file with a text editor.")
                            .arg(found.path, QLocale().toString(longestLine)));
    if (found.kind == AtPath::TooBig) {
        const QString told = QStringLiteral("The notes file %1 holds %2, more than the pad takes (%3). Open it "
                                            "in a text editor: Agelark leaves it as it is and does not save over it.")
                                 .arg(found.path, QLocale().formattedDataSize(found.size, 1, QLocale::DataSizeSIFormat),
                                      QLocale().formattedDataSize(largestNotesFile, 0, QLocale::DataSizeSIFormat));
        pad->clear();
        pad->setPlaceholderText(told);
        throw UserError(told);
    }
    const QString told = QStringLiteral("Could not read the notes from %1: %2.").arg(found.path, whyUnread(found));
    if (found.kind == AtPath::DanglingLink) throw UserError(told + QStringLiteral(" Save makes it."));
    throw UserError(told + QStringLiteral("\n\nThe file is left as it is: Save will not replace it without asking you first."));
}

}  // namespace

QPlainTextEdit* notesPad(FormWindow* form1) { return control<QPlainTextEdit>(form1, "txtNotes"); }

QString padText(FormWindow* form1) {
    // The raw text separates blocks with U+2029 and marks a line break inside a
    // block with U+2028; toPlainText would also turn no-break spaces into spaces.
    QString text = notesPad(form1)->document()->toRawText();
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = u'\n';
    return text;
}

PadState& padState(FormWindow* form1) {
    QPlainTextEdit* pad = notesPad(form1);
    for (QObject* child : pad->children())
        if (auto holder = dynamic_cast<StateHolder*>(child)) return holder->state;
    return (new StateHolder(pad))->state;
}

void loadNotes(FormWindow* form1) {
    PadState& state = padState(form1);
    state.phase = PadPhase::Loading;
    notesPad(form1)->setReadOnly(true);
    const QPointer<FormWindow> window(form1);
    startNotesWork([window, load = ++state.load, paths = notesPaths()] {
        Loaded found = readNotes(notesToRead(paths));
        QString text = decodeNotesFile(found.bytes);
        QString shown = inPieces(text);
        backOnMainThread([=] {
            if (window && padState(window).load == load) runHandler(window, [&] { fillPad(window, found, text, shown); });
        });
    });
}

KeptNotes keptNotes(FormWindow* oldForm1) {
    const PadState& state = padState(oldForm1);
    if (state.phase != PadPhase::Editing) return {};
    return {state, padText(oldForm1), true};
}

void keepPadText(FormWindow* form1, const KeptNotes& kept) {
    if (!kept.kept) return;
    PadState& state = padState(form1);
    const int load = state.load + 1;
    state = kept.state;
    state.load = load;
    notesPad(form1)->setPlainText(kept.text);
    notesPad(form1)->setReadOnly(false);
}

}  // namespace agelark
