// The scan journal's costs, on this machine's disk (the temporary folder):
// - BM_Append: one append(), commit and sync included, as the station makes it just before
//   "ACK". Target: at most 1 ms median. What runs from the event loop after the scan has been
//   answered (the search index brought up to date, the checkpoints) is counted apart
//   (deferred_max_us, deferred_total_us). Also the bytes written per entry on the way to "ACK"
//   (ack_bytes_per_entry, and in log frames of a 4 KiB page, ack_frames_per_entry), in all (to
//   write calls, and to storage where the system counts it) and the write-ahead log's largest
//   size. /0: entries back to back, over 2,000 and over 100,000 entries; /1: each entry after
//   the journal's idle step, as labels come at a station that is not rushed. The syncs per
//   entry are counted from outside: strace -f -c -e trace=fsync,fdatasync.
// - BM_FirstPage: the journal window's first page (256 entries, as a model fetches them) of a
//   journal of a million entries, unfiltered and under each kind of filter. Target: 300 ms.
// - BM_Export: the whole million-entry journal as CSV. Target: 5 s.
// - BM_ForwardCatchUp: a forwarder starting on 20,000 entries the server does not have, to a
//   private PostgreSQL server. Target: 5,000 entries per second.
// The million-entry journal is made once (about 400 days of a busy station) and removed at
// the end.

#include "BenchSupport.h"
#include "PgServer.h"
#include "journal/Connection.h"
#include "journal/CsvExport.h"
#include "journal/EntryQuery.h"
#include "journal/Forwarder.h"
#include "journal/Journal.h"
#include "journal/LocalFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

using namespace barlink::journal;

namespace {

constexpr int MillionEntries = 1'000'000;

// The million-entry journal, made at its first use.
const QString &millionPath()
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
    static const bool made = barlink::bench::fillJournal(path, MillionEntries);
    static const QString none;
    return made ? path : none;
}

// Bytes this process has handed to write calls (wchar) and has had written to storage
// (write_bytes), from /proc/self/io; zeros where there is no such file.
std::pair<qint64, qint64> bytesWritten()
{
    QFile io(QStringLiteral("/proc/self/io"));
    std::pair<qint64, qint64> bytes{0, 0};
    if (!io.open(QIODevice::ReadOnly))
        return bytes;
    for (const QByteArray &line : io.readAll().split('\n')) {
        if (line.startsWith("wchar:"))
            bytes.first = line.mid(6).trimmed().toLongLong();
        else if (line.startsWith("write_bytes:"))
            bytes.second = line.mid(12).trimmed().toLongLong();
    }
    return bytes;
}

void BM_Append(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
    const bool idle = state.range(0) == 1;
    Journal::Limits limits;
    if (idle)
        limits.idleMilliseconds = 0;
    Journal journal(path, QStringLiteral("BENCH"), 400, limits);
    journal.open();
    QCoreApplication::processEvents();
    barlink::bench::Samples samples;
    std::vector<double> deferred;
    const QFileInfo log(path + QStringLiteral("-wal"));
    qint64 largestLog = 0;
    const std::pair<qint64, qint64> before = bytesWritten();
    qint64 ackBytes = 0;
    int n = 0;
    for (auto _ : state) {
        const Entry entry = barlink::bench::journalEntry(++n, QDateTime::currentMSecsSinceEpoch());
        const qint64 ackBefore = bytesWritten().first;
        samples.start();
        journal.append(entry);
        samples.stop();
        ackBytes += bytesWritten().first - ackBefore;
        // What runs once the station is back in its event loop (the checkpoints).
        QElapsedTimer clock;
        clock.start();
        QCoreApplication::processEvents();
        deferred.push_back(double(clock.nsecsElapsed()) / 1000.0);
        largestLog = std::max(largestLog, QFileInfo(log.filePath()).size());
    }
    if (!journal.isAvailable() || journal.heldCount() != 0)
        state.SkipWithError("the journal could not be written");
    const std::pair<qint64, qint64> after = bytesWritten();
    constexpr double LogFrameBytes = 4096 + 24;
    state.counters["ack_bytes_per_entry"] = double(ackBytes) / n;
    state.counters["ack_frames_per_entry"] = double(ackBytes) / LogFrameBytes / n;
    state.counters["bytes_per_entry"] = double(after.first - before.first) / n;
    state.counters["disk_bytes_per_entry"] = double(after.second - before.second) / n;
    state.counters["wal_max_bytes"] = double(largestLog);
    state.counters["db_bytes"] = double(QFileInfo(path).size());
    samples.report(state);
    std::sort(deferred.begin(), deferred.end());
    state.counters["deferred_max_us"] = deferred.back();
    state.counters["deferred_total_us"] = std::accumulate(deferred.begin(), deferred.end(), 0.0);
}
BENCHMARK(BM_Append)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
// The write-ahead log's largest size over a long run.
BENCHMARK(BM_Append)->Arg(0)->Iterations(100'000)->Unit(benchmark::kMicrosecond)->UseRealTime();

// range(0): 0 all, 1 refused only, 2 text found in every program, 3 text found nowhere,
// 4 one day, 5 a page deep in the journal (after the 100,000th newest), 6 text found in one
// entry, half-way through the journal, 7 two characters found nowhere (too short for the index
// of three-character pieces: every entry is read).
void BM_FirstPage(benchmark::State &state)
{
    if (millionPath().isEmpty()) {
        state.SkipWithError("cannot make the journal");
        return;
    }
    const Connection connection(QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.database();
    (void)openLocalFile(db, millionPath(), Durability::Checkpoints);
    Filter filter;
    std::optional<Entry> after;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    switch (state.range(0)) {
    case 1:
        filter.outcomes = Filter::Outcomes::RefusedOnly;
        break;
    case 2:
        filter.text = QStringLiteral("door");
        break;
    case 3:
        filter.text = QStringLiteral("nowhere");
        break;
    case 4:
        filter.from = now.addDays(-200);
        filter.until = now.addDays(-199);
        break;
    case 5:
        after = readEntries(db, Store::Local, {}, 100'000).back();
        break;
    case 6:
        filter.text = QStringLiteral("p0500000");
        break;
    case 7:
        filter.text = QStringLiteral("zq");
        break;
    default:
        break;
    }
    std::size_t shown = 0;
    for (auto _ : state)
        shown = readEntries(db, Store::Local, filter, 256, after).size();
    state.counters["entries"] = double(shown);
}
BENCHMARK(BM_FirstPage)->DenseRange(0, 7)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Export(benchmark::State &state)
{
    if (millionPath().isEmpty()) {
        state.SkipWithError("cannot make the journal");
        return;
    }
    const Connection connection(QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.database();
    (void)openLocalFile(db, millionPath(), Durability::Checkpoints);
    QTemporaryDir dir;
    qint64 written = 0;
    for (auto _ : state) {
        QFile out(dir.filePath(QStringLiteral("journal.csv")));
        out.open(QIODevice::WriteOnly);
        written = exportCsv(db, Store::Local, {}, out);
    }
    if (written != MillionEntries)
        state.SkipWithError("the export stopped short");
}
BENCHMARK(BM_Export)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ForwardCatchUp(benchmark::State &state)
{
    constexpr int Entries = 20'000;
    const PgServer server;
    if (!server.running()) {
        state.SkipWithError(qPrintable(server.failure()));
        return;
    }
    double perSecond = 0;
    for (auto _ : state) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        if (!barlink::bench::fillJournal(path, Entries)) {
            state.SkipWithError("cannot make the journal");
            return;
        }
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        Forwarder forwarder(path, server.connectionString());
        QObject::connect(&forwarder, &Forwarder::forwarded, &loop, [&](qint64 upTo) {
            if (upTo == Entries)
                loop.quit();
        });
        QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
        loop.exec();
        perSecond = Entries * 1000.0 / double(clock.elapsed());
        state.SetIterationTime(double(clock.elapsed()) / 1000.0);
    }
    state.counters["entries_per_s"] = perSecond;
}
BENCHMARK(BM_ForwardCatchUp)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BARLINK_BENCHMARK_MAIN(QCoreApplication)
