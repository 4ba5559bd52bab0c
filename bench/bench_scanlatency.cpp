// From the scanner's last byte to the row in the list, through a pseudo-terminal: a station
// on the real serial port adapter, polling every CommPollTime ms. A label is handled on the
// second quiet tick after the tick that read it, so the latency lies between two and three
// poll intervals, depending on where in an interval the last byte falls; each sample sends
// at a random point of the interval. Target: at most two quiet ticks plus one tick of jitter
// (3 x CommPollTime). The samples are the benchmark's (manual) iteration times.

#include "BenchSupport.h"
#include "Fakes.h"
#include "PtyPair.h"
#include "app/Station.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"
#include "scanner/SerialScannerPort.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

using namespace barlink;

namespace {

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void BM_LastByteToRow(benchmark::State &state)
{
    const int pollMs = int(state.range(0));
    PtyPair pty;
    QTemporaryDir dir;
    if (!pty.isValid() || !dir.isValid()) {
        state.SkipWithError("no pseudo-terminal or temporary folder");
        return;
    }
    const QString root = dir.path();
    for (const char *folder : {"program", "windows", "gcode", "csvin", "run"})
        QDir(root).mkpath(QLatin1String(folder));
    {
        QFile ini(root + QStringLiteral("/program/KTQ.INI"));
        ini.open(QIODevice::WriteOnly);
        const QByteArray r = root.toLocal8Bit();
        ini.write("[GESTBCOD]\r\nCommDevice=" + pty.slavePath().toLocal8Bit()
                  + "\r\nCommPollTime=" + QByteArray::number(pollMs) + "\r\nGCodePath=" + r
                  + "/gcode/\r\nCSVInPath=" + r + "/csvin\r\nCSVOutPath=" + r
                  + "/collected.csv\r\nAutoClear= 0\r\nAutoStart= 0\r\n");
    }
    testing::FakeDisplay display;
    testing::ScriptedPrompter prompter;
    testing::InstantPacer pacer;
    scanner::SerialScannerPort port;
    auto store = std::make_shared<embeddedlist::ListStore>(root + QStringLiteral("/data"));
    embeddedlist::EmbeddedListManagerProvider provider(store);
    app::Station station({display, prompter, pacer, port, provider},
                         root + QStringLiteral("/program"),
                         root + QStringLiteral("/windows"));
    station.setInstanceLockDir(root + QStringLiteral("/run"));
    if (station.start(true) != app::Startup::Outcome::Running || !port.isOpen()) {
        state.SkipWithError("the station did not start");
        return;
    }
    station.startPolling();

    QElapsedTimer clock;
    qint64 rowAt = -1;
    QObject::connect(
        store.get(), &embeddedlist::ListStore::rowsAppended, [&] { rowAt = clock.nsecsElapsed(); });
    bench::Samples samples;
    int item = 0;
    for (auto _ : state) {
        wait(int(QRandomGenerator::global()->bounded(pollMs)));
        const QByteArray label = "%19ITEM" + QByteArray::number(++item) + ".CNC N";
        rowAt = -1;
        clock.start();
        pty.write(label);
        const qint64 sent = clock.nsecsElapsed();
        QElapsedTimer patience;
        patience.start();
        while (rowAt < 0 && patience.elapsed() < 20 * pollMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (rowAt < 0) {
            state.SkipWithError("no row");
            return;
        }
        const double seconds = double(rowAt - sent) / 1e9;
        state.SetIterationTime(seconds);
        samples.addMicroseconds(seconds * 1e6);
        // Let the handling finish (status, "ACK") before the next label.
        while (station.gate().isBusy() || !station.poller().scanBuffer().isEmpty())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        (void)pty.received();
    }
    samples.report(state);
    state.counters["poll_ms"] = pollMs;
    state.counters["target_us"] = 3.0 * pollMs * 1000.0;
}

} // namespace

BENCHMARK(BM_LastByteToRow)
    ->Arg(100)
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LastByteToRow)
    ->Arg(1000)
    ->Iterations(8)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BARLINK_BENCHMARK_MAIN(QCoreApplication)
