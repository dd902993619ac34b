// What the running program costs: the processor time it uses per second of
// wall time, and how often its main thread wakes, with a counter running in
// each of its six groups, the custom count-up and the clock (eight 100 ms
// timers), against a bare Qt window with one 100 ms timer that writes the time
// into a label, measured in the same run: both shown, and both minimised.
//
// Each side runs in a fresh process: this executable starts itself with
// "program" or "bare" (and "minimised"); the child sets its windows up, settles
// for a second, then runs its event loop for the measured span and prints the
// process CPU time used, the wall time, the times its main thread woke (its
// voluntary context switches) and the number of timer ticks it saw. The sides
// take turns, `runs` times, and the medians are compared.
// The windows are shown on the session's display when there is one, else
// offscreen (see bench_display.h). Only a window manager minimises a window:
// without one (offscreen, a bare Xvfb) the minimised sides are left out.
//   bench_running [--seconds=N] [--runs=N]   (default 10 s, 3 runs; other arguments are ignored)

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QWindow>
#include <QProcess>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_display.h"

#include "platform/platform.h"
#include "ui/handheld_window.h"
#include "ui/main_window.h"
#include "ui/program.h"

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

// The times this thread has gone to sleep and been woken (its voluntary context switches).
long wakeUps() {
    std::ifstream status("/proc/thread-self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("voluntary_ctxt_switches:")) return std::atol(line.c_str() + 24);
    return 0;
}

// Counts every tick of the window's timers, so the figures show the counters really ran.
void countTicks(QObject* window, long* ticks) {
    for (QTimer* timer : window->findChildren<QTimer*>())
        QObject::connect(timer, &QTimer::timeout, [ticks] { ++*ticks; });
}

QWidget* window(const char* name) {
    return name == std::string_view("Form1") ? static_cast<QWidget*>(agelark::mainWindow()) : agelark::handheldWindow();
}

void click(const char* name, const char* button) { window(name)->findChild<QAbstractButton*>(button)->click(); }

int child(int argc, char** argv, bool program, bool minimised, int seconds) {
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
        window("Form1")->findChild<QLineEdit*>("txtCusThen")->setText("01/01/2015");
        click("Form1", "cmdCustom");
        countTicks(qApp, &ticks);  // the windows' beat is the application's
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
    QWidgetList shown = program ? QWidgetList{window("Form1"), window("Form2")} : QWidgetList{&bare};
    bool minimisedByWindowManager = true;
    if (minimised) {
        for (QWidget* window : shown) window->showMinimized();
        runEventLoopFor(1000);
        // The window manager took them off the screen: nothing draws them any more.
        for (QWidget* window : shown) minimisedByWindowManager &= !window->windowHandle()->isExposed();

    }
    // Its clock shows that the program counted.
    const QString clockBefore = program ? shown[0]->findChild<QLabel*>("lblClock")->text() : QString();
    ticks = 0;
    const long wakeUps0 = wakeUps();
    const double cpu0 = clockMs(CLOCK_PROCESS_CPUTIME_ID), wall0 = clockMs(CLOCK_MONOTONIC);
    runEventLoopFor(seconds * 1000);
    const double cpu = clockMs(CLOCK_PROCESS_CPUTIME_ID) - cpu0, wall = clockMs(CLOCK_MONOTONIC) - wall0;
    const long woke = wakeUps() - wakeUps0;
    const bool counted = !program || shown[0]->findChild<QLabel*>("lblClock")->text() != clockBefore;
    std::printf("%.3f %.3f %ld %ld %d %d\n", cpu, wall, woke, ticks, int(counted), int(minimisedByWindowManager));
    return 0;
}

struct Sample {
    double cpuMs, wallMs;
    long wakeUps, ticks;
    int counted, minimised;
    double percentOfCore() const { return 100.0 * cpuMs / wallMs; }
    double wakeUpsPerSecond() const { return 1000.0 * double(wakeUps) / wallMs; }
};

Sample sample(const QString& self, const char* mode, bool minimised, int seconds) {
    QProcess process;
    QStringList arguments{QString::fromLatin1(mode), QStringLiteral("--seconds=%1").arg(seconds)};
    if (minimised) arguments << QStringLiteral("minimised");
    process.start(self, arguments);
    process.waitForFinished(-1);
    Sample s{};
    if (std::sscanf(process.readAllStandardOutput().constData(), "%lf %lf %ld %ld %d %d", &s.cpuMs, &s.wallMs,
                    &s.wakeUps, &s.ticks, &s.counted, &s.minimised) != 6) {
        std::fprintf(stderr, "bench_running: the %s child reported nothing\n", mode);
        std::exit(1);
    }
    if (!s.counted) {
        std::fprintf(stderr, "bench_running: the %s program did not count\n", minimised ? "minimised" : "shown");
        std::exit(1);
    }
    return s;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// "0.452% (0.431-0.470)": the median of the runs and their spread; the same for wake-ups a second.
void printSide(const char* what, const std::vector<Sample>& samples) {
    std::vector<double> percent, cpu, woke;
    long ticks = 0;
    for (const Sample& s : samples)
        percent.push_back(s.percentOfCore()), cpu.push_back(s.cpuMs), woke.push_back(s.wakeUpsPerSecond()),
            ticks += s.ticks;
    std::printf("  %-40s %6.3f%% of one core (runs %.3f-%.3f; %.1f ms CPU), %5.1f wake-ups/s (runs %.1f-%.1f); "
                "%ld timer events a run\n",
                what, median(percent), *std::min_element(percent.begin(), percent.end()),
                *std::max_element(percent.begin(), percent.end()), median(cpu), median(woke),
                *std::min_element(woke.begin(), woke.end()), *std::max_element(woke.begin(), woke.end()),
                ticks / long(samples.size()));
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
        return child(argc, argv, std::string_view(argv[1]) == "program",
                     argc > 3 && std::string_view(argv[3]) == "minimised", seconds);

    const QString self = QString::fromLocal8Bit(argv[0]);
    std::vector<Sample> bare, program, bareMinimised, programMinimised;
    std::vector<double> ratios;
    bool minimising = true;  // until a child finds no window manager to minimise its windows
    for (int i = 0; i < runs; ++i) {  // taking turns, so every side sees the same machine
        bare.push_back(sample(self, "bare", false, seconds));
        program.push_back(sample(self, "program", false, seconds));
        ratios.push_back(program.back().percentOfCore() / bare.back().percentOfCore());
        if (!minimising) continue;
        bareMinimised.push_back(sample(self, "bare", true, seconds));
        programMinimised.push_back(sample(self, "program", true, seconds));
        minimising = bareMinimised.back().minimised && programMinimised.back().minimised;
    }
    bench::printDisplay(display);
    std::printf("CPU time per wall second and wake-ups of the main thread over %d s, median of %d runs:\n", seconds,
                runs);
    printSide("bare window, one 100 ms timer:", bare);
    printSide("program, eight counts running (six consoles, the count-up, the clock):", program);
    std::vector<double> programPercent;
    for (const Sample& s : program) programPercent.push_back(s.percentOfCore());
    const double ratio = median(ratios), percent = median(programPercent);
    std::printf("  ratio program / bare: %.2f (runs %.2f-%.2f)\n", ratio,
                *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()));
    std::printf("  goals: program <= 0.6%% of one core: %s; ratio <= 1.5: %s\n", percent <= 0.6 ? "met" : "NOT met",
                ratio <= 1.5 ? "met" : "NOT met");
    if (minimising) {
        printSide("bare window minimised:", bareMinimised);
        printSide("program minimised:", programMinimised);
    } else {
        std::printf("  minimised: left out, no window manager minimises the windows here\n");
    }
    return 0;
}
