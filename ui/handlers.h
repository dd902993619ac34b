#pragma once
// Every event handler of a window is reached by its name, "<control>_<event>":
// "cmdPS2_Click", "Timer6_Timer", "cmdQAV3_Click". The 37 console buttons and
// timers share one click and one tick procedure, entered here under the names
// of their own buttons and timers.

#include <QHash>
#include <QString>
#include <functional>

namespace agelark {

class FormWindow;

using Handler = std::function<void(FormWindow*)>;

// The handlers of the window `windowName` ("Form1", "Form2", "Saved").
const QHash<QString, Handler>& handlersOf(const QString& windowName);

// Connects each button's clicks and each timer's ticks of `window` to the
// handler of that name; members of a control array ("cmdQAV3_1") share the
// array's handler. Every handler runs inside the failure boundary.
void wireHandlers(FormWindow* window);

// Runs a handler as its event would, through the same boundary: for tests and
// for code that acts as the user.
void invokeHandler(const QString& windowName, const QString& handlerName);

}  // namespace agelark
