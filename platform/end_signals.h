#pragma once
// Ending the program when the system asks it to (a session logging out, a
// service manager, Ctrl+C in a terminal): as when the user closes every window.

#include <functional>

namespace agelark {

// From now on SIGTERM, SIGINT and SIGHUP run `end` from the event loop, once
// no message box is open (an open one is closed as its OK would close it),
// so the program ends as closing its windows would end it, tidied up, with
// exit status 0. Call once the application object exists.
void endOnTerminationSignals(std::function<void()> end);

}  // namespace agelark
