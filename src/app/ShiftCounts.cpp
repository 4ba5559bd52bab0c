#include "ShiftCounts.h"

#include <utility>

namespace barlink::app {

namespace {

// Whether next holds a further row of the piece whose first entry is first.
bool continuesPiece(const journal::Entry &first, const journal::Entry &next)
{
    const qint64 apart = first.time.msecsTo(next.time);
    return next.label == first.label && next.source == first.source && next.program == first.program
           && next.x == first.x && next.y == first.y && apart >= 0
           && apart < ShiftCounts::RowsOfOnePieceMs;
}

} // namespace

QDateTime ShiftCounts::shiftBegan(const QDateTime &now, QTime shiftStart)
{
    const QDateTime local = now.toLocalTime();
    const QTime start = shiftStart.isValid() ? shiftStart : QTime(0, 0);
    QDateTime began(local.date(), start, Qt::LocalTime);
    if (began > local)
        began = QDateTime(local.date().addDays(-1), start, Qt::LocalTime);
    return began;
}

bool ShiftCounts::moveTo(const QDateTime &now)
{
    const QDateTime began = shiftBegan(now, m_shiftStart);
    if (began <= m_began)
        return false;
    m_began = began;
    m_taken = m_refused = m_failed = 0;
    m_pieces.clear();
    m_pieceOpen = false;
    return true;
}

void ShiftCounts::add(const journal::Entry &entry)
{
    if (!entry.time.isValid() || entry.time < m_began)
        return;
    if (entry.kind == journal::Kind::StationEvent) {
        if (entry.label == journal::storedName(journal::StationEvent::ItemTakenBack))
            takeBack(entry.rows.value_or(0));
        return;
    }
    const bool rowsSent = entry.outcome == journal::Outcome::Taken && entry.rows.value_or(0) > 0;
    const bool pieceOpen = std::exchange(m_pieceOpen, rowsSent);
    switch (entry.outcome) {
    case journal::Outcome::Taken:
        if (!rowsSent)
            return;
        if (pieceOpen && continuesPiece(m_pieces.front().entry, entry)) {
            m_pieces.front().fields << entry.field;
            m_pieces.front().rows += *entry.rows;
            return;
        }
        ++m_taken;
        m_pieces.push_front({entry, {entry.field}, *entry.rows});
        if (m_pieces.size() > std::size_t(PiecesKept))
            m_pieces.pop_back();
        return;
    case journal::Outcome::Refused:
        ++m_refused;
        return;
    case journal::Outcome::Failed:
        ++m_failed;
        return;
    case journal::Outcome::Waiting:
    case journal::Outcome::Event:
        return;
    }
}

void ShiftCounts::takeBack(int rows)
{
    // The item taken back is the last one sent: its pieces are the newest, as many as held its
    // rows. One sent before the shift began left none here. What comes next is a piece of its
    // own.
    m_pieceOpen = false;
    while (rows > 0 && !m_pieces.empty() && m_pieces.front().rows <= rows) {
        rows -= m_pieces.front().rows;
        --m_taken;
        m_pieces.pop_front();
    }
}

} // namespace barlink::app
