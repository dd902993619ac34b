// Memory over a long run, which no test sees: a program that grew a little at
// every tick would, counting ten times a second for weeks, take the machine's
// memory. One counter in every group, the custom count-up and the clock tick
// TICKS times each with the fake clock 61 seconds further every time: from
// 1 September 2045 in New York, across the Atari 2600's limit (the main window
// is started over once, the 5200 counting on in its place) and the end of
// summer time. Prints the resident size after 1,000 ticks and at the end, and
// fails when it grew by more than 5% or the run did not go as described.
//
//   bench_long_run [TICKS]      (default 100000; about 20 s offscreen)

#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <unistd.h>

#include "engine/date_serial.h"
#include "tests/support/test_program.h"

using namespace agelark;
using namespace agelark::testing;

namespace {

// Resident size of what the process holds: freed heap that the allocator keeps
// for reuse is handed back first, so a one-time peak (two main windows alive
// at once during the rebuild) does not read as growth.
long residentKb() {
    malloc_trim(0);
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The wall clock of a New York desk at a moment given as UTC seconds.
CivilDateTime wallClockAt(qint64 utcSeconds) {
    const QDateTime t = QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::LocalTime);
    return {t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute(), t.time().second()};
}

struct Run {
    TestProgram& program;

    void select(const char* atariButton) {
        for (const char* button : {atariButton, "cmdSNES", "cmdMS", "cmdPS2", "cmdSX"}) program.click("Form1", button);
        program.click("Form2", "cmdGBM");
        program.find<QLineEdit>("Form1", "txtCusThen")->setText("01/01/2000 22:00:00");
        program.click("Form1", "cmdCustom");
    }

    // One beat of each window, then the event loop, where a rebuild a beat asked for happens.
    void tick() {
        program.tick("Form1");
        program.tick("Form2");
        QCoreApplication::processEvents();
    }
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("TZ", "America/New_York");
    tzset();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 100000;
    constexpr int step = 61;

    TestProgram program;
    qint64 utc = QDateTime(QDate(2045, 9, 1), QTime(4, 0), Qt::UTC).toSecsSinceEpoch();
    program.clock.set(wallClockAt(utc));
    program.start();
    program.openHandheld();
    Run run{program};
    run.select("cmdCommand2600");

    long afterWarmUp = 0;
    bool summerTimeEnded = false;
    for (int i = 1; i <= ticks; ++i) {
        utc += step;
        const CivilDateTime wall = wallClockAt(utc);
        // The wall clock went on by less than the step: it was put back.
        summerTimeEnded = summerTimeEnded || dateSerial(wall) < dateSerial(program.clock.now()) + (step - 1) / 86400.0;
        program.clock.set(wall);
        const qsizetype told = program.messages.shown.size();
        run.tick();
        if (program.messages.shown.size() != told) {  // the 2600's limit: the window starts over
            program.processEvents();
            run.select("cmdCommand5200");
            run.tick();
        }
        if (i % 500 == 0) program.processEvents();
        if (i == 1000) afterWarmUp = residentKb();
    }
    program.processEvents();
    const long atEnd = residentKb();
    const bool asDescribed = ticks < 50000 || (program.messages.shown.size() == 1 && summerTimeEnded);
    std::printf("resident size after 1,000 ticks: %ld KiB; after %d: %ld KiB (%+.1f%%)%s\n", afterWarmUp, ticks, atEnd,
                afterWarmUp ? 100.0 * (atEnd - afterWarmUp) / afterWarmUp : 0.0,
                asDescribed ? "" : "; the run did not pass the 2600's limit and the end of summer time once each");
    return asDescribed && atEnd <= afterWarmUp * 105 / 100 ? 0 : 1;
}
