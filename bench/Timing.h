#pragma once

#include <QString>

#include <functional>

// Medians of repeated runs, and the ratio of a case to a baseline timed in the same
// run of the benchmarks: on a machine that others share, only ratios and medians mean
// something.
namespace tav::bench {

struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

// Runs setup (not timed) and body (timed) `runs` times as repetitions of one Google
// Benchmark case; the medians of the body, wall time and the process's CPU time.
Timing measure(int runs, const std::function<void()>& setup, const std::function<void()>& body);

// One line of the report: the case, its time, the baseline's and their ratio.
void report(const QString& name, const Timing& subject, const QString& baselineName,
            const Timing& baseline);

} // namespace tav::bench
