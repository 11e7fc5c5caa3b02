#include "Timing.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace tav::bench {
namespace {

// Keeps the medians of the one case that ran, in milliseconds; prints nothing, the
// report lines are the benchmarks' own.
class MedianReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            // A single run has no aggregates; more than one have their median.
            if (run.run_type == Run::RT_Aggregate ? run.aggregate_name == "median"
                                                  : run.repetitions <= 1) {
                timing.wallMs = run.GetAdjustedRealTime();
                timing.cpuMs = run.GetAdjustedCPUTime();
            }
        }
    }
    Timing timing;
};

} // namespace

Timing measure(int runs, const std::function<void()>& setup, const std::function<void()>& body) {
    benchmark::ClearRegisteredBenchmarks();
    benchmark::RegisterBenchmark("case",
                                 [&](benchmark::State& state) {
                                     for ([[maybe_unused]] auto _ : state) {
                                         if (setup) {
                                             state.PauseTiming();
                                             setup();
                                             state.ResumeTiming();
                                         }
                                         body();
                                     }
                                 })
        ->Iterations(1)
        ->Repetitions(runs)
        ->ReportAggregatesOnly(true)
        ->MeasureProcessCPUTime()
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::ClearRegisteredBenchmarks();
    return reporter.timing;
}

void report(const QString& name, const Timing& subject, const QString& baselineName,
            const Timing& baseline) {
    // A case run in a process of its own has no CPU time of this process.
    const QString cpu = subject.cpuMs > 0
                            ? QStringLiteral("(cpu %1 ms)").arg(subject.cpuMs, 8, 'f', 2)
                            : QString(17, u' ');
    std::printf("%-44s %9.2f ms %s   %-22s %9.2f ms   ratio %6.2f\n", qPrintable(name),
                subject.wallMs, qPrintable(cpu), qPrintable(baselineName), baseline.wallMs,
                subject.wallMs / baseline.wallMs);
    std::fflush(stdout);
}

} // namespace tav::bench
