#pragma once
// The notes file is read and written on a thread of its own, so that the
// window goes on answering however big the file is. The work runs one job at
// a time, in the order it was asked for: a load asked for after a save reads
// what that save wrote. Jobs touch no widget; what they find goes back to the
// main thread's event loop.

#include <functional>

namespace agelark {

// Runs `job` on the notes thread, after every job asked for before it. A job
// must not throw.
void startNotesWork(std::function<void()> job);

// From a job: runs `then` on the main thread, from its event loop.
void backOnMainThread(std::function<void()> then);

// Waits until every job asked for so far has ended. What they sent back to
// the main thread still comes through its event loop. The program waits so
// at its end, so that a save under way is finished before it goes.
void waitForNotesWork();

// Whether the program is ending: a job that waits on the main thread gives up.
bool notesWorkEnding();

}  // namespace agelark
