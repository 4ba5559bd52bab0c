#pragma once

// What the station's benchmarks share: a main() that sets up the Qt application the code
// under test needs, and per-sample statistics (median, 99th percentile, worst), which the
// targets are stated in and which Google Benchmark's own figures (means per run) do not give.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <vector>

namespace barlink::bench {

// Durations of single samples (one item, one scroll step, ...), reported as counters in
// microseconds: median_us, p99_us and max_us of the elapsed time, and cpu_median_us and
// cpu_p99_us of the processor time the thread spent on them. On a shared machine the
// elapsed time's tail holds the moments the thread was not running at all; the processor
// time does not.
class Samples
{
public:
    using Clock = std::chrono::steady_clock;

    void start()
    {
        m_startCpu = threadCpuMicroseconds();
        m_start = Clock::now();
    }
    void stop()
    {
        add(Clock::now() - m_start);
        m_cpu.push_back(threadCpuMicroseconds() - m_startCpu);
    }
    void add(Clock::duration d)
    {
        m_wall.push_back(std::chrono::duration<double, std::micro>(d).count());
    }
    void addMicroseconds(double us) { m_wall.push_back(us); }

    void report(benchmark::State &state)
    {
        state.counters["median_us"] = quantile(m_wall, 0.5);
        state.counters["p99_us"] = quantile(m_wall, 0.99);
        state.counters["max_us"] = quantile(m_wall, 1.0);
        if (!m_cpu.empty()) {
            state.counters["cpu_median_us"] = quantile(m_cpu, 0.5);
            state.counters["cpu_p99_us"] = quantile(m_cpu, 0.99);
        }
        state.counters["samples"] = double(m_wall.size());
    }

private:
    static double threadCpuMicroseconds()
    {
        timespec now{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
    }
    static double quantile(std::vector<double> &values, double q)
    {
        if (values.empty())
            return 0;
        std::sort(values.begin(), values.end());
        const auto index = std::size_t(q * double(values.size() - 1) + 0.5);
        return values[std::min(index, values.size() - 1)];
    }

    std::vector<double> m_wall;
    std::vector<double> m_cpu;
    Clock::time_point m_start;
    double m_startCpu = 0;
};

// Runs after the benchmarks, while the application still exists (to close windows).
inline std::function<void()> beforeExit;

} // namespace barlink::bench

// main() for a benchmark program: the Qt application first (offscreen unless told
// otherwise), then Google Benchmark with the rest of the command line.
#define BARLINK_BENCHMARK_MAIN(ApplicationType)                                                    \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        ApplicationType application(argc, argv);                                                   \
        benchmark::Initialize(&argc, argv);                                                        \
        if (benchmark::ReportUnrecognizedArguments(argc, argv))                                    \
            return 1;                                                                              \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        if (barlink::bench::beforeExit)                                                            \
            barlink::bench::beforeExit();                                                          \
        return 0;                                                                                  \
    }
