#pragma once

#include "journal/Entry.h"

#include <QString>

namespace barlink::app {

// What a journal entry says to the operator, in plain words: "Taken: PANEL.CNC, field 3 (S)",
// "Refused: <why>", "Waiting for the dimensions label", "List cleared: 4 rows left from
// before removed". It sits with the station's assembly because it reads both the journal's
// entries and the machine field codes.
// before: the entry made just before it, when known; a list command's words say what it did
// with the list from it.
[[nodiscard]] QString plainWords(const journal::Entry &entry,
                                 const journal::Entry *before = nullptr);

// The work field as the list row carries it: "field 3 (S)" for a machine field code, the
// number alone for a code the machine does not know (such rows go to the last field).
[[nodiscard]] QString fieldWords(const QString &code);
// The same in English whatever the operator's language, for the journal.
[[nodiscard]] QString storedFieldWords(const QString &code);

// Whether the entry belongs in the recent scans: every label handled, a list cleared of rows
// that were left in it, and an item taken back; not the station's other events.
[[nodiscard]] bool isRecentScan(const journal::Entry &entry);

// A text the scanner sent, as a line of the window shows it: its first line, cut at 200
// characters with an ellipsis. The scanner can send far more than a window is wide (a program
// barcode, a scanner that does not stop): laying out the text stays quick, and the window
// keeps its size.
[[nodiscard]] QString shownLine(const QString &text);

} // namespace barlink::app
