// Labels handed straight to the label dispatcher, as the polling tick and the manual entry
// hand them: list commands, field-code labels, plain names, segments, in any order.
//
// Input: the two plan bytes of StationPlan, then the labels, each ended by a 0x1E byte (the
// last one by the end of the input).

#include "FuzzCheck.h"
#include "FuzzStation.h"
#include "StationProbe.h"
#include "base/Error.h"
#include "label/LabelDispatcher.h"
#include "text/SingleByte.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

using namespace barlink;

namespace {

constexpr char LabelEnd = 0x1e;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::StationPlan plan = fuzz::StationPlan::take(data, size);
    fuzz::FuzzStation rig(plan);
    label::LabelDispatcher &dispatcher = app::StationProbe(rig.station()).dispatcher();

    const QByteArrayView input(data, qsizetype(size));
    qsizetype labels = 0;
    qsizetype start = 0;
    while (start <= input.size()) {
        qsizetype end = input.indexOf(LabelEnd, start);
        if (end < 0)
            end = input.size();
        ++labels;
        try {
            (void)dispatcher.interpretLabel(text::fromSingleByte(input.sliced(start, end - start)));
        } catch (const base::Error &) {
            // A run-time error ends the handling of the label in hand, as on the tick.
        }
        start = end + 1;
    }
    rig.checkAfterInput(labels);
    return 0;
}
