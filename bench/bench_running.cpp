// What the running program costs: the processor time it uses per second of
// wall time with a counter running in each of its six groups, the custom
// count-up and the clock (eight 100 ms timers), against a bare Qt window with
// one 100 ms timer that writes the time into a label, measured in the same run.
//
// Each side runs in a fresh process: this executable starts itself with
// "program" or "bare"; the child sets its window up, settles for a second,
// then runs its event loop for the measured span and prints the process CPU
// time used, the wall time and the number of timer ticks it saw. The two
// sides take turns, `runs` times, and the medians are compared.
// The windows are shown on the session's display when there is one, else
// offscreen (see bench_display.h).
//   bench_running [--seconds=N] [--runs=N]   (default 10 s, 3 runs; other arguments are ignored)

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <vector>

#include "bench/bench_display.h"

#include "platform/controls.h"
#include "platform/platform.h"
#include "platform/windows.h"
#include "ui/app.h"

namespace {

double clockMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void runEventLoopFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Counts every tick of the window's timers, so the figures show the counters really ran.
void countTicks(QWidget* window, long* ticks) {
    for (QTimer* timer : window->findChildren<QTimer*>())
        QObject::connect(timer, &QTimer::timeout, [ticks] { ++*ticks; });
}

void click(const char* window, const char* button) {
    agelark::control<QAbstractButton>(agelark::windows().get(window), button)->click();
}

int child(int argc, char** argv, bool program, int seconds) {
    QApplication app(argc, argv);
    long ticks = 0;
    QWidget bare;
    QLabel clockLabel(&bare);
    QTimer timer;

    if (program) {
        agelark::Platform p;
        p.appFolder = QStringLiteral(AGELARK_BUILT_APP_DIR);
        agelark::install(p);
        agelark::startProgram();  // the clock starts with the main window
        // One console in each of the five pages and on the handheld window, and the custom count-up.
        for (const char* button : {"cmdCommand7800", "cmdNES", "cmdGen", "cmdPS2", "cmdXBOX", "cmdHandheld"})
            click("Form1", button);
        click("Form2", "cmdGBA");
        agelark::control<QLineEdit>(agelark::windows().get("Form1"), "txtCusThen")->setText("01/01/2015");
        click("Form1", "cmdCustom");
        countTicks(agelark::windows().get("Form1"), &ticks);
        countTicks(agelark::windows().get("Form2"), &ticks);
    } else {
        bare.resize(377, 297);
        clockLabel.setGeometry(10, 10, 200, 20);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            clockLabel.setText(QTime::currentTime().toString());
            ++ticks;
        });
        timer.start(100);
        bare.show();
    }

    runEventLoopFor(1000);  // settle: first paints, first ticks
    ticks = 0;
    const double cpu0 = clockMs(CLOCK_PROCESS_CPUTIME_ID), wall0 = clockMs(CLOCK_MONOTONIC);
    runEventLoopFor(seconds * 1000);
    const double cpu = clockMs(CLOCK_PROCESS_CPUTIME_ID) - cpu0, wall = clockMs(CLOCK_MONOTONIC) - wall0;
    std::printf("%.3f %.3f %ld\n", cpu, wall, ticks);
    return 0;
}

struct Sample {
    double cpuMs, wallMs;
    long ticks;
    double percentOfCore() const { return 100.0 * cpuMs / wallMs; }
};

Sample sample(const QString& self, const char* mode, int seconds) {
    QProcess process;
    process.start(self, {QString::fromLatin1(mode), QStringLiteral("--seconds=%1").arg(seconds)});
    process.waitForFinished(-1);
    Sample s{};
    if (std::sscanf(process.readAllStandardOutput().constData(), "%lf %lf %ld", &s.cpuMs, &s.wallMs, &s.ticks) != 3) {
        std::fprintf(stderr, "bench_running: the %s child reported nothing\n", mode);
        std::exit(1);
    }
    return s;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// "0.452% (0.431-0.470)": the median of the runs and their spread.
void printSide(const char* what, const std::vector<Sample>& samples) {
    std::vector<double> percent, cpu;
    long ticks = 0;
    for (const Sample& s : samples) percent.push_back(s.percentOfCore()), cpu.push_back(s.cpuMs), ticks += s.ticks;
    std::printf("  %-40s %6.3f%% of one core (runs %.3f-%.3f; %.1f ms CPU; %ld ticks a run)\n", what, median(percent),
                *std::min_element(percent.begin(), percent.end()), *std::max_element(percent.begin(), percent.end()),
                median(cpu), ticks / long(samples.size()));
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = 10, runs = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg.starts_with("--seconds=")) seconds = std::max(1, std::atoi(argv[i] + 10));
        if (arg.starts_with("--runs=")) runs = std::max(1, std::atoi(argv[i] + 7));
    }
    const QString display = bench::chooseDisplay();
    if (argc > 1 && (std::string_view(argv[1]) == "program" || std::string_view(argv[1]) == "bare"))
        return child(argc, argv, std::string_view(argv[1]) == "program", seconds);

    const QString self = QString::fromLocal8Bit(argv[0]);
    std::vector<Sample> bare, program;
    std::vector<double> ratios;
    for (int i = 0; i < runs; ++i) {  // taking turns, so both sides see the same machine
        bare.push_back(sample(self, "bare", seconds));
        program.push_back(sample(self, "program", seconds));
        ratios.push_back(program.back().percentOfCore() / bare.back().percentOfCore());
    }
    bench::printDisplay(display);
    std::printf("CPU time per wall second over %d s, median of %d runs:\n", seconds, runs);
    printSide("bare window, one 100 ms timer:", bare);
    printSide("program, eight 100 ms timers running:", program);
    std::vector<double> programPercent;
    for (const Sample& s : program) programPercent.push_back(s.percentOfCore());
    const double ratio = median(ratios), percent = median(programPercent);
    std::printf("  ratio program / bare: %.2f (runs %.2f-%.2f)\n", ratio,
                *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()));
    std::printf("  goals: program <= 0.6%% of one core: %s; ratio <= 3: %s (stretch <= 2: %s)\n",
                percent <= 0.6 ? "met" : "NOT met", ratio <= 3 ? "met" : "NOT met", ratio <= 2 ? "met" : "not met");
    return 0;
}
