#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace barlink::base {

// Refuses an item whose labels are those of the item taken last, completed within a few
// seconds of it: a scanner that triggers twice must not put one panel into the list twice.
// The labels of an item are the ones taken into it, in order: a field-code label, the
// segments (program, dimensions, variables), a plain program name, a program barcode. The same
// labels later than the window are taken as usual: identical panels carry identical labels.
// A list command or list label between two items makes the second no repeat of the first.
class DoubleScanGuard
{
public:
    // Milliseconds on a clock that never goes back (not the time of day).
    using Clock = std::function<qint64()>;

    DoubleScanGuard();

    // 0: off, nothing is kept and nothing refused.
    void setWindowSeconds(int seconds);
    [[nodiscard]] int windowSeconds() const { return m_windowSeconds; }
    // For tests: the clock to read instead of the steady one.
    void setClock(Clock clock) { m_clock = std::move(clock); }

    // A label has been taken into the item being collected.
    void add(const QString &label);
    // The item being collected is given up: its labels go.
    void drop() { m_collecting.clear(); }
    // The item being collected is complete: the milliseconds since the item taken last when its
    // labels are the same and it was taken within the window; nothing otherwise.
    [[nodiscard]] std::optional<qint64> repeatOfLast() const;
    // The item being collected was sent: it becomes the item taken last.
    void taken();
    // A list command or list label: the next item repeats nothing before it.
    void forget();

    // "Scanned twice: not added again."
    [[nodiscard]] static QString statusText();
    // Why the item was refused, for the journal: "scanned twice: the same labels as the item
    // taken 0.8 s before".
    [[nodiscard]] static QString reason(qint64 sinceLastMs);

private:
    Clock m_clock;
    int m_windowSeconds = 0;
    QStringList m_collecting;
    QStringList m_last;
    qint64 m_lastAt = 0;
};

} // namespace barlink::base
