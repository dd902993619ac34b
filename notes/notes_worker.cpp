#include "notes/notes_worker.h"

#include <QCoreApplication>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace agelark {

namespace {

// Each job runs on a thread of its own that first waits for the one before to
// end. The program's end lets go of one stuck in a file system that does not
// answer.
struct Worker {
    std::mutex mutex;
    std::condition_variable changed;
    int jobs = 0, saves = 0;  // asked for and not ended
    bool ending = false;
    std::thread newest;  // the thread of the job asked for last
    std::function<void()> last;
};

// Never destroyed: a job may still be stuck in the file system as the process exits.
Worker& work = *new Worker;

// The application's end (post routines run while the application object still
// stands) lets a save under way finish on a disk that answers.
void endNotesWork() {
    std::unique_lock lock(work.mutex);
    work.changed.wait_for(lock, std::chrono::seconds(5), [] { return work.saves == 0; });
    work.ending = true;
    if (work.newest.joinable()) work.jobs ? work.newest.detach() : work.newest.join();
    const auto last = std::move(work.last);
    lock.unlock();
    if (last) last();
}

}  // namespace

void startNotesWork(std::function<void()> job, bool save) {
    const std::lock_guard lock(work.mutex);
    [[maybe_unused]] static const bool once = (qAddPostRoutine(endNotesWork), true);
    ++work.jobs;
    work.saves += save;
    work.newest = std::thread([before = std::move(work.newest), job = std::move(job), save]() mutable {
        if (before.joinable()) before.join();
        job();
        const std::lock_guard lock(work.mutex);
        --work.jobs;
        work.saves -= save;
        work.changed.notify_all();
    });
}

void backOnMainThread(std::function<void()> then) {
    // Under the lock, so that nothing is posted to an application that has begun to go.
    const std::lock_guard lock(work.mutex);
    if (!work.ending) QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(then), Qt::QueuedConnection);
}

void whenNotesEnd(std::function<void()> last) {
    const std::lock_guard lock(work.mutex);
    work.last = std::move(last);
}

}  // namespace agelark
