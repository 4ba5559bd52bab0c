// The scan path's waiting, through a pseudo-terminal, on a station with the real serial port
// adapter polling every CommPollTime ms:
// - BM_LastByteToAck: from the scanner's last byte to the "ACK" it gets back. Each sample
//   writes one item label at a random moment of the poll interval. Target at CommPollTime
//   100: at most 205 ms median and 215 ms maximum, the two quiet intervals and little more.
//   The samples are the benchmark's (manual) iteration times.
// - BM_IdleWakeUps: timer events the station's thread handles while nothing is scanned, after
//   one label has been handled. Target: none.

#include "BenchSupport.h"
#include "Fakes.h"
#include "PtyPair.h"
#include "app/Station.h"
#include "app/StationBuilder.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"
#include "scanner/SerialScannerPort.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

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

// A running station whose scanner is the master end of a pseudo-terminal.
class ScanStation
{
public:
    // journaled: the station keeps its scan journal in the temporary folder, as the program does.
    explicit ScanStation(int pollMs, bool journaled = false)
        : m_store(std::make_shared<embeddedlist::ListStore>(m_dir.path() + QStringLiteral("/data")))
        , m_provider(m_store)
        , m_built(
              app::StationBuilder(m_display, m_prompter, m_pacer, m_port, m_provider)
                  .folders(m_dir.path() + QStringLiteral("/program"),
                           m_dir.path() + QStringLiteral("/windows"))
                  .instanceLockDir(m_dir.path() + QStringLiteral("/run"))
                  .journal(journaled ? m_dir.path() + QStringLiteral("/journal.sqlite") : QString())
                  .build())
        , m_station(*m_built)
        , m_pollMs(pollMs)
    {
        if (!m_pty.isValid() || !m_dir.isValid())
            return;
        const QString root = m_dir.path();
        for (const char *folder : {"program", "windows", "gcode", "csvin", "run"})
            QDir(root).mkpath(QLatin1String(folder));
        QFile ini(root + QStringLiteral("/program/KTQ.INI"));
        if (!ini.open(QIODevice::WriteOnly))
            return;
        const QByteArray r = root.toLocal8Bit();
        ini.write("[GESTBCOD]\r\nCommDevice=" + m_pty.slavePath().toLocal8Bit()
                  + "\r\nCommPollTime=" + QByteArray::number(pollMs) + "\r\nGCodePath=" + r
                  + "/gcode/\r\nCSVInPath=" + r + "/csvin\r\nCSVOutPath=" + r
                  + "/collected.csv\r\nAutoClear= 0\r\nAutoStart= 0\r\n");
        ini.close();
        if (m_station.start(true) != app::Startup::Outcome::Running || !m_port.isOpen())
            return;
        m_station.startPolling();
        m_running = true;
    }

    [[nodiscard]] bool isRunning() const { return m_running; }

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

    // Lets the handling of the label in hand finish (at most 20 poll intervals).
    void settle()
    {
        for (int i = 0; i < 20 * m_pollMs && !idle(); ++i)
            Wait(1).run();
    }

private:
    [[nodiscard]] bool idle()
    {
        return !m_station.gate().isBusy() && m_station.poller().scanBuffer().isEmpty();
    }

    PtyPair m_pty;
    QTemporaryDir m_dir;
    testing::FakeDisplay m_display;
    testing::ScriptedPrompter m_prompter;
    testing::InstantPacer m_pacer;
    scanner::SerialScannerPort m_port;
    std::shared_ptr<embeddedlist::ListStore> m_store;
    embeddedlist::EmbeddedListManagerProvider m_provider;
    // The station the builder made, and the name it goes by.
    std::unique_ptr<app::Station> m_built;
    app::Station &m_station;
    int m_pollMs;
    bool m_running = false;
};

void BM_LastByteToAck(benchmark::State &state)
{
    const int pollMs = int(state.range(0));
    ScanStation station(pollMs, state.range(1) != 0);
    if (!station.isRunning()) {
        state.SkipWithError("the station did not start on a pseudo-terminal");
        return;
    }
    bench::Samples samples;
    int item = 0;
    for (auto _ : state) {
        Wait(int(QRandomGenerator::global()->bounded(pollMs))).run();
        const qint64 ns = station.scanToAck("%19ITEM" + QByteArray::number(++item) + ".CNC N");
        if (ns < 0) {
            state.SkipWithError("no ACK");
            return;
        }
        const double seconds = double(ns) / 1e9;
        state.SetIterationTime(seconds);
        samples.addMicroseconds(seconds * 1e6);
        station.settle();
    }
    samples.report(state);
    state.counters["poll_ms"] = pollMs;
    state.counters["journaled"] = double(state.range(1));
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

} // namespace

BENCHMARK(BM_LastByteToAck)
    ->Args({100, 0})
    ->Args({100, 1})
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LastByteToAck)
    ->Args({1000, 0})
    ->Iterations(8)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleWakeUps)->Arg(2000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

BARLINK_BENCHMARK_MAIN(QCoreApplication)
