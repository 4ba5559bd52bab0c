#include "ShiftCounts.h"

namespace barlink::app {

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
    switch (entry.outcome) {
    case journal::Outcome::Taken:
        if (entry.rows.value_or(0) <= 0)
            return;
        m_taken += *entry.rows;
        m_pieces.push_front(entry);
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
    // rows. One sent before the shift began left none here.
    while (rows > 0 && !m_pieces.empty() && m_pieces.front().rows.value_or(0) <= rows) {
        const int pieceRows = *m_pieces.front().rows;
        m_taken -= pieceRows;
        rows -= pieceRows;
        m_pieces.pop_front();
    }
}

} // namespace barlink::app
