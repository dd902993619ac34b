#include "notes/notes_load.h"

#include <QPlainTextEdit>
#include <QPointer>

#include "notes/notes_location.h"
#include "notes/notes_pad.h"
#include "notes/notes_text.h"
#include "notes/pad_fill.h"
#include "notes/page_view.h"
#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/windows.h"

namespace agelark {

namespace {


// The view of the main window that is loaded now, when the notification is about
// the notes document the pad waits for; else none.
PageView* notesView(FormWindow* form1, QObject* frame, const QString& address) {
    auto view = qobject_cast<PageView*>(frame);
    if (!view || view->container() != form1 || windows().loadedWindow("Form1") != form1) return nullptr;
    const PadState& state = padState(form1);
    // Compared as text: a folder named with '#', '?', '*' or '[' is still the notes' folder.
    if (state.phase != PadPhase::Loading || address != state.loadingFrom) return nullptr;
    return view;
}

}  // namespace

void loadNotes(FormWindow* form1) {
    PadState& state = padState(form1);
    state.phase = PadPhase::Loading;
    state.loadingFrom = notesFiles().read;
    notesPad(form1)->setReadOnly(true);
    control<PageView>(form1, "WebBrowser1")->navigate(state.loadingFrom);
}

void WebBrowser1_NavigateComplete2(FormWindow* form1, QObject* frame, const QString& address) {
    PageView* view = notesView(form1, frame, address);
    if (!view) return;
    // The pad takes the document's parts as they come, and remembers which
    // version of the file it holds once it holds all of it.
    const QPointer<PageView> source(view);
    fillPad(form1, view->expectedSize(),
            {[source]() -> std::optional<QString> {
                 if (!source) return std::nullopt;
                 std::optional<QString> markup = source->takeBodyMarkup();
                 if (markup) return padTextFromBodyMarkup(std::move(*markup));
                 return std::nullopt;
             },
             [source] { return !source || source->allTaken(); }},
            [form1, source, address] {
                if (!source) return;
                padState(form1).record = {NotesRecord::Kind::Loaded, address, source->fileStamp()};
                source->clear();
            });
}

void WebBrowser1_NavigateError(FormWindow* form1, QObject* frame, const QString& address, bool notFound,
                               const QString& reason) {
    if (!notesView(form1, frame, address)) return;
    // A reading that failed on the way: what came of the file goes again.
    stopFillingPad(form1);
    PadState& state = padState(form1);
    state.record = {notFound ? NotesRecord::Kind::Missing : NotesRecord::Kind::Unreadable, address, {}};
    state.phase = PadPhase::Editing;
    notesPad(form1)->setReadOnly(false);
    if (notFound) return;  // no notes yet: the pad's first text stands
    throw UserError(QStringLiteral("Could not read the notes from %1: %2.\n\n"
                                   "The file is left as it is: Save will not replace it without asking you first.")
                        .arg(address, reason));
}

KeptNotes keptNotes(FormWindow* oldForm1) {
    const PadState& state = padState(oldForm1);
    if (state.phase != PadPhase::Editing) return {};
    return {padText(oldForm1), state.record, true};
}

void keepPadText(FormWindow* form1, const KeptNotes& kept) {
    if (!kept.whole) return;
    control<PageView>(form1, "WebBrowser1")->stop();
    PadState& state = padState(form1);
    state.record = kept.record;
    state.loadingFrom.clear();
    fillPad(form1, kept.text.size(), wholeText(kept.text));
}

}  // namespace agelark
