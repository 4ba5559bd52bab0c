#include "ListStore.h"

#include "ListFile.h"
#include "base/Error.h"

#include <QStandardPaths>

#include <limits>
#include <utility>

namespace barlink::embeddedlist {

ListStore::ListStore(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_storage(folder)
{
    ListStorage::Contents contents = m_storage.load();
    m_hasList = contents.hasList;
    m_listOpen = contents.hasList;
    m_runState = contents.state;
    m_setpoints = contents.setpoints;
    m_rows = std::move(contents.rows);
    for (const QString &row : std::as_const(m_rows))
        m_columns.addRow(row);
}

QString ListStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/barlink");
}

void ListStore::openCurrentList()
{
    if (!m_hasList) {
        m_storage.writeRows({});
        m_hasList = true;
    }
    if (!std::exchange(m_listOpen, true))
        Q_EMIT listOpenChanged(true);
}

void ListStore::closeList()
{
    if (std::exchange(m_listOpen, false))
        Q_EMIT listOpenChanged(false);
}

const QString &ListStore::row(qint32 index) const
{
    checkIndex(index);
    return m_rows.at(index);
}

void ListStore::addRow(const QString &row)
{
    const QString normalized = normalizeRow(row);
    m_storage.appendRow(normalized);
    m_hasList = true;
    m_rows.append(normalized);
    m_columns.addRow(normalized);
    Q_EMIT rowsAppended(rowCount() - 1, rowCount() - 1);
}

void ListStore::setRow(qint32 index, const QString &row)
{
    checkIndex(index);
    QStringList rows = m_rows;
    rows[index] = normalizeRow(row);
    m_storage.writeRows(rows);
    // Count the new row's fields before dropping the old one's, so that a column
    // both rows carry keeps its place.
    m_columns.addRow(rows[index]);
    m_columns.removeRow(m_rows[index]);
    m_rows = std::move(rows);
    Q_EMIT rowChanged(index);
}

void ListStore::removeRow(qint32 index)
{
    checkIndex(index);
    QStringList rows = m_rows;
    rows.removeAt(index);
    m_storage.writeRows(rows);
    Q_EMIT rowAboutToBeRemoved(index);
    m_columns.removeRow(m_rows[index]);
    m_rows = std::move(rows);
    Q_EMIT rowRemoved(index);
}

void ListStore::clear()
{
    resetRows({});
}

void ListStore::replaceRows(const QStringList &rows)
{
    QStringList normalized;
    normalized.reserve(rows.size());
    for (const QString &row : rows)
        normalized.append(normalizeRow(row));
    resetRows(std::move(normalized));
}

void ListStore::appendRows(const QStringList &rows)
{
    if (rows.isEmpty())
        return;
    QStringList all = m_rows;
    for (const QString &row : rows)
        all.append(normalizeRow(row));
    m_storage.writeRows(all);
    m_hasList = true;
    const qint32 first = rowCount();
    m_rows = std::move(all);
    for (qint32 i = first; i < rowCount(); ++i)
        m_columns.addRow(m_rows[i]);
    Q_EMIT rowsAppended(first, rowCount() - 1);
}

void ListStore::openListFile(const QString &path)
{
    replaceRows(readListFile(path));
    openCurrentList();
}

void ListStore::appendListFile(const QString &path)
{
    appendRows(readListFile(path));
}

void ListStore::saveList(const QString &path) const
{
    writeListFile(path, m_rows);
}

void ListStore::runCommand(RunCommand command)
{
    const RunState next = nextRunState(m_runState, command);
    if (next == m_runState)
        return;
    m_storage.writeState(next, m_setpoints);
    m_runState = next;
    Q_EMIT runStateChanged();
}

void ListStore::addSetpoint()
{
    if (m_setpoints == std::numeric_limits<qint32>::max())
        throw base::Error(base::Error::Overflow, base::Reason(base::Reason::Code::Overflow));
    m_storage.writeState(m_runState, m_setpoints + 1);
    ++m_setpoints;
    Q_EMIT setpointsChanged();
}

qint32 ListStore::exeRow() const
{
    const bool active = m_runState == RunState::Running || m_runState == RunState::Held;
    return active && !m_rows.isEmpty() ? 1 : 0;
}

void ListStore::setVisible(bool visible)
{
    if (std::exchange(m_visible, visible) != visible)
        Q_EMIT visibleChanged(visible);
    else if (visible)
        Q_EMIT shownAgain();
}

void ListStore::setListVisible(bool visible)
{
    if (std::exchange(m_listVisible, visible) != visible)
        Q_EMIT listVisibleChanged(visible);
}

void ListStore::setWindowState(listmanager::WindowState state)
{
    using listmanager::WindowState;
    if (state != WindowState::Normal && state != WindowState::Minimized
        && state != WindowState::Maximized)
        throw base::Error(base::Error::InvalidCall, base::Reason(base::Reason::Code::InvalidCall));
    if (std::exchange(m_windowState, state) != state)
        Q_EMIT windowStateChanged(state);
}

void ListStore::setShowOnTop(bool onTop)
{
    if (std::exchange(m_showOnTop, onTop) != onTop)
        Q_EMIT showOnTopChanged(onTop);
}

void ListStore::enableOpenList(bool enable)
{
    if (std::exchange(m_openListEnabled, enable) != enable)
        Q_EMIT enabledCommandsChanged();
}

void ListStore::enableSaveList(bool enable)
{
    if (std::exchange(m_saveListEnabled, enable) != enable)
        Q_EMIT enabledCommandsChanged();
}

void ListStore::enableNewList(bool enable)
{
    if (std::exchange(m_newListEnabled, enable) != enable)
        Q_EMIT enabledCommandsChanged();
}

void ListStore::requestQuit()
{
    m_quitRequested = true;
    setVisible(false);
}

void ListStore::requestViewWorks(bool throughout)
{
    setVisible(true);
    setListVisible(true);
    Q_EMIT viewWorksRequested(throughout);
}

void ListStore::checkIndex(qint32 index) const
{
    if (index < 0 || index >= rowCount())
        throw base::Error(base::Error::SubscriptOutOfRange,
                          base::Reason(base::Reason::Code::SubscriptOutOfRange));
}

void ListStore::resetRows(QStringList rows)
{
    m_storage.writeRows(rows);
    Q_EMIT listAboutToBeReset();
    m_hasList = true;
    m_rows = std::move(rows);
    m_columns.reset();
    for (const QString &row : std::as_const(m_rows))
        m_columns.addRow(row);
    Q_EMIT listReset();
}

} // namespace barlink::embeddedlist
