// One two-segment item ("%12PROG.CNC N1 X", then "%22600 400 18") handled by the label
// dispatcher of a whole station: the program file read for its comment, the companion CSV
// looked for, the field chosen, the row built and added to the embedded list manager, which
// writes it to its list file, and "ACK" sent. Pauses excluded (they return at once).
// Target: at most 100 µs median per item.

#include "BenchSupport.h"
#include "Fakes.h"
#include "StationProbe.h"
#include "app/Station.h"
#include "app/StationBuilder.h"
#include "embeddedlist/EmbeddedListManagerProvider.h"
#include "embeddedlist/ListStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace barlink;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A started station in a temporary folder, on a port in memory.
struct StartedStation
{
    explicit StartedStation(bool programFile)
    {
        const QString root = dir.path();
        for (const char *folder : {"program", "windows", "gcode", "csvin", "run"})
            QDir(root).mkpath(QLatin1String(folder));
        const QByteArray r = root.toLocal8Bit();
        writeFile(root + QStringLiteral("/program/KTQ.INI"),
                  "[GESTBCOD]\r\nCommDevice=/dev/null\r\nCommPollTime=100\r\nGCodePath=" + r
                      + "/gcode/\r\nListPath=" + r + "/lists/\r\nCSVInPath=" + r
                      + "/csvin\r\nCSVOutPath=" + r
                      + "/collected.csv\r\nAutoClear= 0\r\nAutoStart= 0\r\n");
        if (programFile) {
            writeFile(root + QStringLiteral("/gcode/PROG.CNC"),
                      "KTQ 2.0\r\n;;LEFT DOOR\r\nN1\r\nDIM UN=600 Y=400 Z=18\r\nN2 G1 X10\r\n");
        }
        store = std::make_shared<embeddedlist::ListStore>(root + QStringLiteral("/data"));
        provider = std::make_unique<embeddedlist::EmbeddedListManagerProvider>(store);
        station = app::StationBuilder(display, prompter, pacer, port, *provider)
                      .folders(root + QStringLiteral("/program"), root + QStringLiteral("/windows"))
                      .instanceLockDir(root + QStringLiteral("/run"))
                      .build();
        ok = station->start(true) == app::Startup::Outcome::Running && port.isOpen();
        // The first label after start-up clears the list: not part of an item.
        ok = ok
             && app::StationProbe(*station).dispatcher().interpretLabel(QStringLiteral("%STOP%"));
    }

    [[nodiscard]] bool handleItem()
    {
        label::LabelDispatcher &dispatcher = app::StationProbe(*station).dispatcher();
        const bool first = dispatcher.interpretLabel(QStringLiteral("%12PROG.CNC N1 X"));
        const bool second = dispatcher.interpretLabel(QStringLiteral("%22600 400 18"));
        return !first && second;
    }

    QTemporaryDir dir;
    testing::FakeDisplay display;
    testing::ScriptedPrompter prompter;
    testing::InstantPacer pacer;
    testing::FakeScannerPort port;
    std::shared_ptr<embeddedlist::ListStore> store;
    std::unique_ptr<embeddedlist::EmbeddedListManagerProvider> provider;
    std::unique_ptr<app::Station> station;
    bool ok = false;
};

void itemHandled(benchmark::State &state, bool programFile, bool companion)
{
    StartedStation station(programFile);
    if (!station.ok) {
        state.SkipWithError("the station did not start");
        return;
    }
    const QString companionPath = station.dir.path() + QStringLiteral("/csvin/PROG.CSV");
    bench::Samples samples;
    for (auto _ : state) {
        if (companion) {
            state.PauseTiming();
            writeFile(companionPath, "PROG;600;400;18\r\n");
            state.ResumeTiming();
        }
        samples.start();
        const bool handled = station.handleItem();
        samples.stop();
        if (!handled) {
            state.SkipWithError("the item was not sent");
            return;
        }
        station.port.sent.clear();
        station.pacer.pauses.clear();
        station.display.statusHistory.clear();
    }
    samples.report(state);
    state.counters["rows"] = station.store->rowCount();
}

void BM_TwoSegmentItem(benchmark::State &state)
{
    itemHandled(state, true, false);
}
void BM_TwoSegmentItem_NoProgramFile(benchmark::State &state)
{
    itemHandled(state, false, false);
}
void BM_TwoSegmentItem_CompanionCsv(benchmark::State &state)
{
    itemHandled(state, true, true);
}

} // namespace

BENCHMARK(BM_TwoSegmentItem)->Unit(benchmark::kMicrosecond)->Iterations(20000);
BENCHMARK(BM_TwoSegmentItem_NoProgramFile)->Unit(benchmark::kMicrosecond)->Iterations(20000);
BENCHMARK(BM_TwoSegmentItem_CompanionCsv)->Unit(benchmark::kMicrosecond)->Iterations(500);

BARLINK_BENCHMARK_MAIN(QCoreApplication)
