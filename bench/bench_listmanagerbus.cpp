// AddLine over the session bus: the station and the list manager in two processes, a private
// dbus-daemon between them, the list manager the real program (it writes each row to its list
// file before it answers).
//   AddLine round trip (the generated proxy, one call, its answer awaited).
//     Target: median at most 1 ms.
//   A row added as the station adds it (RemoteExeList::addLine: Rows, then AddLine).
//     Reported beside it: the station's cost of an item's row over the bus.

#include "BenchBus.h"
#include "listmanager/BusListManager.h"
#include "listmanagerproxy.h"

#include <QCoreApplication>

#include <memory>

using namespace barlink;

namespace {

QString rowText(int n)
{
    return QStringLiteral("#161=ITEM%1.CNC;#162=LEFT DOOR;#164=1;#165=1;#281=;#171=%2;#284=0;"
                          "#285=;#280=;#168=600;#169=400;#170=18;#282= ;#283=;#223= ;#277=;"
                          "#278=;#279=;")
        .arg(n, 6, 10, QLatin1Char('0'))
        .arg(n % 36 + 1);
}

void BM_AddLineRoundTrip(benchmark::State &state)
{
    testing::PrivateBus &bus = bench::listManagerBus();
    if (!bus.isValid()) {
        state.SkipWithError("no private bus (dbus-daemon)");
        return;
    }
    OrgBarlinkListManagerExeListInterface list(
        QStringLiteral("org.barlink.ListManager"), QStringLiteral("/ExeList/1"), bus.connection());
    // The first call starts the list manager.
    list.ClearList().waitForFinished();
    bench::Samples samples;
    int n = 0;
    for (auto _ : state) {
        samples.start();
        QDBusPendingReply<> reply = list.AddLine(rowText(n++));
        reply.waitForFinished();
        samples.stop();
        if (reply.isError()) {
            state.SkipWithError(qPrintable(reply.error().message()));
            break;
        }
    }
    samples.report(state);
}
BENCHMARK(BM_AddLineRoundTrip)->Iterations(2000)->Unit(benchmark::kMicrosecond);

void BM_AddRowAsTheStation(benchmark::State &state)
{
    testing::PrivateBus &bus = bench::listManagerBus();
    if (!bus.isValid()) {
        state.SkipWithError("no private bus (dbus-daemon)");
        return;
    }
    auto listManager = std::make_shared<listmanager::BusListManager>(
        QStringLiteral("org.barlink.ListManager"), bus.connection());
    listmanager::RemoteExeList list(listManager, QStringLiteral("/ExeList/1"));
    list.clearList();
    bench::Samples samples;
    int n = 0;
    for (auto _ : state) {
        samples.start();
        try {
            list.addLine(rowText(n++));
        } catch (const base::Error &error) {
            state.SkipWithError(error.what());
            break;
        }
        samples.stop();
    }
    samples.report(state);
}
BENCHMARK(BM_AddRowAsTheStation)->Iterations(2000)->Unit(benchmark::kMicrosecond);

} // namespace

BARLINK_BENCHMARK_MAIN(QCoreApplication)
