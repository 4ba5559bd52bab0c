#include "ForwardWorker.h"

#include "Connection.h"
#include "EntryQuery.h"
#include "JournalLog.h"
#include "LocalFile.h"
#include "ServerTable.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <utility>
#include <vector>

namespace barlink::journal {

ForwardWorker::ForwardWorker(QString journalPath, QString server, Forwarder::Timing timing)
    : m_journalPath(std::move(journalPath))
    , m_server(std::move(server))
    , m_timing(timing)
    , m_delay(timing.firstRetryMilliseconds)
{
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &ForwardWorker::forward);
}

ForwardWorker::~ForwardWorker()
{
    disconnectBoth();
}

void ForwardWorker::forward()
{
    // While a retry is planned, new entries wait for it.
    if (m_retryTimer.isActive())
        return;
    QString error;
    // A journal file removed and made again is a new file, with its own identity and local
    // numbers from 1: it is read from its start.
    if (m_local && placeOnDisk(m_journalPath) != m_place)
        disconnectBoth();
    if (!m_remote)
        error = connectBoth();
    while (error.isEmpty() && !QThread::currentThread()->isInterruptionRequested()) {
        int sent = 0;
        error = sendBatch(sent);
        if (sent < m_timing.batchEntries)
            break;
    }
    if (!error.isEmpty()) {
        fail(error);
        return;
    }
    m_delay = m_timing.firstRetryMilliseconds;
    if (std::exchange(m_stalled, false))
        Q_EMIT resumed();
}

QString ForwardWorker::connectBoth()
{
    m_local = std::make_unique<Connection>(QStringLiteral("QSQLITE"));
    m_remote = std::make_unique<Connection>(QStringLiteral("QPSQL"));
    QSqlDatabase local = m_local->database();
    QSqlDatabase remote = m_remote->database();
    if (!local.isValid() || !remote.isValid())
        return QStringLiteral("the QSQLITE or QPSQL database driver is not installed");
    QString error = openLocalFile(local, m_journalPath, Durability::Checkpoints);
    m_place = placeOnDisk(m_journalPath);
    if (error.isEmpty())
        error = openServer(remote, m_server);
    if (!error.isEmpty())
        return error;

    m_read = std::make_unique<QSqlQuery>(local);
    m_mark = std::make_unique<QSqlQuery>(local);
    m_insert = std::make_unique<QSqlQuery>(remote);
    QSqlQuery query(local);
    query.prepare(QStringLiteral("SELECT last_id FROM forwarded WHERE server = ?"));
    query.addBindValue(m_server);
    if (!query.exec())
        return query.lastError().text();
    m_sentUpTo = query.next() ? query.value(0).toLongLong() : 0;
    m_fileId = localFileId(local);
    if (m_fileId.isEmpty())
        return QStringLiteral("the journal file has no identity");
    m_read->setForwardOnly(true);
    if (!m_read->prepare(selectPastLocalNumberSql(m_timing.batchEntries)))
        return m_read->lastError().text();
    if (!m_mark->prepare(
            QStringLiteral("INSERT INTO forwarded (server, last_id) VALUES (?, ?) "
                           "ON CONFLICT (server) DO UPDATE SET last_id = excluded.last_id")))
        return m_mark->lastError().text();
    if (!m_insert->prepare(insertEntrySql(Store::Server)))
        return m_insert->lastError().text();
    return {};
}

QString ForwardWorker::sendBatch(int &sent)
{
    std::vector<Entry> entries;
    m_read->bindValue(0, m_sentUpTo);
    if (!m_read->exec())
        return m_read->lastError().text();
    while (m_read->next())
        entries.push_back(entryAt(*m_read));
    m_read->finish();
    if (entries.empty())
        return {};

    QSqlDatabase remote = m_remote->database();
    if (!remote.transaction())
        return remote.lastError().text();
    for (const Entry &entry : entries) {
        if (!insertEntry(*m_insert, entry, m_fileId)) {
            const QString error = m_insert->lastError().text();
            remote.rollback();
            return error;
        }
    }
    if (!remote.commit())
        return remote.lastError().text();

    // The server has them now. Should the mark not reach the file, they are sent again later
    // and the server keeps its copy.
    const qint64 last = entries.back().localNumber;
    m_mark->bindValue(0, m_server);
    m_mark->bindValue(1, last);
    if (!m_mark->exec())
        return m_mark->lastError().text();
    m_sentUpTo = last;
    sent = int(entries.size());
    Q_EMIT forwarded(last);
    return {};
}

void ForwardWorker::disconnectBoth()
{
    m_read.reset();
    m_mark.reset();
    m_insert.reset();
    m_local.reset();
    m_remote.reset();
}

void ForwardWorker::fail(const QString &reason)
{
    disconnectBoth();
    qCDebug(lcJournal) << "forwarding stopped:" << reason << "- again in" << m_delay << "ms";
    m_retryTimer.start(m_delay);
    m_delay = std::min(m_delay * 2, m_timing.longestRetryMilliseconds);
    if (!std::exchange(m_stalled, true))
        Q_EMIT stalled(reason);
}

} // namespace barlink::journal
