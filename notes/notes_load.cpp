#include "notes_load.h"

#include "controls.h"
#include "notes_pad.h"
#include "notes_text.h"
#include "page_view.h"
#include "platform.h"
#include "windows.h"

namespace agelark {

void WebBrowser1_DocumentComplete(FormWindow* form1, QObject* frame, const QString& address) {
    // Only the view's own top-level document, in the main window that is loaded now.
    auto view = qobject_cast<PageView*>(frame);
    if (!view || view->container() != form1 || windows().loadedWindow("Form1") != form1) return;
    // Compared as text: a folder named with '#', '?', '*' or '[' is still the notes' folder.
    if (address != appFilePath("\\Notes.txt")) return;

    setPadText(form1, padTextFromBodyMarkup(view->bodyMarkup()));
}

void keepPadText(FormWindow* form1, const QString& text) {
    control<PageView>(form1, "WebBrowser1")->stop();
    setPadText(form1, text);
}

}  // namespace agelark
