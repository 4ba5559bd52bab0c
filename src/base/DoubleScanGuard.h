#pragma once

#include "base/Reasons.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace barlink::base {

class Clock;

// Refuses an item that is the same piece as the item taken last, completed within a few
// seconds of the moment that item's rows were added: a scanner that triggers twice must not put
// one panel into the list twice. The same piece: the same labels taken into it, in order (the
// segments: program, dimensions, variables; a plain program name; a program barcode), whatever
// field-code label came before. The same labels later than the window are taken as usual, and
// so is the scan that follows a refusal, if it is again the same piece: an operator who holds
// two identical panels scans the second again. A label typed in the main window is never
// refused, and a list command or list label between two items makes the second no repeat.
class DoubleScanGuard
{
public:
    // The window is measured on clock (its Clock::now()), the station's.
    explicit DoubleScanGuard(const Clock &clock);

    // 0: off, nothing is kept and nothing refused.
    void setWindowSeconds(int seconds);
    [[nodiscard]] int windowSeconds() const { return m_windowSeconds; }
    // A label has been taken into the item being collected (field-code labels are not: they
    // say where the piece goes, not which piece it is).
    void add(const QString &label);
    // The labels that follow are typed in the main window (true) or scanned (false).
    void setTyped(bool typed) { m_typed = typed; }
    // The rows of the item being collected went into the list now: the window of the next item
    // runs from here, not from after the pauses that follow.
    void rowsAdded();
    // The item being collected is given up: its labels go.
    void drop()
    {
        m_collecting.clear();
        m_rowsAt.reset();
    }
    // The item being collected is complete: the milliseconds since the rows of the item taken
    // last when it is the same piece, scanned within the window, and not scanned again after a
    // refusal; nothing otherwise. A repeat it returns counts as refused.
    [[nodiscard]] std::optional<qint64> repeatOfLast();
    // The item being collected was sent: it becomes the item taken last.
    void taken();
    // A list command or list label: the next item repeats nothing before it.
    void forget();

    // "Scanned twice: not added again. Scan again to add it."
    [[nodiscard]] static QString statusText();
    // Why the item was refused, for the journal: "scanned twice: the same piece as the item
    // taken 0.8 s before".
    [[nodiscard]] static Reason reason(qint64 sinceLastMs);

private:
    const Clock &m_clock;
    int m_windowSeconds = 0;
    QStringList m_collecting;
    QStringList m_last;
    qint64 m_lastAt = 0;
    std::optional<qint64> m_rowsAt; // when the rows of the item being collected were added
    bool m_typed = false;
    bool m_refused = false; // the last completed item was refused as a repeat
};

} // namespace barlink::base
