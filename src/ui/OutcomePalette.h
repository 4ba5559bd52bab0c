#pragma once

#include <QColor>

namespace barlink::ui {

// Every place where a colour tells an outcome: the result tile's states, the refusal kept under
// it, and the rows of the recent scans and of the journal that stand out.
enum class OutcomeLook {
    ResultReady,   // the tile before anything was handled
    ResultOk,      // taken
    ResultWarning, // taken, with something the operator should know
    ResultWaiting, // a segment taken in, the item waits for its next label
    ResultRefused, // refused or failed
    ResultLost,    // the scanner away
    RefusalStrip,  // a refusal not yet seen, kept under a later result
    RowWarning,    // taken, but with a warning
    RowRefused,
    RowFailed,
    RowEvent, // a station event among the scans: taken back, list cleared, list started, ...
    Count
};

struct OutcomeColours
{
    QColor text;
    QColor background;
};

// The text and background of an outcome, in the usual colours or in high contrast. Every pair
// keeps a contrast ratio of at least 4.5:1 in the usual colours and 7:1 in high contrast, so
// that the words on a colour are read as easily as the colour is seen.
[[nodiscard]] OutcomeColours outcomeColours(OutcomeLook look, bool highContrast);
// The same in the colours the windows have now.
[[nodiscard]] OutcomeColours outcomeColours(OutcomeLook look);

} // namespace barlink::ui
