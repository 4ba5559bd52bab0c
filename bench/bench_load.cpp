// Load on a whole station reading a pseudo-terminal, its main window showing what it does and
// the List Manager window the list (offscreen unless QT_QPA_PLATFORM says otherwise). A 10 ms
// timer measures how long the event loop was held up at worst (loop_delay_max_ms).
// - BM_ScannerFlood: a scanner that sends without pause for BARLINK_FLOOD_SECONDS (default 10).
//   Targets: the scan buffer within its 262,144 characters, the process's memory within a few
//   MB of where it was, the event loop never held up a frame (16 ms); once the scanner pauses
//   the station reports what it threw away and takes the next item (next_item_ok 1).
// - BM_LongLabel: one label far longer than any barcode: /0 a program barcode of 150 lines,
//   /1 one line of 200,000 characters (refused: a segment is read with a 16-bit position).
//   Target: the main window keeps its size, the event loop is not held up a frame.
// - BM_ItemsBackToBack: BARLINK_LOAD_ITEMS (default 25) two-segment items, each label sent as
//   soon as the station has taken the one before, with the real pauses (1.2 s per item). Per
//   item, from one "ACK" to the next: median_us, max_us. Target: two quiet intervals per label
//   and the pauses, no more; one row and one "ACK" per item.

#include "BenchSupport.h"
#include "PtyPair.h"
#include "StationProbe.h"
#include "StationRig.h"
#include "app/MainWindow.h"
#include "embeddedlist/ListManagerWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <poll.h>
#include <sys/resource.h>
#include <thread>

using namespace barlink;

namespace {

const QByteArray Ack = "ACK\r";

int setting(const char *variable, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(variable, &ok);
    return ok && value > 0 ? value : fallback;
}

// The most memory this process has held so far, in kilobytes.
long maxResidentKb()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Processor time this process has used so far, in seconds.
double processorSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds
        = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs the event loop until `done` holds (looked at every 10 ms) or `ms` have passed.
bool waitFor(const std::function<bool()> &done, int ms = 20000)
{
    QEventLoop loop;
    QTimer check;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > ms)
            loop.quit();
    });
    check.start(10);
    if (!done())
        loop.exec();
    return done();
}

// Writes into the pseudo-terminal's scanner end from a thread of its own, as fast as the
// line takes it: `bytes` once, or over and over until stopped.
class Flood
{
public:
    Flood(int fd, const QByteArray &bytes, bool repeat)
        : m_fd(fd)
        , m_chunk(repeat ? bytes.repeated(256) : bytes)
        , m_repeat(repeat)
        , m_thread([this] { run(); })
    {}
    ~Flood() { stop(); }
    Flood(const Flood &) = delete;
    Flood &operator=(const Flood &) = delete;

    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    [[nodiscard]] qint64 bytesSent() const { return m_sent; }

private:
    void run()
    {
        qsizetype at = 0;
        while (!m_stop) {
            pollfd ready{m_fd, POLLOUT, 0};
            if (::poll(&ready, 1, 20) <= 0)
                continue;
            const ssize_t n = ::write(m_fd, m_chunk.constData() + at, size_t(m_chunk.size() - at));
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return;
            if (n > 0) {
                m_sent += n;
                at = (at + n) % m_chunk.size();
                if (!m_repeat && at == 0)
                    return;
            }
        }
    }

    int m_fd = -1;
    QByteArray m_chunk;
    bool m_repeat = false;
    std::atomic<bool> m_stop = false;
    std::atomic<qint64> m_sent = 0;
    std::thread m_thread;
};

// Notes how late a 10 ms timer fires: the longest the event loop was held up.
class LoopProbe
{
public:
    LoopProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_worstMs = std::max(m_worstMs, m_clock.restart() - m_timer.interval());
            if (onFire)
                onFire();
        });
        m_clock.start();
        m_timer.start(10);
    }
    [[nodiscard]] qint64 worstDelayMs() const { return m_worstMs; }
    std::function<void()> onFire;

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_worstMs = 0;
};

// The station on a pseudo-terminal, as on screen: the main window and the List Manager window.
struct WindowStation
{
    explicit WindowStation(bool realPauses)
        : rig(dir.path(), {.realPauses = realPauses, .shownOn = &window})
        , listWindow(rig.store.get())
    {
        if (!pty.isValid() || !testing::PtyStation::prepare(dir.path(), pty.slavePath())
            || !rig.start())
            return;
        window.bindOptions(rig.station.options());
        window.show();
        listWindow.show();
        running = waitFor([this] { return window.isVisible() && listWindow.isVisible(); });
    }
    [[nodiscard]] bool idle()
    {
        return app::StationProbe(rig.station).poller().scanBuffer().isEmpty()
               && !app::StationProbe(rig.station).gate().isBusy();
    }

    QTemporaryDir dir;
    PtyPair pty;
    app::MainWindow window;
    testing::PtyStation rig;
    embeddedlist::ListManagerWindow listWindow;
    bool running = false;
};

void BM_ScannerFlood(benchmark::State &state)
{
    const int seconds = setting("BARLINK_FLOOD_SECONDS", 10);
    for (auto _ : state) {
        WindowStation station(false);
        if (!station.running) {
            state.SkipWithError("the station did not start on a pseudo-terminal");
            return;
        }
        const long memoryBefore = maxResidentKb();
        const double processorBefore = processorSeconds();
        LoopProbe probe;
        qsizetype largestBuffer = 0;
        probe.onFire = [&] {
            largestBuffer = std::max(
                largestBuffer, app::StationProbe(station.rig.station).poller().scanBuffer().size());
        };
        Flood flood(station.pty.masterFd(), "%12PROG.CNC N1 X", true);
        waitFor([] { return false; }, seconds * 1000);
        flood.stop();
        state.counters["cpu_s"] = processorSeconds() - processorBefore;
        state.counters["bytes_sent"] = double(flood.bytesSent());
        state.counters["loop_delay_max_ms"] = double(probe.worstDelayMs());
        state.counters["scan_buffer_max"] = double(largestBuffer);
        const bool reported = waitFor([&] {
            return station.window.status().startsWith(QLatin1String("Scanner input too long"));
        });
        state.counters["memory_growth_kb"] = double(maxResidentKb() - memoryBefore);
        state.counters["max_resident_kb"] = double(maxResidentKb());

        const qsizetype answered = station.pty.received().size();
        station.pty.write("%12PROG.CNC N1 X");
        waitFor([&] {
            return app::StationProbe(station.rig.station).dispatcher().segmentsSeen() == u"1";
        });
        station.pty.write("%22600 400 18");
        const bool acknowledged
            = waitFor([&] { return station.pty.received().mid(answered) == Ack; });
        state.counters["next_item_ok"] = reported && acknowledged
                                         && station.rig.store->rowCount() == 1
                                         && station.rig.prompter.shown.isEmpty();
        state.counters["seconds"] = seconds;
    }
}

void BM_LongLabel(benchmark::State &state)
{
    QByteArray label = "%19LONG.CNC N " + QByteArray(200000, 'X');
    if (state.range(0) == 0) {
        label = "PB1^X800^Y600^Z18!G71 X800 Y600 Z18\r\n(PB1)\r\n";
        for (int line = 0; line < 150; ++line)
            label += "N" + QByteArray::number(line * 10) + " G1 X100 Y200 Z-5\r\n";
    }
    for (auto _ : state) {
        WindowStation station(false);
        if (!station.running) {
            state.SkipWithError("the station did not start on a pseudo-terminal");
            return;
        }
        const QSize before = station.window.size();
        LoopProbe probe;
        Flood send(station.pty.masterFd(), label, false);
        waitFor([&] {
            return (station.rig.store->rowCount() > 0 || !station.rig.prompter.shown.isEmpty())
                   && station.idle();
        });
        state.counters["loop_delay_max_ms"] = double(probe.worstDelayMs());
        state.counters["label_chars"] = double(label.size());
        state.counters["rows"] = station.rig.store->rowCount();
        state.counters["messages"] = double(station.rig.prompter.shown.size());
        state.counters["window_grew"]
            = station.window.width() > before.width() || station.window.height() > before.height();
    }
}

void BM_ItemsBackToBack(benchmark::State &state)
{
    const int items = setting("BARLINK_LOAD_ITEMS", 25);
    for (auto _ : state) {
        WindowStation station(true);
        if (!station.running) {
            state.SkipWithError("the station did not start on a pseudo-terminal");
            return;
        }
        bench::Samples samples;
        QElapsedTimer clock;
        clock.start();
        for (int i = 1; i <= items; ++i) {
            samples.start();
            const QByteArray name = "ITEM" + QByteArray::number(i).rightJustified(4, '0') + ".CNC";
            station.pty.write("%12" + name + " N1 X");
            if (!waitFor([&] {
                    return app::StationProbe(station.rig.station).dispatcher().segmentsSeen()
                           == u"1";
                })
                || !station.pty.write("%22600 400 18")
                || !waitFor([&] { return station.pty.received().count(Ack) == i; })) {
                state.SkipWithError("an item was not acknowledged");
                return;
            }
            samples.stop();
        }
        waitFor([&] { return station.idle(); });
        samples.report(state);
        state.counters["items"] = items;
        state.counters["rows_ok"]
            = station.rig.rows().size() == items && station.pty.received() == Ack.repeated(items);
        state.SetIterationTime(double(clock.elapsed()) / 1000.0);
    }
}

} // namespace

BENCHMARK(BM_ScannerFlood)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongLabel)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ItemsBackToBack)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

BARLINK_BENCHMARK_MAIN(QApplication)
