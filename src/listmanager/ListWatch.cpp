#include "ListWatch.h"

#include <algorithm>

namespace barlink::listmanager {

void ListWatch::takeState(const ListState &state)
{
    change(state);
}

void ListWatch::takeRowsAdded(qint32 count)
{
    ListState next = m_state;
    next.rows += std::max(count, 0);
    change(next);
}

void ListWatch::takeRowsRemoved(qint32 count)
{
    ListState next = m_state;
    next.rows = std::max(next.rows - std::max(count, 0), 0);
    change(next);
}

void ListWatch::takeListReset(qint32 rows)
{
    ListState next = m_state;
    next.rows = std::max(rows, 0);
    change(next);
}

void ListWatch::takeRunState(bool inRun, qint32 exeRow)
{
    ListState next = m_state;
    next.inRun = inRun;
    next.exeRow = std::max(exeRow, 0);
    change(next);
}

void ListWatch::takeListOpened(bool opened)
{
    ListState next = m_state;
    next.opened = opened;
    change(next);
}

void ListWatch::takeLost(Reach reach, const QString &service, const QString &detail)
{
    ListState lost;
    lost.reach = reach;
    lost.service = service;
    lost.detail = detail;
    change(lost);
}

void ListWatch::change(const ListState &next)
{
    if (next == m_state)
        return;
    m_state = next;
    Q_EMIT stateChanged(m_state);
}

} // namespace barlink::listmanager
