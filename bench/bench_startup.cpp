// Start-up time and memory of the program against a bare Qt window with a
// six-page tab control, measured in the same run.
//
// Each sample is a fresh process: this executable starts itself with "program"
// or "bare", and the child reports, on its standard output, the monotonic time
// at which its window was shown (the program's with its five pictures loaded)
// and its peak resident size. The parent compares with the moment it started
// the child. The windows are shown on the session's display when there is
// one, else offscreen (see bench_display.h).
//   bench_startup [SAMPLES]          (default 15)
// With BENCH_STARTUP_SMAPS=FILE set, a child run by hand ("bench_startup
// program") copies its memory map with the resident size of each mapping to FILE.

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTabWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <vector>

#include "bench/bench_display.h"

#include "platform/platform.h"
#include "ui/main_window.h"
#include "ui/program.h"

namespace {

double monotonicMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

long peakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void waitUntilExposed(QWidget* window) {
    while (!window->windowHandle() || !window->windowHandle()->isExposed()) QApplication::processEvents();
    QApplication::processEvents();
}

int child(int argc, char** argv, bool program) {
    QApplication app(argc, argv);
    QWidget* shown = nullptr;
    QWidget bare;
    if (program) {
        // The program's own start, reading its pictures from beside the benchmark's program folder.
        agelark::Platform p;
        p.appFolder = QStringLiteral(AGELARK_BUILT_APP_DIR);
        agelark::install(p);
        agelark::startProgram();
        shown = agelark::mainWindow();
    } else {
        auto tabs = new QTabWidget(&bare);
        for (const char* caption : {"Atari", "Nintendo", "Sega", "Sony", "Microsoft", "Custom"})
            tabs->addTab(new QWidget, caption);
        bare.resize(377, 297);
        tabs->resize(bare.size());
        bare.show();
        shown = &bare;
    }
    waitUntilExposed(shown);
    std::printf("%.3f %ld\n", monotonicMs(), peakResidentKb());
    // Where the memory is, mapping by mapping, for a look at what the program holds beyond the bare window.
    if (const char* copy = std::getenv("BENCH_STARTUP_SMAPS")) {
        QFile smaps(QStringLiteral("/proc/self/smaps")), out(QString::fromLocal8Bit(copy));
        if (smaps.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly)) out.write(smaps.readAll());
    }
    return 0;
}

struct Sample {
    double ms;
    long kb;
};

Sample sample(const QString& self, const char* mode) {
    QProcess process;
    const double started = monotonicMs();
    process.start(self, {QString::fromLatin1(mode)});
    process.waitForFinished(-1);
    double shownAt = 0;
    long kb = 0;
    if (std::sscanf(process.readAllStandardOutput().constData(), "%lf %ld", &shownAt, &kb) != 2) {
        std::fprintf(stderr, "bench_startup: the %s child reported nothing\n", mode);
        std::exit(1);
    }
    return {shownAt - started, kb};
}

template <class T>
T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const QString display = bench::chooseDisplay();
    if (argc > 1 && (std::string_view(argv[1]) == "program" || std::string_view(argv[1]) == "bare"))
        return child(argc, argv, std::string_view(argv[1]) == "program");

    const int samples = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const QString self = QString::fromLocal8Bit(argv[0]);
    std::vector<double> programMs, bareMs;
    std::vector<long> programKb, bareKb;
    sample(self, "bare");  // warms the file cache for both
    sample(self, "program");
    for (int i = 0; i < samples; ++i) {  // interleaved, so both see the same machine
        const Sample b = sample(self, "bare");
        const Sample p = sample(self, "program");
        bareMs.push_back(b.ms), bareKb.push_back(b.kb);
        programMs.push_back(p.ms), programKb.push_back(p.kb);
    }
    const double pm = median(programMs), bm = median(bareMs);
    const long pk = median(programKb), bk = median(bareKb);
    const auto [pMin, pMax] = std::minmax_element(programMs.begin(), programMs.end());
    const auto [bMin, bMax] = std::minmax_element(bareMs.begin(), bareMs.end());
    bench::printDisplay(display);
    std::printf("start-up to shown window (median of %d): program %.1f ms (%.1f-%.1f), bare window %.1f ms (%.1f-%.1f), "
                "ratio %.2f (goal <= 1.20: %s)\n",
                samples, pm, *pMin, *pMax, bm, *bMin, *bMax, pm / bm, pm / bm <= 1.20 ? "met" : "NOT met");
    std::printf("peak resident size after start-up:        program %ld KiB, bare window %ld KiB, ratio %.2f (goal <= 1.10: %s)\n",
                pk, bk, double(pk) / double(bk), double(pk) / double(bk) <= 1.10 ? "met" : "NOT met");
    return 0;
}
