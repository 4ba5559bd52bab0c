#pragma once

#include "journal/Entry.h"

#include <QDateTime>
#include <QTime>

#include <deque>

namespace barlink::app {

// What the station did since the shift began: pieces taken (rows sent), labels refused and
// labels failed, and the last pieces sent. A new shift starts the counts afresh.
class ShiftCounts
{
public:
    static constexpr int PiecesKept = 5;

    // shiftStart: the time of day a shift begins; invalid: the day does (midnight).
    explicit ShiftCounts(QTime shiftStart = {})
        : m_shiftStart(shiftStart)
    {}

    // When the shift under way at `now` began (local time): today's start, or yesterday's when
    // now is earlier in the day.
    [[nodiscard]] static QDateTime shiftBegan(const QDateTime &now, QTime shiftStart);

    // Moves to the shift under way at now; true when that is a new one and the counts start
    // afresh.
    bool moveTo(const QDateTime &now);
    // Counts a label's entry of the shift under way; earlier ones are left. An item taken back
    // leaves the counts and the last pieces; other station events are left.
    void add(const journal::Entry &entry);

    [[nodiscard]] QDateTime began() const { return m_began; }
    [[nodiscard]] int taken() const { return m_taken; }
    [[nodiscard]] int refused() const { return m_refused; }
    [[nodiscard]] int failed() const { return m_failed; }
    // The last pieces sent, newest first.
    [[nodiscard]] const std::deque<journal::Entry> &pieces() const { return m_pieces; }

private:
    void takeBack(int rows);

    QTime m_shiftStart;
    QDateTime m_began;
    int m_taken = 0;
    int m_refused = 0;
    int m_failed = 0;
    std::deque<journal::Entry> m_pieces;
};

} // namespace barlink::app
