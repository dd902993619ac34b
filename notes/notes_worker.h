#pragma once
// The notes file is read and written on a thread of its own, so that neither
// a big file nor a file system that does not answer holds up the window. The
// work runs one job at a time, in the order it was asked for: a load asked
// for after a save reads what that save wrote. Jobs touch no widget; what they
// find goes back to the main thread's event loop.

#include <functional>

namespace agelark {

// Runs `job` on the notes thread, after every job asked for before it. A job
// must not throw. The end of the program waits a few seconds at most for the
// jobs that are `saves` to end, and never for a load.
void startNotesWork(std::function<void()> job, bool save = false);

// From a job: runs `then` on the main thread, from its event loop; nothing
// once the program is ending.
void backOnMainThread(std::function<void()> then);

// Runs `last` once at the program's end, after the wait for saves, on the main thread.
void whenNotesEnd(std::function<void()> last);

}  // namespace agelark
