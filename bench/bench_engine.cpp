// Time per call of what every running counter does ten times a second: format
// the now-box text, parse both box texts back, and compute the age or report.

#include <benchmark/benchmark.h>

#include "engine/age.h"
#include "engine/date_text.h"

namespace {

using namespace agelark;

const ConsoleEntry& xboxSeriesX() { return *consolesOn(Page::Microsoft).back(); }

// A moment a few thousand days after the count-from date, so the full
// three-line report is built.
const CivilDateTime nowMoment{2026, 12, 5, 11, 10, 0};

void reportTextCall(benchmark::State& state) {
    const ConsoleEntry& entry = xboxSeriesX();
    const double then = parseDateText(entry.countFrom);
    double now = dateSerial(nowMoment);
    for (auto _ : state) {
        benchmark::DoNotOptimize(now);
        benchmark::DoNotOptimize(reportText(entry, then, now));
    }
}
BENCHMARK(reportTextCall);

void customAgeCall(benchmark::State& state) {
    const double then = dateSerial(2015, 1, 1, 22, 0, 0);
    double now = dateSerial(nowMoment);
    for (auto _ : state) {
        benchmark::DoNotOptimize(now);
        benchmark::DoNotOptimize(ageText(then, now));
    }
}
BENCHMARK(customAgeCall);

void parseDateTextCall(benchmark::State& state) {
    const std::string text = formatDateText(nowMoment);
    for (auto _ : state) {
        benchmark::DoNotOptimize(text.data());
        benchmark::DoNotOptimize(parseDateText(text));
    }
}
BENCHMARK(parseDateTextCall);

void parseCountFromCall(benchmark::State& state) {
    const std::string_view text = xboxSeriesX().countFrom;
    for (auto _ : state) {
        benchmark::DoNotOptimize(text.data());
        benchmark::DoNotOptimize(parseDateText(text));
    }
}
BENCHMARK(parseCountFromCall);

void formatDateTextCall(benchmark::State& state) {
    CivilDateTime moment = nowMoment;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moment);
        benchmark::DoNotOptimize(formatDateText(moment));
    }
}
BENCHMARK(formatDateTextCall);

// One whole counter tick's engine work: now-text written and read back, the
// count-from text read, the report built.
void counterTick(benchmark::State& state) {
    const ConsoleEntry& entry = xboxSeriesX();
    CivilDateTime moment = nowMoment;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moment);
        const std::string nowText = formatDateText(moment);
        const double now = parseDateText(nowText);
        const double then = parseDateText(entry.countFrom);
        benchmark::DoNotOptimize(reportText(entry, then, now));
    }
}
BENCHMARK(counterTick);

}  // namespace

BENCHMARK_MAIN();
