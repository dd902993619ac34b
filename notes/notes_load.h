#pragma once
// Loading the notes file into the pad through the page view, at every load of
// the main window.

#include <QString>

class QObject;

namespace agelark {

class FormWindow;

// The page view's document-complete notification on the main window: the
// notes document's text, exactly as saved, replaces the pad's text.
void WebBrowser1_DocumentComplete(FormWindow* form1, QObject* frame, const QString& address);

// After a rebuild that must not lose unsaved notes: the pad gets `text` (as
// padText() read it before the rebuild) and the pending load of the notes
// file is cancelled.
void keepPadText(FormWindow* form1, const QString& text);

}  // namespace agelark
