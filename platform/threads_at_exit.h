#pragma once
// The leak checker of a sanitized build runs as the process exits. It stops
// every thread to read its stack, and fails outright when it meets one half way
// through ending.

namespace agelark {

// In a sanitized build, makes the process's exit wait (a moment at most) until
// every other thread has ended, so that the leak check finds only this one.
// Does nothing in other builds. Call first in main, before anything starts a
// thread: exit handlers run in the reverse order of their registration.
void letThreadsEndBeforeLeakCheck();

}  // namespace agelark
