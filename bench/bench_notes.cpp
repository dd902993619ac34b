// Loading and saving big notes files: how long each takes, how much memory it
// needs and how long the main window goes without answering meanwhile.
//
//   bench_notes                 every 50 MB case, each in a fresh process
//   bench_notes CASE            one case in this process (load-lines, save-lines, load-amp, save-amp)
//   bench_notes steps [--benchmark_filter=...]   the load's steps on 5 MB, with Google Benchmark
//
// A case starts the program with a small notes file, takes its resident size
// as the idle size, then puts 50 MB into Notes.txt and either loads the main
// window afresh (as every start does) or, once that load is done, clicks
// "Save Changes". It reports the time until the pad holds the whole file (or
// until the file is written and the "Working..." animation runs), the peak
// resident size above the idle size, and the longest gap between two turns of
// the event loop, seen by a 5 ms timer: how long the window did not answer.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "notes/notes_pad.h"
#include "notes/notes_text.h"
#include "notes/pad_state.h"
#include "platform/controls.h"
#include "platform/windows.h"
#include "tests/support/test_program.h"

using namespace agelark;

namespace {

enum Kind { Prose, Windows1252, MarkupHeavy, OneLine, Ampersands };

// `size` bytes of notes of one kind, as the file holds them.
QByteArray notesFile(Kind kind, qsizetype size) {
    if (kind == Ampersands) return QByteArray(size, '&');
    const QByteArray line = [&] {
        switch (kind) {
        case Prose: return QByteArray("Bought a boxed SNES with two pads, 12/03/1999; still works, cartridge slot loose.\r\n");
        case Windows1252: return QByteArray("Caf\xE9 cr\xE8me \x80\x32\x30 \x93\x63hez Ren\xE9\x94 \x96 na\xEFve r\xE9sum\xE9 \xE0 la.\r\n");
        case MarkupHeavy: return QByteArray("if (a<b && c>d) x = <PRE> & </PRE>; &lt; &amp; <<>> &&& 0 < 1 > -1\r\n");
        default: return QByteArray("one paragraph without any line break in it, pasted from somewhere. ");
        }
    }();
    QByteArray bytes;
    bytes.reserve(size + line.size());
    while (bytes.size() < size) bytes += line;
    bytes.truncate(size);
    return bytes;
}

// ---- the 50 MB cases, one per process ----

constexpr qsizetype bigFile = 50 * 1000 * 1000;

long statusKb(const char* field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field)) return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

// Starts the peak resident size (VmHWM) afresh from the current size.
void resetPeak() {
    QFile clear("/proc/self/clear_refs");
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1) std::fprintf(stderr, "cannot reset the peak size\n");
}

// The longest time the event loop did not come round, seen by a 5 ms timer.
class StallWatch {
public:
    StallWatch() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { turn(); });
        timer_.start(5);
        clock_.start();
    }
    double longestMs() {
        turn();  // a stall still going on at the end counts too
        return double(longest_) / 1e6;
    }

private:
    void turn() {
        const qint64 now = clock_.nsecsElapsed();
        longest_ = qMax(longest_, now - last_);
        last_ = now;
    }
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0, longest_ = 0;
};

// Runs the event loop until `done`, for at most a minute.
bool runUntil(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 60000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}


// The load has ended: the pad holds the whole text, or shows it read-only.
bool padLoaded(const testing::TestProgram& p) {
    FormWindow* form1 = p.window("Form1");
    return form1 && padState(form1).phase != PadPhase::Loading;
}

void startAfresh(testing::TestProgram& p) {
    windows().unload("Form1");
    p.processEvents();
    p.start();
}

int runCase(int argc, char** argv, const QString& name) {
    QApplication app(argc, argv);
    const bool save = name.startsWith("save-");
    const bool oneLine = name.endsWith("-amp");
    const QByteArray bytes = notesFile(oneLine ? Ampersands : Prose, bigFile);

    testing::TestProgram program;
    program.start();
    if (!runUntil([&] { return padLoaded(program); })) return 2;
    const long idleKb = statusKb("VmRSS:");
    {
        QFile file(program.path("Notes.txt"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) return 3;
    }
    if (save) {
        startAfresh(program);
        if (!runUntil([&] { return padLoaded(program); })) return 4;
        program.messages.shown.clear();
    }

    resetPeak();
    const long baseKb = statusKb("VmRSS:");
    StallWatch watch;
    QElapsedTimer took;
    took.start();
    bool finished = false;
    if (save) {
        auto animation = program.find<QTimer>("Form1", "Timer23");
        program.click("Form1", "cmdSave");
        finished = runUntil([&] { return animation->isActive() || !program.messages.shown.isEmpty(); });
    } else {
        startAfresh(program);
        finished = runUntil([&] { return padLoaded(program); });
    }
    const double ms = double(took.nsecsElapsed()) / 1e6;
    const double stallMs = watch.longestMs();
    const long peakKb = statusKb("VmHWM:");

    // The one line is too long to edit: it loads read-only with a warning, and Save refuses.
    const QString outcome = program.messages.shown.isEmpty() ? QStringLiteral("done")
                            : oneLine ? QStringLiteral("read-only, told")
                                      : QStringLiteral("FAILED: ") + program.messages.told().join("; ");
    if (!finished || outcome.startsWith("FAILED")) {
        std::fprintf(stderr, "%s: did not finish: %s\n", qPrintable(name), qPrintable(outcome));
        return 5;
    }
    if (save && !oneLine) {
        QFile file(program.path("Notes.txt"));
        if (!file.open(QIODevice::ReadOnly) || file.readAll() != bytes) {
            std::fprintf(stderr, "%s: the saved file differs\n", qPrintable(name));
            return 6;
        }
    }
    if (!save && !oneLine && padText(program.window("Form1")) != decodeNotesFile(bytes).replace("\r\n", "\n")) {
        std::fprintf(stderr, "%s: the pad does not hold the file's text\n", qPrintable(name));
        return 7;
    }
    std::printf("%-11s %7.0f ms   longest stall %6.0f ms   peak %4.0f MB above idle (%4.0f MB above the size before)  %s\n",
                qPrintable(name), ms, stallMs, double(peakKb - idleKb) / 1024, double(peakKb - baseKb) / 1024,
                qPrintable(outcome));
    std::fflush(stdout);
    return 0;
}

int runAllCases(const QString& self) {
    int failed = 0;
    std::printf("50 MB notes (%lld bytes); idle = the program started with a 7-byte notes file\n", qlonglong(bigFile));
    std::fflush(stdout);
    for (const char* name : {"load-lines", "save-lines", "load-amp", "save-amp"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(self, {QString::fromLatin1(name)});
        if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            std::printf("%-11s failed (exit %d)\n", name, child.exitCode());
            ++failed;
        }
        std::fflush(stdout);
    }
    return failed == 0 ? 0 : 1;
}

// ---- the load's steps on 5 MB ----

constexpr qsizetype stepFile = 5 * 1024 * 1024;

void BM_LoadSteps(benchmark::State& state) {
    const QByteArray bytes = notesFile(Kind(state.range(1)), stepFile);
    const QString text = decodeNotesFile(bytes);
    const QString markup = bodyMarkupOf(bytes);
    QPlainTextEdit pad;
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0: benchmark::DoNotOptimize(decodeNotesFile(bytes)); break;
        case 1: benchmark::DoNotOptimize(bodyMarkupOf(bytes)); break;
        case 2: benchmark::DoNotOptimize(padTextFromBodyMarkup(markup)); break;
        case 3: pad.setPlainText(text); break;
        case 4: benchmark::DoNotOptimize(encodeNotesFile(text)); break;
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_LoadSteps)
    ->ArgNames({"decode_markup_unmarkup_pad_encode", "kind"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {Prose, Windows1252, MarkupHeavy, OneLine}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int runSteps(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == "steps") {
        argv[1] = argv[0];
        return runSteps(argc - 1, argv + 1);
    }
    if (mode.startsWith("load-") || mode.startsWith("save-")) return runCase(argc, argv, mode);
    QCoreApplication app(argc, argv);
    return runAllCases(QCoreApplication::applicationFilePath());
}
