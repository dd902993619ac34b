#pragma once
// Ending the program when the system asks it to (a session logging out, a
// service manager, Ctrl+C in a terminal): as when the user closes every window.

namespace agelark {

// From now on SIGTERM, SIGINT and SIGHUP unload every window from the event
// loop, so the program ends as a close box would end it, tidied up, with exit
// status 0. Call once the application object exists.
void endOnTerminationSignals();

}  // namespace agelark
