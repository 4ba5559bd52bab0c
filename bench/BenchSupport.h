#pragma once

// What the station's benchmarks share: a main() that sets up the Qt application the code
// under test needs, per-sample statistics (median, 99th percentile, worst), which the
// targets are stated in and which Google Benchmark's own figures (means per run) do not give,
// and a journal file filled as a busy station's.

#include "journal/Connection.h"
#include "journal/Entry.h"
#include "journal/EntryQuery.h"
#include "journal/LocalFile.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QSqlQuery>
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
    // A sample timed elsewhere, with the processor time the thread spent in it and the time
    // it waited for a processor (threadQueuedMicroseconds()); the rest of the sample it was
    // blocked (on the disk, on a read).
    void addMicroseconds(double us, double cpuUs, double queuedUs)
    {
        m_wall.push_back(us);
        m_cpu.push_back(cpuUs);
        m_queued.push_back(queuedUs);
    }

    void report(benchmark::State &state)
    {
        reportTail(state);
        state.counters["median_us"] = quantile(m_wall, 0.5);
        state.counters["p99_us"] = quantile(m_wall, 0.99);
        state.counters["max_us"] = quantile(m_wall, 1.0);
        if (!m_cpu.empty()) {
            state.counters["cpu_median_us"] = quantile(m_cpu, 0.5);
            state.counters["cpu_p99_us"] = quantile(m_cpu, 0.99);
        }
        state.counters["samples"] = double(m_wall.size());
    }

    // Time this thread has waited, runnable, for a processor (from the scheduler's figures);
    // 0 where the system does not keep them.
    static double threadQueuedMicroseconds()
    {
        QFile stat(QStringLiteral("/proc/thread-self/schedstat"));
        if (!stat.open(QIODevice::ReadOnly))
            return 0;
        const QList<QByteArray> fields = stat.readAll().split(' ');
        return fields.size() > 1 ? fields[1].toDouble() / 1e3 : 0;
    }
    static double threadCpuMicroseconds()
    {
        timespec now{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
    }

private:
    static double quantile(std::vector<double> &values, double q)
    {
        if (values.empty())
            return 0;
        std::sort(values.begin(), values.end());
        const auto index = std::size_t(q * double(values.size() - 1) + 0.5);
        return values[std::min(index, values.size() - 1)];
    }

    // Where the slowest samples (at or over the 99th percentile) spent their time, on
    // average: running, waiting for a processor, or blocked. Before report() sorts them.
    void reportTail(benchmark::State &state) const
    {
        if (m_queued.size() != m_wall.size() || m_wall.empty())
            return;
        std::vector<double> sorted = m_wall;
        const double p99 = quantile(sorted, 0.99);
        double wall = 0, cpu = 0, queued = 0;
        int tail = 0;
        for (std::size_t i = 0; i < m_wall.size(); ++i) {
            if (m_wall[i] < p99)
                continue;
            wall += m_wall[i];
            cpu += m_cpu[i];
            queued += m_queued[i];
            ++tail;
        }
        state.counters["tail_cpu_us"] = cpu / tail;
        state.counters["tail_queued_us"] = queued / tail;
        state.counters["tail_blocked_us"] = std::max(0.0, wall - cpu - queued) / tail;
    }

    std::vector<double> m_wall;
    std::vector<double> m_cpu;
    std::vector<double> m_queued;
    Clock::time_point m_start;
    double m_startCpu = 0;
};

// The n-th entry of a busy station's journal, made at timeMs: one in twenty refused, one in
// fifty waiting, the rest taken.
inline journal::Entry journalEntry(int n, qint64 timeMs)
{
    journal::Entry entry;
    entry.time = QDateTime::fromMSecsSinceEpoch(timeMs, Qt::UTC);
    entry.station = QStringLiteral("BENCH");
    entry.label = QStringLiteral("P%1").arg(n, 7, 10, QLatin1Char('0'));
    entry.program = QStringLiteral("DOOR%1.CNC").arg(n % 500);
    entry.field = QString::number(n % 4 + 1);
    entry.x = QStringLiteral("800");
    entry.y = QStringLiteral("600");
    entry.z = QStringLiteral("18");
    if (n % 20 == 0) {
        entry.outcome = journal::Outcome::Refused;
        entry.reason = barlink::base::Reason(barlink::base::Reason::Code::NoWorkField);
    } else if (n % 50 == 1) {
        entry.outcome = journal::Outcome::Waiting;
    } else {
        entry.rows = 1;
    }
    return entry;
}

// Fills a journal file quickly (one transaction, no syncing) with count entries over the last
// 400 days, oldest first, and leaves it as a station keeps it: every entry in the search index
// (added in the station's batches of 256) and the write-ahead log copied into the file, so that
// a reader does not look up every page in a long log and a station opening it has nothing
// left to index.
inline bool fillJournal(const QString &path, int count)
{
    using namespace barlink::journal;
    const Connection connection(QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.database();
    if (!openLocalFile(db, path, Durability::Checkpoints).isEmpty())
        return false;
    QSqlQuery query(db);
    query.exec(QStringLiteral("PRAGMA synchronous = OFF"));
    db.transaction();
    query.prepare(insertEntrySql(Store::Local));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const qint64 span = 400LL * 24 * 3600 * 1000;
    bool ok = true;
    for (int n = 0; ok && n < count; ++n)
        ok = insertEntry(query, journalEntry(n, now - span + span * n / count));
    ok = db.commit() && ok;
    for (int indexed = 256; ok && indexed == 256;)
        ok = (indexed = indexSearchText(db, 256)) >= 0;
    return ok && query.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

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
