#include "platform/threads_at_exit.h"

#if defined(__SANITIZE_ADDRESS__)
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <thread>
#endif

namespace agelark {

#if defined(__SANITIZE_ADDRESS__)
namespace {

long threadsOfThisProcess() {
    std::error_code error;
    const std::filesystem::directory_iterator tasks("/proc/self/task", error);
    return error ? 1 : std::distance(begin(tasks), end(tasks));
}

// Qt's threads run detached: the owner's wait() returns when the thread's work
// is done, while the thread itself is still on its way out (the bus connection's
// thread ends so, in the last static destructors).
void waitForOtherThreads() {
    using namespace std::chrono_literals;
    const auto giveUp = std::chrono::steady_clock::now() + 2s;
    while (threadsOfThisProcess() > 1 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(1ms);
}

}  // namespace

void letThreadsEndBeforeLeakCheck() { std::atexit(waitForOtherThreads); }
#else
void letThreadsEndBeforeLeakCheck() {}
#endif

}  // namespace agelark
