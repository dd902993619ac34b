#pragma once
// Loading the notes file into the pad through the page view, at every load of
// the main window.

#include <QString>

#include "notes/pad_state.h"

class QObject;

namespace agelark {

class FormWindow;

// From the main window's load handler: the pad turns read-only and the page
// view starts reading the notes file (see notesFiles()).
void loadNotes(FormWindow* form1);

// The page view's notification on the main window that the notes document
// has begun to come: its text, exactly as saved, replaces the pad's text as it
// comes, and once it is all in, the pad remembers which version of the file
// it holds.
void WebBrowser1_NavigateComplete2(FormWindow* form1, QObject* frame, const QString& address);

// The page view's navigation error on the main window: with no notes file the
// pad keeps its first text; an unreadable one is reported, and the pad
// remembers it was not read, so that Save asks before replacing it. A file
// that fails on the way leaves the pad empty, none of it kept.
void WebBrowser1_NavigateError(FormWindow* form1, QObject* frame, const QString& address, bool notFound,
                               const QString& reason);

// What a rebuild of the main window keeps of its pad: the text and what the
// pad knows of the file, when it holds the whole of it. While a load is still
// going, or the pad is read-only, the user cannot have typed anything, and
// the new window loads the file afresh instead.
struct KeptNotes {
    QString text;
    NotesRecord record;
    bool whole = false;
};
KeptNotes keptNotes(FormWindow* oldForm1);

// After a rebuild that must not lose unsaved notes: the new window's pad gets
// what `kept` holds and the pending load of the notes file is cancelled.
void keepPadText(FormWindow* form1, const KeptNotes& kept);

}  // namespace agelark
