// Labels that carry a whole program (or name a list file, or send the current item as it
// is): the program barcode handler saves the program file in the g-code folder and adds the
// item to the list.
//
// Input: the two plan bytes of StationPlan, then one label; the polling tick routes only
// labels holding "^" here, so other inputs are skipped.

#include "FuzzCheck.h"
#include "FuzzStation.h"
#include "program/ProgramBarcode.h"
#include "text/SingleByte.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

using namespace barlink;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::StationPlan plan = fuzz::StationPlan::take(data, size);
    const QString label = text::fromSingleByte(QByteArrayView(data, qsizetype(size)));
    if (!label.contains(program::programlabel::Separator))
        return -1; // not one for this handler: kept out of the corpus
    fuzz::FuzzStation rig(plan);
    rig.station().programBarcode().interpretProgramBarcode(label);
    // The handler sends rows but never answers the scanner.
    rig.checkAfterInput(0);
    return 0;
}
