// One two-segment item ("%12PROG.CNC N1 X", then "%22600 400 18") handled by the label
// dispatcher of a whole station: the program file read for its comment, the companion CSV
// looked for, the field chosen, the row built and added to the embedded list manager, which
// writes it to its list file, and "ACK" sent. Pauses excluded (they return at once).
// Target: at most 100 µs median per item.

#include "BenchSupport.h"
#include "StationProbe.h"
#include "StationRig.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace barlink;

namespace {

// A started station in a temporary folder, on a port in memory.
struct StartedStation
{
    using Rig = testing::StationRig<testing::FakeScannerPort>;

    explicit StartedStation(bool programFile)
        : prepared(Rig::prepare(dir.path(), QStringLiteral("/dev/null"))
                   && (!programFile
                       || testing::writeBytes(dir.path() + QStringLiteral("/gcode/PROG.CNC"),
                                              "KTQ 2.0\r\n;;LEFT DOOR\r\nN1\r\nDIM UN=600 Y=400 "
                                              "Z=18\r\nN2 G1 X10\r\n")))
        , rig(dir.path())
    {
        ok = prepared && rig.start();
        // The first label after start-up clears the list: not part of an item.
        ok = ok && app::StationProbe(rig.station).dispatcher().interpretLabel(QStringLiteral("%STOP%"));
    }

    [[nodiscard]] bool handleItem()
    {
        label::LabelDispatcher &dispatcher = app::StationProbe(rig.station).dispatcher();
        const bool first = dispatcher.interpretLabel(QStringLiteral("%12PROG.CNC N1 X"));
        const bool second = dispatcher.interpretLabel(QStringLiteral("%22600 400 18"));
        return !first && second;
    }

    QTemporaryDir dir;
    bool prepared;
    Rig rig;
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
            testing::writeBytes(companionPath, "PROG;600;400;18\r\n");
            state.ResumeTiming();
        }
        samples.start();
        const bool handled = station.handleItem();
        samples.stop();
        if (!handled) {
            state.SkipWithError("the item was not sent");
            return;
        }
        station.rig.port.sent.clear();
        station.rig.instantPacer.pauses.clear();
        station.rig.display.statusHistory.clear();
    }
    samples.report(state);
    state.counters["rows"] = station.rig.store->rowCount();
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
