#pragma once

#include "journal/Entry.h"

#include <QDateTime>
#include <QStringList>
#include <QTime>

#include <deque>

namespace barlink::app {

// What the station did since the shift began: pieces taken, labels refused and labels failed,
// and the last pieces sent. A piece is one item sent: a mirrored pair is one piece of two rows,
// whether its label's entry holds both rows or the scanner was answered row by row, an entry
// each. A new shift starts the counts afresh.
class ShiftCounts
{
public:
    static constexpr int PiecesKept = 5;
    // The rows of one label follow each other at once; the next label's rows come after the
    // pauses that follow an item (twice 0.6 s), and the same label scanned again so soon is
    // refused. Entries of the same label closer than this are rows of one piece.
    static constexpr qint64 RowsOfOnePieceMs = 1000;

    struct Piece
    {
        journal::Entry entry; // its first entry
        QStringList fields;   // the work fields its entries name, in order
        int rows = 0;
    };

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
    [[nodiscard]] const std::deque<Piece> &pieces() const { return m_pieces; }

private:
    void takeBack(int rows);

    QTime m_shiftStart;
    QDateTime m_began;
    int m_taken = 0;
    int m_refused = 0;
    int m_failed = 0;
    std::deque<Piece> m_pieces;
    // The last label's entry was the newest piece's: a further row of it may follow.
    bool m_pieceOpen = false;
};

} // namespace barlink::app
