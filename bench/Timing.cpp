#include "Timing.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace tav::bench {
namespace {

double nowMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

Timing measure(int runs, const std::function<void()>& setup, const std::function<void()>& body) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        const double wall0 = nowMs(CLOCK_MONOTONIC);
        const double cpu0 = nowMs(CLOCK_PROCESS_CPUTIME_ID);
        body();
        cpu.push_back(nowMs(CLOCK_PROCESS_CPUTIME_ID) - cpu0);
        wall.push_back(nowMs(CLOCK_MONOTONIC) - wall0);
    }
    return {median(wall), median(cpu)};
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
