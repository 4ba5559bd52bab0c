#pragma once

#include "FuzzPrompter.h"
#include "StationRig.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace barlink::fuzz {

// What the two bytes in front of a station input set before its labels arrive.
//   switches: bits 0-3 the option switches (automatic clear, overwrite, automatic start,
//             show in editor), bit 4 the first label clears the list, bit 5 message boxes
//             are answered with the button that goes on (three at most), bits 6-7 which
//             settings file the station reads (0 field codes, 1 plus a default field,
//             2 selection by program name, 3 norm and mirror pieces).
//   faults:   bits 0-3 a list manager member that fails (0: none), bits 4-5 how often
//             (once, twice, three times, on every call).
struct StationPlan
{
    std::uint8_t switches = 0;
    std::uint8_t faults = 0;

    // Takes the plan from the front of an input; a short input plans nothing.
    [[nodiscard]] static StationPlan take(const std::uint8_t *&data, std::size_t &size);
};

// A station as the program puts it together (the embedded list manager, the label
// dispatcher, the program barcode handler, the polling tick), the tests' station rig in try
// mode, running headless over a scratch folder: the windows are fakes, the pauses return at
// once and the scanner port lives in memory. The scratch folder is made once per process, in
// memory where the system has a memory file system, and laid out anew for every input: the
// rig's settings file and folders, programs, a list file and a companion CSV to find.
class FuzzStation
{
public:
    explicit FuzzStation(StationPlan plan);
    ~FuzzStation();
    FuzzStation(const FuzzStation &) = delete;
    FuzzStation &operator=(const FuzzStation &) = delete;

    [[nodiscard]] app::Station &station() { return m_rig.station; }
    [[nodiscard]] testing::FakeScannerPort &port() { return m_rig.port; }
    [[nodiscard]] embeddedlist::ListStore &store() { return *m_rig.store; }

    // Checks what holds after any input, and aborts when something does not: the list in
    // memory is the list on disk, nothing was written outside the station's folders, the
    // scanner got nothing but "ACK" answers, one for each row added and two at most for each
    // of maxItems items (a norm and a mirror piece), no label is left in hand.
    void checkAfterInput(qsizetype maxItems);

    // The folder the station works in; the scratch folder holds nothing else.
    [[nodiscard]] static QString stationFolder();
    // A folder in memory (where there is a memory file system) made once per process and
    // removed at its end.
    [[nodiscard]] static const QString &scratchFolder();

private:
    FuzzPrompter m_prompter;
    testing::StationRig<testing::FakeScannerPort> m_rig;
    int m_editorLaunches = 0;
    // Rows added one at a time, as an item's rows are.
    qsizetype m_singleRowsAdded = 0;
};

} // namespace barlink::fuzz
