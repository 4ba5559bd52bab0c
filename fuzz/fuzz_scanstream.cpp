// The scanner byte stream: the polling tick assembles labels from what arrives between its
// ticks and hands them to the station (label dispatcher, compressed label decoder, program
// barcode handler), which adds rows to the embedded list manager and answers "ACK".
//
// Input: the two plan bytes of StationPlan, then what the scanner sends. Each 0x1E byte ends
// what arrives before one tick, so "%START%" 1E 1E 1E is the label within one tick and two
// quiet ticks after it. At the end the scanner stays quiet until the buffer is handled.
//
// The same stream is sent a second time to a new station with every piece split into single
// bytes over as many ticks: a label is made of what comes between quiet ticks, however it
// arrives, so the list, the run state and the answers must come out the same.

#include "FuzzCheck.h"
#include "FuzzStation.h"
#include "StationProbe.h"
#include "embeddedlist/RunState.h"
#include "scanner/ScanPoller.h"

#include <QByteArrayView>
#include <QList>

#include <cstddef>
#include <cstdint>

using namespace barlink;

namespace {

constexpr char TickMark = 0x1e;

struct Outcome
{
    QStringList rows;
    embeddedlist::RunState runState = embeddedlist::RunState::Idle;
    qint32 setpoints = 0;
    QByteArray sent;
};

Outcome run(fuzz::StationPlan plan, QByteArrayView stream, bool bytewise)
{
    fuzz::FuzzStation rig(plan);
    scanner::ScanPoller &poller = app::StationProbe(rig.station()).poller();
    qsizetype ticks = 0;
    const auto tick = [&] {
        poller.tick();
        ++ticks;
        fuzz::check(poller.scanBuffer().size() <= scanner::ScanPoller::MaxScanBuffer,
                    "the scan buffer stays bounded");
    };
    const auto arrive = [&](QByteArrayView piece) {
        if (!bytewise || piece.isEmpty()) {
            rig.port().received.append(piece);
            tick();
            return;
        }
        for (const char c : piece) {
            rig.port().received.append(c);
            tick();
        }
    };

    qsizetype start = 0;
    for (;;) {
        const qsizetype mark = stream.indexOf(TickMark, start);
        arrive(stream.sliced(start, (mark < 0 ? stream.size() : mark) - start));
        if (mark < 0)
            break;
        start = mark + 1;
    }
    // Every label takes two quiet ticks and at least one character of the buffer; an
    // expanded compressed label may bring more, so the wait is bounded, not exact.
    const qsizetype quietTicks = 3 * (stream.size() + 2);
    for (qsizetype n = 0; n < quietTicks && !poller.scanBuffer().isEmpty(); ++n)
        tick();

    // A label is handled on its second quiet tick: no more items than that.
    rig.checkAfterInput(ticks / 2);
    return {rig.store().rows(), rig.store().runState(), rig.store().setpoints(), rig.port().sent};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::StationPlan plan = fuzz::StationPlan::take(data, size);
    const QByteArrayView stream(data, qsizetype(size));
    const Outcome whole = run(plan, stream, false);
    const Outcome bytewise = run(plan, stream, true);
    fuzz::check(whole.rows == bytewise.rows,
                "the rows do not depend on how the bytes arrive",
                QStringLiteral("%1 rows, %2 when sent byte by byte")
                    .arg(whole.rows.size())
                    .arg(bytewise.rows.size()));
    fuzz::check(whole.runState == bytewise.runState && whole.setpoints == bytewise.setpoints,
                "the run state does not depend on how the bytes arrive");
    fuzz::check(whole.sent == bytewise.sent,
                "the answers do not depend on how the bytes arrive",
                fuzz::escaped(whole.sent) + QStringLiteral(" / ") + fuzz::escaped(bytewise.sent));
    return 0;
}
