#include "notes/notes_worker.h"

#include <QCoreApplication>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace agelark {

namespace {

// One thread that drains the queue and ends when it is empty; the next job
// starts a new one. The program's end lets go of one stuck in a file system
// that does not answer.
struct Worker {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::pair<std::function<void()>, bool>> jobs;
    bool running = false;
    int saves = 0;  // asked for and not ended
    bool ending = false;
    std::thread thread;  // the last one started
    std::function<void()> last;
};

// Never destroyed: a job may still be stuck in the file system as the process exits.
Worker& worker() {
    static Worker* const instance = new Worker;
    return *instance;
}

// The application's end (post routines run while the application object still
// stands) lets a save under way finish on a disk that answers.
void endNotesWork() {
    Worker& w = worker();
    std::unique_lock lock(w.mutex);
    w.changed.wait_for(lock, std::chrono::seconds(5), [&] { return w.saves == 0; });
    w.ending = true;
    if (w.thread.joinable()) w.running ? w.thread.detach() : w.thread.join();
    const auto last = std::move(w.last);
    lock.unlock();
    if (last) last();
}

void runJobs() {
    Worker& w = worker();
    std::unique_lock lock(w.mutex);
    while (!w.jobs.empty()) {
        auto [job, save] = std::move(w.jobs.front());
        w.jobs.pop_front();
        lock.unlock();
        job();
        lock.lock();
        if (save) --w.saves;
        w.changed.notify_all();
    }
    w.running = false;
    w.changed.notify_all();
}

}  // namespace

void startNotesWork(std::function<void()> job, bool save) {
    Worker& w = worker();
    const std::lock_guard lock(w.mutex);
    static const bool once = (qAddPostRoutine(endNotesWork), true);
    Q_UNUSED(once);
    w.jobs.emplace_back(std::move(job), save);
    if (save) ++w.saves;
    if (w.running) return;
    // A thread that ran before has left its loop already: joining it is immediate.
    if (w.thread.joinable()) w.thread.join();
    w.running = true;
    w.thread = std::thread(runJobs);
}

void backOnMainThread(std::function<void()> then) {
    Worker& w = worker();
    // Under the lock, so that nothing is posted to an application that has begun to go.
    const std::lock_guard lock(w.mutex);
    if (!w.ending) QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(then), Qt::QueuedConnection);
}

void whenNotesEnd(std::function<void()> last) {
    Worker& w = worker();
    const std::lock_guard lock(w.mutex);
    w.last = std::move(last);
}

bool notesWorkPending() {
    Worker& w = worker();
    const std::lock_guard lock(w.mutex);
    return w.running;
}

}  // namespace agelark
