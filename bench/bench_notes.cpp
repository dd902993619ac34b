// Loading and saving a notes file of 5 MB: how long the main window is busy.
//
// The load runs as one event of the window (the page view reads, decodes and
// escapes the file, the handler undoes the wrapper and the references and
// fills the pad), so its time is how long the window does not answer.
//   bench_notes [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>

#include "controls.h"
#include "notes_text.h"
#include "page_view.h"
#include "test_program.h"
#include "timers.h"

using namespace agelark;

namespace {

constexpr qsizetype fileSize = 5 * 1024 * 1024;

enum Kind { Prose, Windows1252, MarkupHeavy, OneLine };

// 5 MB of notes of one kind, as the file holds them.
QByteArray notesFile(Kind kind) {
    const QByteArray line = [&] {
        switch (kind) {
        case Prose: return QByteArray("Bought a boxed SNES with two pads, 12/03/1999; still works, cartridge slot loose.\r\n");
        case Windows1252: return QByteArray("Caf\xE9 cr\xE8me \x80\x32\x30 \x93\x63hez Ren\xE9\x94 \x96 na\xEFve r\xE9sum\xE9 \xE0 la.\r\n");
        case MarkupHeavy: return QByteArray("if (a<b && c>d) x = <PRE> & </PRE>; &lt; &amp; <<>> &&& 0 < 1 > -1\r\n");
        case OneLine: return QByteArray("one paragraph without any line break in it, pasted from somewhere. ");
        }
        return QByteArray();
    }();
    QByteArray bytes;
    bytes.reserve(fileSize + line.size());
    while (bytes.size() < fileSize) bytes += line;
    bytes.truncate(fileSize);
    return bytes;
}

struct Program {
    testing::TestProgram program;
    FormWindow* form1 = nullptr;
    Program() {
        program.start();
        program.processEvents();
        form1 = program.window("Form1");
    }
    QPlainTextEdit* pad() const { return control<QPlainTextEdit>(form1, "txtNotes"); }
    void writeNotes(const QByteArray& bytes) const {
        QFile file(program.path("Notes.txt"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) std::abort();
    }
};

Program* running = nullptr;  // made in main(), inside the application's lifetime
Program& program() { return *running; }

// From navigation to the filled pad, as at every start of the main window.
void BM_LoadNotes(benchmark::State& state) {
    Program& p = program();
    const QByteArray bytes = notesFile(Kind(state.range(0)));
    p.writeNotes(bytes);
    auto view = control<PageView>(p.form1, "WebBrowser1");
    for (auto _ : state) {
        state.PauseTiming();
        p.pad()->setPlainText(QStringLiteral("x"));
        state.ResumeTiming();
        view->navigate(appFilePath("\\Notes.txt"));
        QCoreApplication::processEvents();
        if (p.pad()->document()->characterCount() < 1000) state.SkipWithError("the notes did not load");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_LoadNotes)->ArgName("kind")->Arg(Prose)->Arg(Windows1252)->Arg(MarkupHeavy)->Arg(OneLine)
    ->Unit(benchmark::kMillisecond)->UseRealTime();

// The steps of a load one by one, to see where the time goes.
void BM_LoadSteps(benchmark::State& state) {
    const QByteArray bytes = notesFile(Kind(state.range(1)));
    const QString text = decodeNotesFile(bytes);
    const QString markup = QStringLiteral("<PRE>") + escapeMarkup(text) + QStringLiteral("</PRE>");
    QPlainTextEdit pad;
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0: benchmark::DoNotOptimize(decodeNotesFile(bytes)); break;
        case 1: benchmark::DoNotOptimize(escapeMarkup(text)); break;
        case 2: {
            QString stripped = markup;
            stripped.remove(QStringLiteral("<PRE>"));
            stripped.remove(QStringLiteral("</PRE>"));
            benchmark::DoNotOptimize(stripped);
            break;
        }
        case 3: benchmark::DoNotOptimize(unescapeMarkup(markup)); break;
        case 4:
            pad.setPlainText(text);
            break;
        }
    }
}
BENCHMARK(BM_LoadSteps)->ArgNames({"decode_escape_strip_unescape_pad", "kind"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {Prose, Windows1252, MarkupHeavy}})
    ->Unit(benchmark::kMillisecond)->UseRealTime();

// "Save Changes" with 5 MB in the pad: the new copy written, synced and renamed over the file.
void BM_SaveNotes(benchmark::State& state) {
    Program& p = program();
    p.writeNotes("Notes\r\n");
    p.pad()->setPlainText(decodeNotesFile(notesFile(Prose)));
    auto animation = control<Timer>(p.form1, "Timer23");
    for (auto _ : state) {
        p.program.click("Form1", "cmdSave");
        state.PauseTiming();
        if (!p.program.messages.shown.isEmpty()) state.SkipWithError("the save failed");
        animation->setEnabled(false);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveNotes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Program p;
    running = &p;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
