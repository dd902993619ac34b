#include "notes/notes_worker.h"

#include <QCoreApplication>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace agelark {

namespace {

// One thread that drains the queue and ends when it is empty; the next job
// starts a new one. No thread is kept waiting, so a forked child (the tests')
// starts with none that it would wait on in vain.
struct Worker {
    std::mutex mutex;
    std::condition_variable idle;
    std::deque<std::function<void()>> jobs;
    bool running = false;
    std::thread thread;
};

std::atomic<bool> ending = false;

// The application's end waits for a save under way (post routines run while
// the application object still stands); a load still reading gives up.
void endNotesWork() {
    ending = true;
    waitForNotesWork();
}

Worker& worker() {
    static Worker* const instance = [] {
        qAddPostRoutine(endNotesWork);
        return new Worker;  // never destroyed: a job may still be ending as the process exits
    }();
    return *instance;
}

void runJobs() {
    Worker& w = worker();
    for (;;) {
        std::function<void()> job;
        {
            const std::lock_guard lock(w.mutex);
            if (w.jobs.empty()) {
                w.running = false;
                w.idle.notify_all();
                return;
            }
            job = std::move(w.jobs.front());
            w.jobs.pop_front();
        }
        job();
    }
}

}  // namespace

void startNotesWork(std::function<void()> job) {
    Worker& w = worker();
    const std::lock_guard lock(w.mutex);
    w.jobs.push_back(std::move(job));
    if (w.running) return;
    // A thread that ran before has left its loop already: joining it is immediate.
    if (w.thread.joinable()) w.thread.join();
    w.running = true;
    w.thread = std::thread(runJobs);
}

void backOnMainThread(std::function<void()> then) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(then), Qt::QueuedConnection);
}

bool notesWorkEnding() { return ending; }

void waitForNotesWork() {
    Worker& w = worker();
    std::unique_lock lock(w.mutex);
    w.idle.wait(lock, [&] { return !w.running; });
    if (w.thread.joinable()) w.thread.join();
}

}  // namespace agelark
