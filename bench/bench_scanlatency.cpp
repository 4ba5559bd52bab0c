// The scan path's waiting, through a pseudo-terminal, on a station with the real serial port
// adapter polling every CommPollTime ms:
// - BM_LastByteToAck/poll/journal/labelEnd: from the scanner's last byte to the "ACK" it gets
//   back. Each sample writes one item label at a random moment of the poll interval. The
//   three cases side by side, each with the journal kept: LabelEnd=\r (the label ends with
//   it): at most 5 ms median, 15 ms p99; the quiet rule at CommPollTime 100: at most 205 ms
//   median; at 1000: at most 2005 ms median. And LabelEnd without the journal, for what the
//   journal adds. The samples are the benchmark's (manual) iteration times.
// - BM_IdleWakeUps: timer events the station's thread handles while nothing is scanned, after
//   one label has been handled. Target: none.
// - BM_LastByteToAckUnderLoad: the LabelEnd case on a busy station: the journal window open on
//   a journal of a million entries (told of each new entry, as the program's is), the List
//   Manager window on 100,000 rows, and the station's forwarder catching up 100,000 journal
//   entries with a private PostgreSQL server. Target: p99 at most 30 ms.
// - BM_AckWithPauses/itemPauseMs: the LabelEnd case, journal on, with the station's real pauses
//   of ItemPauseMs after each item: a label, and the next 0.5 s after it; the sample is from the
//   second label's last byte to its "ACK". At 600 (two pauses of 0.6 s) the second label waits
//   for the first's pauses; at 0 it is answered as the first was.
// - BM_AckListManager/bus: the LabelEnd case, journal on, with the list manager in the
//   station's process (bus:0, the embedded one) and out of it (bus:1: the real list manager
//   program on a private session bus, the station driving it over the bus as the program
//   does). Both with the real pauses and ItemPauseMs=0, so that what is measured is the
//   label's handling (the row added to the list, the entry committed), not the pauses. Target:
//   the LabelEnd one, at most 5 ms median and 15 ms p99, out of process too.

#include "BenchBus.h"
#include "BenchSupport.h"
#include "PgServer.h"
#include "PtyPair.h"
#include "StationProbe.h"
#include "StationRig.h"
#include "embeddedlist/ListManagerWindow.h"
#include "embeddedlist/ListStore.h"
#include "journal/ui/JournalWindow.h"
#include "listmanager/BusListManager.h"
#include "listmanager/BusNames.h"
#include "listmanagerproxy.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

using namespace barlink;

namespace {

const QByteArray Ack("ACK\r");

// Runs the event loop for ms milliseconds, or until quit() is called.
class Wait
{
public:
    explicit Wait(int ms)
    {
        m_end.setSingleShot(true);
        QObject::connect(&m_end, &QTimer::timeout, &m_loop, &QEventLoop::quit);
        m_end.start(ms);
    }
    void run() { m_loop.exec(); }
    void quit() { m_loop.quit(); }
    [[nodiscard]] const QObject *timer() const { return &m_end; }

private:
    QEventLoop m_loop;
    QTimer m_end;
};

// Counts the timer events delivered in this thread, except those of one timer.
class TimerEventCounter : public QObject
{
public:
    explicit TimerEventCounter(const QObject *ignored)
        : m_ignored(ignored)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~TimerEventCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    [[nodiscard]] int count() const { return m_count; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer && watched != m_ignored)
            ++m_count;
        return false;
    }

private:
    const QObject *m_ignored;
    int m_count = 0;
};

// What keeps a station busy around its scans (BM_LastByteToAckUnderLoad).
struct Busy
{
    QString server;       // JournalServer: the shop server the forwarder catches up with
    int backlog = 0;      // entries in the station's journal at start, none on the server
    int listRows = 0;     // rows in the list at start; the List Manager window shows them
    QString shownJournal; // the journal the journal window shows
};

// A running station whose scanner is the master end of a pseudo-terminal.
class ScanStation
{
public:
    // journaled: the station keeps its scan journal in the temporary folder, as the program does.
    // labelEnd: the LabelEnd setting, empty for none. busy: its windows open and its forwarder
    // at work. itemPauseMs: the ItemPauseMs setting, and the station's pauses are waited for
    // real (window events running), as the program's are; none: they return at once.
    // listManagerBus: the bus whose list manager the station drives; none: the embedded one.
    explicit ScanStation(int pollMs,
                         bool journaled = false,
                         const QByteArray &labelEnd = {},
                         const Busy *busy = nullptr,
                         std::optional<int> itemPauseMs = std::nullopt,
                         const testing::PrivateBus *listManagerBus = nullptr)
        : m_prepared(
            m_pty.isValid() && m_dir.isValid()
            && testing::PtyStation::prepare(
                m_dir.path(),
                m_pty.slavePath(),
                "CommPollTime=" + QByteArray::number(pollMs) + "\r\n"
                    + (labelEnd.isEmpty() ? QByteArray() : "LabelEnd=" + labelEnd + "\r\n")
                    + (busy ? "JournalServer=" + busy->server.toLocal8Bit() + "\r\n" : QByteArray())
                    + (itemPauseMs ? "ItemPauseMs=" + QByteArray::number(*itemPauseMs) + "\r\n"
                                   : QByteArray())))
        , m_busProvider(listManagerBus ? std::make_unique<listmanager::BusListManagerProvider>(
                            [] {
                                return listmanager::BusListManagerProvider::Target{
                                    QString::fromLatin1(listmanager::bus::serviceName)};
                            },
                            listManagerBus->connection())
                                       : nullptr)
        , m_rig(
              m_dir.path(),
              {.realPauses = itemPauseMs.has_value(),
               .journal = journaled ? m_dir.path() + QStringLiteral("/journal.sqlite") : QString(),
               .listManager = m_busProvider.get()})
        , m_station(m_rig.station)
        , m_store(m_rig.store)
        , m_pollMs(pollMs)
        , m_listManagerBus(listManagerBus)
    {
        if (!m_prepared)
            return;
        const QString root = m_dir.path();
        if (busy && !bench::fillJournal(root + QStringLiteral("/journal.sqlite"), busy->backlog))
            return;
        for (int row = 0; busy && row < busy->listRows; ++row)
            m_store->addRow(QStringLiteral("#161=ROW%1.CNC;#162=;#164=1;#171=1;").arg(row));
        if (!m_rig.start())
            return;
        m_running = true;
        if (!busy)
            return;
        m_listWindow = std::make_unique<embeddedlist::ListManagerWindow>(m_store.get());
        m_listWindow->show();
        m_journalWindow = std::make_unique<journal::JournalWindow>(busy->shownJournal, QString());
        m_journalWindow->show();
        QObject::connect(&m_station,
                         &app::Station::entryMade,
                         m_journalWindow.get(),
                         &journal::JournalWindow::entriesWritten);
        QObject::connect(
            &m_station,
            &app::Station::shopStateChanged,
            m_journalWindow.get(),
            [this](const journal::ForwardState &state) { m_forwardWaiting = state.waiting; });
    }

    // The entries the forwarder has still to send, as it last said.
    [[nodiscard]] qint64 forwardWaiting() const { return m_forwardWaiting; }

    [[nodiscard]] bool isRunning() const { return m_running; }

    // The rows of the list the station adds to: the embedded store's, or those the list
    // manager program holds (asked over the bus); -1 when it cannot be asked.
    [[nodiscard]] qint32 listRows() const
    {
        if (!m_listManagerBus)
            return m_store->rowCount();
        OrgBarlinkListManagerExeListInterface list(
            QString::fromLatin1(listmanager::bus::serviceName),
            QString::fromLatin1(listmanager::bus::currentListPath),
            m_listManagerBus->connection());
        const QVariant rows = list.property("Rows");
        return rows.isValid() ? rows.toInt() : -1;
    }

    // Writes one label at the scanner end; the nanoseconds from its last byte to the "ACK"
    // arriving there, or -1 when none came within 20 poll intervals.
    qint64 scanToAck(const QByteArray &label)
    {
        const qsizetype acks = m_pty.received().count(Ack);
        QElapsedTimer clock;
        qint64 ackAt = -1;
        Wait wait(20 * m_pollMs);
        QSocketNotifier answer(m_pty.masterFd(), QSocketNotifier::Read);
        QObject::connect(&answer, &QSocketNotifier::activated, [&] {
            if (ackAt < 0 && m_pty.received().count(Ack) > acks) {
                ackAt = clock.nsecsElapsed();
                wait.quit();
            }
        });
        clock.start();
        m_pty.write(label);
        const qint64 sent = clock.nsecsElapsed();
        wait.run();
        return ackAt < 0 ? -1 : ackAt - sent;
    }

    // Writes `first`, and `second` gapMs after it, while the station handles the first (its
    // pauses run their own event loops, so the second is written from a timer); the
    // nanoseconds from the second's last byte to its "ACK", or -1 when none came.
    qint64 secondToAck(const QByteArray &first, const QByteArray &second, int gapMs)
    {
        const qsizetype acks = m_pty.received().count(Ack);
        QElapsedTimer clock;
        qint64 sentAt = -1;
        qint64 ackAt = -1;
        Wait wait(gapMs + 40 * m_pollMs);
        QSocketNotifier answer(m_pty.masterFd(), QSocketNotifier::Read);
        QObject::connect(&answer, &QSocketNotifier::activated, [&] {
            // Read whatever came, so that the notifier does not fire again for it.
            const qsizetype now = m_pty.received().count(Ack);
            if (sentAt >= 0 && ackAt < 0 && now > acks + 1) {
                ackAt = clock.nsecsElapsed();
                wait.quit();
            }
        });
        QTimer gap;
        gap.setSingleShot(true);
        gap.setTimerType(Qt::PreciseTimer);
        QObject::connect(&gap, &QTimer::timeout, [&] {
            m_pty.write(second);
            sentAt = clock.nsecsElapsed();
        });
        clock.start();
        m_pty.write(first);
        gap.start(gapMs);
        wait.run();
        return ackAt < 0 ? -1 : ackAt - sentAt;
    }

    // Lets the handling of the label in hand finish (at most 20 poll intervals).
    void settle()
    {
        for (int i = 0; i < 20 * m_pollMs && !idle(); ++i)
            Wait(1).run();
    }

private:
    [[nodiscard]] bool idle()
    {
        return !app::StationProbe(m_station).gate().isBusy()
               && app::StationProbe(m_station).poller().scanBuffer().isEmpty();
    }

    PtyPair m_pty;
    QTemporaryDir m_dir;
    bool m_prepared;
    std::unique_ptr<listmanager::BusListManagerProvider> m_busProvider;
    testing::PtyStation m_rig;
    app::Station &m_station;
    const std::shared_ptr<embeddedlist::ListStore> &m_store;
    int m_pollMs;
    const testing::PrivateBus *m_listManagerBus;
    bool m_running = false;
    qint64 m_forwardWaiting = -1;
    std::unique_ptr<embeddedlist::ListManagerWindow> m_listWindow;
    std::unique_ptr<journal::JournalWindow> m_journalWindow;
};

// Scans an item label per sample, ended with CR when the station's LabelEnd is CR; the samples
// (last byte to "ACK") are the iteration times. False when a label went unanswered.
bool measure(benchmark::State &state, ScanStation &station, int pollMs, bool labelEnd)
{
    bench::Samples samples;
    int item = 0;
    for (auto _ : state) {
        Wait(int(QRandomGenerator::global()->bounded(pollMs))).run();
        const double cpuBefore = bench::Samples::threadCpuMicroseconds();
        const double queuedBefore = bench::Samples::threadQueuedMicroseconds();
        const qint64 ns = station.scanToAck("%19ITEM" + QByteArray::number(++item) + ".CNC N"
                                            + (labelEnd ? "\r" : ""));
        if (ns < 0) {
            state.SkipWithError("no ACK");
            return false;
        }
        const double seconds = double(ns) / 1e9;
        state.SetIterationTime(seconds);
        samples.addMicroseconds(seconds * 1e6,
                                bench::Samples::threadCpuMicroseconds() - cpuBefore,
                                bench::Samples::threadQueuedMicroseconds() - queuedBefore);
        station.settle();
    }
    samples.report(state);
    state.counters["poll_ms"] = pollMs;
    state.counters["label_end"] = double(labelEnd);
    return true;
}

void BM_LastByteToAck(benchmark::State &state)
{
    const int pollMs = int(state.range(0));
    const bool labelEnd = state.range(2) != 0;
    ScanStation station(pollMs, state.range(1) != 0, labelEnd ? "\\r" : "");
    if (!station.isRunning()) {
        state.SkipWithError("the station did not start on a pseudo-terminal");
        return;
    }
    if (measure(state, station, pollMs, labelEnd))
        state.counters["journaled"] = double(state.range(1));
}

void BM_AckWithPauses(benchmark::State &state)
{
    constexpr int PollMs = 100;
    constexpr int GapMs = 500;
    const int itemPauseMs = int(state.range(0));
    ScanStation station(PollMs, true, "\\r", nullptr, itemPauseMs);
    if (!station.isRunning()) {
        state.SkipWithError("the station did not start on a pseudo-terminal");
        return;
    }
    bench::Samples samples;
    int item = 0;
    for (auto _ : state) {
        const QByteArray first = "%19ITEM" + QByteArray::number(++item) + ".CNC N\r";
        const QByteArray second = "%19ITEM" + QByteArray::number(++item) + ".CNC N\r";
        const double cpuBefore = bench::Samples::threadCpuMicroseconds();
        const double queuedBefore = bench::Samples::threadQueuedMicroseconds();
        const qint64 ns = station.secondToAck(first, second, GapMs);
        if (ns < 0) {
            state.SkipWithError("no ACK");
            return;
        }
        const double seconds = double(ns) / 1e9;
        state.SetIterationTime(seconds);
        samples.addMicroseconds(seconds * 1e6,
                                bench::Samples::threadCpuMicroseconds() - cpuBefore,
                                bench::Samples::threadQueuedMicroseconds() - queuedBefore);
        station.settle();
    }
    samples.report(state);
    state.counters["item_pause_ms"] = itemPauseMs;
    state.counters["gap_ms"] = GapMs;
}

void BM_AckListManager(benchmark::State &state)
{
    constexpr int PollMs = 100;
    const bool outOfProcess = state.range(0) != 0;
    const testing::PrivateBus *bus = outOfProcess ? &bench::listManagerBus() : nullptr;
    if (bus && !bus->isValid()) {
        state.SkipWithError("no private bus (dbus-daemon)");
        return;
    }
    ScanStation station(PollMs, true, "\\r", nullptr, 0, bus);
    if (!station.isRunning()) {
        state.SkipWithError("the station did not start on a pseudo-terminal");
        return;
    }
    // The first label empties the list, as the first after every start does, and out of
    // process the bus starts the list manager for it: not a sample.
    if (station.scanToAck("%19FIRST.CNC N\r") < 0) {
        state.SkipWithError("no ACK to the first label");
        return;
    }
    station.settle();
    if (measure(state, station, PollMs, true)) {
        // Each label added its row: the first and one per sample.
        const qint32 rows = station.listRows();
        state.counters["rows"] = rows;
        state.counters["rows_ok"] = double(rows == qint32(state.iterations()) + 1);
        state.counters["out_of_process"] = double(outOfProcess);
        state.counters["item_pause_ms"] = 0;
    }
}

void BM_IdleWakeUps(benchmark::State &state)
{
    constexpr int PollMs = 100;
    const int idleMs = int(state.range(0));
    ScanStation station(PollMs);
    if (!station.isRunning() || station.scanToAck("%19FIRST.CNC N") < 0) {
        state.SkipWithError("the station did not start or answer a label");
        return;
    }
    station.settle();
    int wakeUps = 0;
    for (auto _ : state) {
        Wait idle(idleMs);
        const TimerEventCounter counter(idle.timer());
        idle.run();
        wakeUps += counter.count();
        state.SetIterationTime(idleMs / 1000.0);
    }
    state.counters["wakeups"] = wakeUps;
    state.counters["wakeups_per_s"] = wakeUps / (double(state.iterations()) * idleMs / 1000.0);
    state.counters["poll_ms"] = PollMs;
}

void BM_LastByteToAckUnderLoad(benchmark::State &state)
{
    const PgServer server;
    if (!server.running()) {
        state.SkipWithError(qPrintable(server.failure()));
        return;
    }
    const QTemporaryDir dir;
    const QString million = dir.filePath(QStringLiteral("million.sqlite"));
    if (!bench::fillJournal(million, 1'000'000)) {
        state.SkipWithError("cannot make the journal of a million entries");
        return;
    }
    const Busy busy{server.connectionString(), 100'000, 100'000, million};
    ScanStation station(100, true, "\\r", &busy);
    if (!station.isRunning()) {
        state.SkipWithError("the station did not start on a pseudo-terminal");
        return;
    }
    // The forwarder starts on its backlog as the station starts; how much of it waits as the
    // scans begin and once they are done.
    Wait(100).run();
    state.counters["forward_waiting_first"] = double(station.forwardWaiting());
    if (measure(state, station, 100, true))
        state.counters["forward_waiting_last"] = double(station.forwardWaiting());
}

} // namespace

BENCHMARK(BM_LastByteToAck)
    ->Args({100, 0, 1})
    ->Args({100, 1, 1})
    ->Args({100, 1, 0})
    ->Args({1000, 1, 0})
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AckWithPauses)
    ->Arg(600)
    ->Arg(0)
    ->Iterations(100)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AckListManager)
    ->ArgName("bus")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleWakeUps)->Arg(2000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LastByteToAckUnderLoad)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BARLINK_BENCHMARK_MAIN(QApplication)
