// Taking in a spill file left by an earlier run, as the station does when it starts (the journal
// file was locked or its disk full until the program ended): 1,000,000 entries by default
// (BENCH_SPILLED sets another number).
// - first_label_ms: how long a label that arrives as the journal opens waits for its entry to
//   be on the disk, which is when the scanner hears "ACK". Target: within a label's usual time
//   (a few milliseconds more than an append).
// - longest_turn_ms: the longest the event loop was held (a label arriving then waits so long).
// - open_ms: how long open() holds the caller; take_s: until every entry is in the journal file.
// - max_rss_mb: the process's peak memory (the spill file is made in chunks and adds little).
//   Target: under 100 MB. /usr/bin/time -v on this program says the same from outside.
// Each entry is taken exactly once: the journal file's count is checked.

#include "BenchSupport.h"
#include "journal/Journal.h"
#include "journal/LocalFile.h"
#include "journal/SpillFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

using namespace barlink::journal;

namespace {

int spilledEntries()
{
    bool ok = false;
    const int count = qEnvironmentVariableIntValue("BENCH_SPILLED", &ok);
    return ok && count > 0 ? count : 1'000'000;
}

// A spill file of count entries, written a chunk at a time.
bool makeSpillFile(const QString &path, int count)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int n = 0; n < count;) {
        std::vector<Entry> chunk;
        for (const int end = std::min(count, n + 20'000); n < end; ++n)
            chunk.push_back(barlink::bench::journalEntry(n, now));
        if (!SpillFile(path).append(chunk).isEmpty())
            return false;
    }
    return true;
}

qint64 entriesIn(const QString &path)
{
    const Connection connection(QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.database();
    if (!openLocalFile(db, path, Durability::Checkpoints).isEmpty())
        return -1;
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT count(*) FROM entries")) && query.next()
               ? query.value(0).toLongLong()
               : -1;
}

void BM_TakeBack(benchmark::State &state)
{
    const int count = spilledEntries();
    for (auto _ : state) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        const QString spill = dir.filePath(QStringLiteral("state/journal.spill"));
        if (!makeSpillFile(spill, count)) {
            state.SkipWithError("cannot make the spill file");
            return;
        }
        QElapsedTimer clock;
        qint64 firstLabel = -1;
        qint64 openReturned = 0;
        qint64 longestTurn = 0;
        {
            Journal journal(path, QStringLiteral("BENCH"), 400);
            journal.setSpillPath(spill);
            clock.start();
            // The label arrives as the journal opens: it is handled at the first turn of the
            // event loop.
            QTimer::singleShot(0, [&] {
                journal.append(
                    barlink::bench::journalEntry(-1, QDateTime::currentMSecsSinceEpoch()));
                firstLabel = clock.nsecsElapsed();
            });
            journal.open();
            openReturned = clock.nsecsElapsed();
            qint64 last = openReturned;
            while (firstLabel < 0 || !journal.isAvailable() || QFile::exists(spill)) {
                QCoreApplication::processEvents();
                const qint64 now = clock.nsecsElapsed();
                longestTurn = std::max(longestTurn, now - last);
                last = now;
            }
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        // Every spilled entry once, the label once, and the journal's own "journal-back".
        if (entriesIn(path) != qint64(count) + 2)
            state.SkipWithError("the journal file does not hold every entry exactly once");
        state.counters["first_label_ms"] = double(firstLabel) / 1e6;
        state.counters["longest_turn_ms"] = double(std::max(longestTurn, openReturned)) / 1e6;
        state.counters["open_ms"] = double(openReturned) / 1e6;
        state.counters["take_s"] = double(clock.nsecsElapsed()) / 1e9;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["max_rss_mb"] = double(usage.ru_maxrss) / 1024;
    state.counters["entries"] = count;
}
BENCHMARK(BM_TakeBack)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

BARLINK_BENCHMARK_MAIN(QCoreApplication)
