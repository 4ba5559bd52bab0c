// The embedded list manager at 100,000 rows.
//   AddLine, 100,000 times, each row written to the list file before the call returns.
//     Target: at most 2 s in all (an added row is appended, the list is never rewritten).
//   The List Manager window on such a list: opening it, adding a row while it shows the end
//   of the list, and scrolling it a page at a time or to any row, each step painted.
//     Target: no stutter, i.e. every step well inside one frame (16 ms).

#include "BenchSupport.h"
#include "embeddedlist/EmbeddedExeList.h"
#include "embeddedlist/ListManagerWindow.h"
#include "embeddedlist/ListStore.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <memory>

using namespace barlink;

namespace {

constexpr int ListSize = 100000;

QString rowText(int n)
{
    return QStringLiteral("#161=ITEM%1.CNC;#162=LEFT DOOR;#164=1;#165=1;#281=;#171=%2;#284=0;"
                          "#285=;#280=;#168=600;#169=400;#170=18;#282= ;#283=;#223= ;#277=;"
                          "#278=;#279=;")
        .arg(n, 6, 10, QLatin1Char('0'))
        .arg(n % 36 + 1);
}

void BM_AddLine100k(benchmark::State &state)
{
    const bool withWindow = state.range(0) != 0;
    QStringList rows;
    for (int n = 0; n < ListSize; ++n)
        rows << rowText(n);
    for (auto _ : state) {
        state.PauseTiming();
        auto dir = std::make_unique<QTemporaryDir>();
        auto store = std::make_shared<embeddedlist::ListStore>(dir->path());
        embeddedlist::EmbeddedExeList list(store);
        std::unique_ptr<embeddedlist::ListManagerWindow> window;
        if (withWindow) {
            window = std::make_unique<embeddedlist::ListManagerWindow>(store.get());
            window->show();
            QCoreApplication::processEvents();
        }
        state.ResumeTiming();

        for (const QString &row : std::as_const(rows))
            list.addLine(row);
        if (window)
            QCoreApplication::processEvents(); // the window catches up with the rows

        state.PauseTiming();
        if (store->rowCount() != ListSize)
            state.SkipWithError("rows missing");
        window.reset();
        store.reset();
        dir.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = ListSize;
}

// A shown List Manager window on a list of 100,000 rows, made once.
struct ListWindow
{
    ListWindow()
        : store(std::make_shared<embeddedlist::ListStore>(dir.path()))
    {
        QStringList rows;
        for (int n = 0; n < ListSize; ++n)
            rows << rowText(n);
        store->replaceRows(rows);
    }
    void open()
    {
        window = std::make_unique<embeddedlist::ListManagerWindow>(store.get());
        window->resize(900, 560);
        window->show();
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    std::shared_ptr<embeddedlist::ListStore> store;
    std::unique_ptr<embeddedlist::ListManagerWindow> window;
};

ListWindow &listWindow()
{
    static std::unique_ptr<ListWindow> shared;
    if (!shared) {
        shared = std::make_unique<ListWindow>();
        bench::beforeExit = [] { shared.reset(); };
    }
    return *shared;
}

void BM_OpenWindow100k(benchmark::State &state)
{
    ListWindow &list = listWindow();
    bench::Samples samples;
    for (auto _ : state) {
        samples.start();
        list.open();
        list.window->tableView()->viewport()->repaint();
        samples.stop();
    }
    samples.report(state);
}

void BM_ScrollStep100k(benchmark::State &state)
{
    const bool jump = state.range(0) != 0;
    ListWindow &list = listWindow();
    if (!list.window)
        list.open();
    QTableView *view = list.window->tableView();
    QScrollBar *bar = view->verticalScrollBar();
    bench::Samples samples;
    for (auto _ : state) {
        const int next = jump ? int(QRandomGenerator::global()->bounded(bar->maximum() + 1))
                              : (bar->value() + bar->pageStep()) % (bar->maximum() + 1);
        samples.start();
        bar->setValue(next);
        view->viewport()->repaint();
        samples.stop();
    }
    samples.report(state);
    state.counters["rows"] = list.store->rowCount();
}

// One more row while the window follows the end of the list, with the window's update.
void BM_AddLineWindowFollowing100k(benchmark::State &state)
{
    ListWindow &list = listWindow();
    if (!list.window)
        list.open();
    list.window->tableView()->scrollToBottom();
    QCoreApplication::processEvents();
    embeddedlist::EmbeddedExeList exeList(list.store);
    bench::Samples samples;
    int n = ListSize;
    for (auto _ : state) {
        const QString row = rowText(n++);
        samples.start();
        exeList.addLine(row);
        QCoreApplication::processEvents();
        list.window->tableView()->viewport()->repaint();
        samples.stop();
    }
    samples.report(state);
}

} // namespace

BENCHMARK(BM_AddLine100k)
    ->ArgName("window")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWindow100k)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollStep100k)
    ->ArgName("jump")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(500)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddLineWindowFollowing100k)->Iterations(500)->Unit(benchmark::kMicrosecond);

BARLINK_BENCHMARK_MAIN(QApplication)
