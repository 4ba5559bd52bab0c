// A reason rendered for the screen in German, as the recent scans, the result panel and the
// journal window do for every entry they show. Target: a few microseconds at most, so that a
// page of the journal window (200 entries) renders its reasons in well under a millisecond.
// The samples: a refusal alone, a value refusal holding "; ", a setting's problem with its
// why and what instead, a failure after rows went in, a program barcode's list manager failure.

#include "base/Reasons.h"

#include <QCoreApplication>
#include <QTranslator>

#include <benchmark/benchmark.h>

using barlink::base::Reason;
using Code = Reason::Code;

namespace {

const std::vector<Reason> &samples()
{
    static const std::vector<Reason> reasons{
        Reason(Code::NoWorkField),
        Reason(Code::ValueWithSemicolon, Reason(Code::NameValue), QStringLiteral("A; B")),
        Reason(Code::NotUsed,
               QStringLiteral("StationName"),
               QStringLiteral("A\\x01"),
               Reason(Code::StationNameRule, 64),
               Reason(Code::HostName)),
        Reason(Code::AtPath,
               Reason(Code::RowsAddedAfterSentence, Reason(Code::PathNotFound), 2),
               QStringLiteral("/data/Barlink.csv")),
        Reason(Code::RowsAddedAfter,
               Reason(Code::ProgramAbandoned,
                      Reason(Code::ListManagerFailed,
                             Reason(Code::AddRow),
                             QStringLiteral("Unexpected error # 440 occured: no answer"))),
               1),
    };
    return reasons;
}

void BM_ShownReason(benchmark::State &state)
{
    const Reason &reason = samples().at(std::size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(reason.shown());
    state.SetLabel(reason.name().toStdString());
}
BENCHMARK(BM_ShownReason)->DenseRange(0, 4);

void BM_EnglishReason(benchmark::State &state)
{
    const Reason &reason = samples().at(std::size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(reason.english());
}
BENCHMARK(BM_EnglishReason)->DenseRange(0, 4);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTranslator german;
    if (!german.load(QStringLiteral(":/i18n/barlink_de.qm")))
        return 1;
    QCoreApplication::installTranslator(&german);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
