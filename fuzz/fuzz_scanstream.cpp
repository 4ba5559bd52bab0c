// The scanner byte stream: the polling tick assembles labels from what arrives between its
// ticks and hands them to the station (label dispatcher, compressed label decoder, program
// barcode handler), which adds rows to the embedded list manager and answers "ACK".
//
// Input: the two plan bytes of StationPlan, then what the scanner sends. Each 0x1E byte ends
// what arrives before one tick, so "%START%" 1E 1E 1E is the label within one tick and two
// quiet ticks after it. At the end the scanner stays quiet until the buffer is handled.

#include "FuzzCheck.h"
#include "FuzzStation.h"
#include "scanner/ScanPoller.h"

#include <cstddef>
#include <cstdint>

using namespace barlink;

namespace {

constexpr std::uint8_t TickMark = 0x1e;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::StationPlan plan = fuzz::StationPlan::take(data, size);
    fuzz::FuzzStation rig(plan);
    scanner::ScanPoller &poller = rig.station().poller();
    qsizetype ticks = 0;
    const auto tick = [&] {
        poller.tick();
        ++ticks;
        fuzz::check(poller.scanBuffer().size() <= scanner::ScanPoller::MaxScanBuffer,
                    "the scan buffer stays bounded");
    };

    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i < size && data[i] != TickMark)
            continue;
        rig.port().received.append(reinterpret_cast<const char *>(data) + start,
                                   qsizetype(i - start));
        tick();
        start = i + 1;
    }
    // Every label takes two quiet ticks and at least one character of the buffer; an
    // expanded compressed label may bring more, so the wait is bounded, not exact.
    const qsizetype quietTicks = 3 * (qsizetype(size) + 2);
    for (qsizetype n = 0; n < quietTicks && !poller.scanBuffer().isEmpty(); ++n)
        tick();

    // A label is handled on its second quiet tick: no more items than that.
    rig.checkAfterInput(ticks / 2);
    return 0;
}
