#pragma once

#include "journal/Entry.h"

#include <QCoreApplication>
#include <QString>

namespace barlink::app {

// What the main window's result area says of the label handled last, to be read from a few
// metres: a word and a tone, the details, what to do about it, and what the station waits for.
class ScanResult
{
    Q_DECLARE_TR_FUNCTIONS(ScanResult)
public:
    enum class Tone {
        Ready,   // nothing handled yet
        Ok,      // taken
        Warning, // taken, with something the operator should know
        Waiting, // a segment taken in: the item waits for its next label
        Refused, // nothing changed
        Failed,  // a step failed part-way
    };

    Tone tone = Tone::Ready;
    QString word;     // "OK", "REFUSED", ...
    QString headline; // the program, field and size; or why it was refused
    QString advice;   // what to do about it; empty when there is nothing to do
    QString next;     // "Scan the dimensions label of PANEL.CNC", "Ready for the next piece"

    // The result of a label's journal entry, or of an item taken back; any other station
    // event leaves the result as it was (no word).
    // before: the entry made just before it, when known (see plainWords()).
    [[nodiscard]] static ScanResult of(const journal::Entry &entry,
                                       const journal::Entry *before = nullptr);
    // Before the first label.
    [[nodiscard]] static ScanResult ready();
    // What the station waits for, from the item as the entry holds it after the label.
    [[nodiscard]] static QString nextStep(const journal::Entry &entry);
    // "PANEL.CNC · field 3 (S) · 500 × 300 mm": what the operator checks of a piece sent.
    // fields: every field the item's rows went to (a piece sent as normal and mirror has two),
    // when known; otherwise the entry's.
    [[nodiscard]] static QString pieceWords(const journal::Entry &entry,
                                            const QStringList &fields = {});
};

} // namespace barlink::app
