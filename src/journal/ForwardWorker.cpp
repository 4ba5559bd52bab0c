#include "ForwardWorker.h"

#include "Connection.h"
#include "ConnectionBreaker.h"
#include "EntryQuery.h"
#include "JournalLog.h"
#include "LocalFile.h"
#include "ServerTable.h"
#include "StationRow.h"

#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <algorithm>
#include <utility>
#include <vector>

namespace barlink::journal {

ForwardWorker::ForwardWorker(QString journalPath,
                             QString server,
                             Forwarder::Timing timing,
                             std::shared_ptr<ConnectionBreaker> breaker)
    : m_journalPath(std::move(journalPath))
    , m_server(std::move(server))
    , m_timing(timing)
    , m_breaker(std::move(breaker))
    , m_watch(std::make_unique<CallWatch>(*m_breaker))
    , m_delay(timing.firstRetryMilliseconds)
{
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &ForwardWorker::forward);
    connect(&m_rowTimer, &QTimer::timeout, this, [this] {
        m_rowDue = true;
        forward();
    });
}

ForwardWorker::~ForwardWorker()
{
    closeRemote();
    closeLocal();
}

void ForwardWorker::forward()
{
    // No call on the server outlives the round.
    const auto idle = qScopeGuard([this] { m_watch->end(); });
    // The forwarder ends: the rest goes at the next start.
    if (QThread::currentThread()->isInterruptionRequested())
        return;
    if (!m_rowTimer.isActive())
        m_rowTimer.start(m_timing.stationRowMilliseconds);
    // While a retry is planned, new entries wait for it: they are only counted.
    if (m_retryTimer.isActive()) {
        countNew();
        report();
        return;
    }
    Outcome fault = connectBoth();
    bool caughtUp = false;
    while (!fault && !caughtUp && !QThread::currentThread()->isInterruptionRequested()) {
        fault = sendBatch(caughtUp);
        if (!fault && !caughtUp)
            report(); // how a long catch-up goes
    }
    if (!fault && m_rowDue)
        fault = writeStationRow();
    if (fault) {
        fail(*fault);
        return;
    }
    m_delay = m_timing.firstRetryMilliseconds;
    const bool wasStalled = !std::exchange(m_failure, {}).isEmpty();
    report();
    if (wasStalled)
        Q_EMIT resumed();
}

ForwardWorker::Outcome ForwardWorker::connectBoth()
{
    // A journal file removed and made again is a new file, with its own identity and local
    // numbers from 1: it is read from its start.
    if (m_local && placeOnDisk(m_journalPath) != m_place) {
        closeRemote();
        closeLocal();
    }
    if (!m_local) {
        if (Outcome fault = openLocal())
            return fault;
    }
    if (!m_remote)
        return openRemote();
    return {};
}

ForwardWorker::Outcome ForwardWorker::openLocal()
{
    const auto fileFault = [](const QString &error) {
        return Fault{QStringLiteral("the journal file cannot be read: %1").arg(error), true};
    };
    m_local = std::make_unique<Connection>(QStringLiteral("QSQLITE"));
    QSqlDatabase local = m_local->database();
    if (!local.isValid())
        return Fault{QStringLiteral("the QSQLITE database driver is not installed"), true};
    const QString error = openLocalFile(local, m_journalPath, Durability::Checkpoints);
    m_place = placeOnDisk(m_journalPath);
    if (!error.isEmpty())
        return fileFault(error);

    QSqlQuery query(local);
    query.prepare(QStringLiteral("SELECT last_id FROM forwarded WHERE server = ?"));
    query.addBindValue(m_server);
    if (!query.exec())
        return fileFault(query.lastError().text());
    m_sentUpTo = query.next() ? query.value(0).toLongLong() : 0;
    m_fileId = localFileId(local);
    if (m_fileId.isEmpty())
        return fileFault(QStringLiteral("it has no identity"));
    m_read = std::make_unique<QSqlQuery>(local);
    m_mark = std::make_unique<QSqlQuery>(local);
    m_count = std::make_unique<QSqlQuery>(local);
    m_read->setForwardOnly(true);
    m_count->setForwardOnly(true);
    if (!m_read->prepare(selectPastLocalNumberSql(m_timing.batchEntries)))
        return fileFault(m_read->lastError().text());
    if (!m_mark->prepare(
            QStringLiteral("INSERT INTO forwarded (server, last_id) VALUES (?, ?) "
                           "ON CONFLICT (server) DO UPDATE SET last_id = excluded.last_id")))
        return fileFault(m_mark->lastError().text());
    // A range of the table's own key: reads the entries it counts and no others.
    if (!m_count->prepare(
            QStringLiteral("SELECT count(*), max(id) FROM %1 WHERE id > ?").arg(LocalTable)))
        return fileFault(m_count->lastError().text());
    m_waiting = 0;
    m_counted = m_sentUpTo;
    countNew();
    return {};
}

ForwardWorker::Outcome ForwardWorker::openRemote()
{
    m_remote = std::make_unique<Connection>(QStringLiteral("QPSQL"));
    QSqlDatabase remote = m_remote->database();
    if (!remote.isValid())
        return Fault{QStringLiteral("the QPSQL database driver is not installed")};
    QString error = connectServer(remote, m_server, m_timing.server);
    if (!error.isEmpty())
        return Fault{error};
    // From here the end can cut the connection, should the server not answer.
    m_breaker->watch(remote);
    watchCall();
    error = openJournalTable(remote);
    if (!error.isEmpty())
        return Fault{error};
    m_insert = std::make_unique<QSqlQuery>(remote);
    watchCall();
    if (!m_insert->prepare(insertEntrySql(Store::Server)))
        return Fault{serverTrouble(m_insert->lastError())};
    // The shop hears of the station as soon as it is back.
    m_rowDue = true;
    return {};
}

ForwardWorker::Outcome ForwardWorker::sendBatch(bool &caughtUp)
{
    std::vector<Entry> entries;
    m_read->bindValue(0, m_sentUpTo);
    if (!m_read->exec())
        return Fault{
            QStringLiteral("the journal file cannot be read: %1").arg(m_read->lastError().text()),
            true};
    while (m_read->next())
        entries.push_back(entryAt(*m_read));
    m_read->finish();
    caughtUp = qsizetype(entries.size()) < m_timing.batchEntries;
    if (entries.empty()) {
        m_waiting = 0;
        return {};
    }

    const auto refused = [this](const QSqlError &error) { return Fault{serverTrouble(error)}; };
    QSqlDatabase remote = m_remote->database();
    watchCall();
    if (!remote.transaction())
        return refused(remote.lastError());
    for (const Entry &entry : entries) {
        watchCall();
        if (!insertEntry(*m_insert, entry, m_fileId)) {
            const QSqlError error = m_insert->lastError();
            remote.rollback();
            return refused(error);
        }
    }
    watchCall();
    if (!remote.commit())
        return refused(remote.lastError());

    // The server has them now. Should the mark not reach the file, they are sent again later
    // and the server keeps its copy.
    const qint64 last = entries.back().localNumber;
    m_mark->bindValue(0, m_server);
    m_mark->bindValue(1, last);
    if (!m_mark->exec())
        return Fault{QStringLiteral("the journal file cannot be written: %1")
                         .arg(m_mark->lastError().text()),
                     true};
    m_sentUpTo = last;
    m_counted = std::max(m_counted, last);
    m_waiting = caughtUp ? 0 : std::max<qint64>(0, m_waiting - qint64(entries.size()));
    Q_EMIT forwarded(last);
    return {};
}

ForwardWorker::Outcome ForwardWorker::writeStationRow()
{
    m_rowDue = false;
    StationRow row;
    row.fileId = m_fileId;
    row.version = QStringLiteral("%1.%2.%3")
                      .arg(BARLINK_VERSION_MAJOR)
                      .arg(BARLINK_VERSION_MINOR)
                      .arg(BARLINK_VERSION_PATCH);
    row.waiting = m_waiting;
    // The station is the one its newest entry names: the journal stamps each entry with the
    // station's name. A file without entries has nothing to show yet.
    QSqlQuery newest(m_local->database());
    if (!newest.exec(QStringLiteral("SELECT station, time FROM %1 ORDER BY id DESC LIMIT 1")
                         .arg(LocalTable)))
        return Fault{
            QStringLiteral("the journal file cannot be read: %1").arg(newest.lastError().text()),
            true};
    if (!newest.next())
        return {};
    row.station = newest.value(0).toString();
    row.newestEntry = QDateTime::fromMSecsSinceEpoch(newest.value(1).toLongLong(), Qt::UTC);

    QSqlDatabase remote = m_remote->database();
    QString trouble;
    if (!m_writeRow) {
        watchCall();
        trouble = openStationTable(remote);
        if (trouble.isEmpty()) {
            m_writeRow = std::make_unique<QSqlQuery>(remote);
            if (!m_writeRow->prepare(writeStationRowSql()))
                trouble = serverMessage(m_writeRow->lastError());
        }
    }
    watchCall();
    if (trouble.isEmpty() && !journal::writeStationRow(*m_writeRow, row))
        trouble = serverMessage(m_writeRow->lastError());
    if (!trouble.isEmpty())
        m_writeRow.reset(); // prepared again next time, should the table have gone
    // A server that went away stops forwarding; a row the server refuses (no table, no right
    // to write it) leaves the entries going, and the state says that the shop cannot see
    // the station.
    if (!trouble.isEmpty() && !serverAnswers(remote))
        return Fault{QStringLiteral("the server is gone: %1").arg(trouble)};
    m_rowTrouble = trouble.isEmpty()
                       ? QString()
                       : QStringLiteral("the shop cannot see this station: %1").arg(trouble);
    return {};
}

void ForwardWorker::closeLocal()
{
    m_read.reset();
    m_mark.reset();
    m_count.reset();
    m_local.reset();
}

void ForwardWorker::closeRemote()
{
    m_breaker->forget();
    m_insert.reset();
    m_writeRow.reset();
    m_remote.reset();
}

void ForwardWorker::countNew()
{
    if (!m_count)
        return;
    m_count->bindValue(0, m_counted);
    if (m_count->exec() && m_count->next()) {
        m_waiting += m_count->value(0).toLongLong();
        m_counted = std::max(m_counted, m_count->value(1).toLongLong());
    }
    m_count->finish();
}

void ForwardWorker::watchCall()
{
    // The server keeps the statement's bound itself and says so; this bound is for a server
    // that does not answer at all.
    m_watch->begin(std::chrono::milliseconds(m_timing.server.statementMilliseconds
                                             + m_timing.callGraceMilliseconds));
}

void ForwardWorker::fail(const Fault &failure)
{
    Fault fault = failure;
    // A call cut for want of an answer fails with the words of a lost connection: the cut is
    // the reason.
    if (!fault.inFile && m_watch->fired())
        fault.reason
            = QStringLiteral("the server did not answer within %1 ms: %2")
                  .arg(m_timing.server.statementMilliseconds + m_timing.callGraceMilliseconds)
                  .arg(fault.reason);
    closeRemote();
    if (fault.inFile)
        closeLocal();
    else
        countNew();
    qCDebug(lcJournal) << "forwarding stopped:" << fault.reason << "- again in" << m_delay << "ms";
    m_retryTimer.start(m_delay);
    m_delay = std::min(m_delay * 2, m_timing.longestRetryMilliseconds);
    const bool first = m_failure.isEmpty();
    m_failure = fault.reason;
    report();
    if (first)
        Q_EMIT stalled(fault.reason);
}

void ForwardWorker::report()
{
    ForwardState state;
    state.waiting = m_waiting;
    state.reason = m_failure.isEmpty() ? m_rowTrouble : m_failure;
    if (state.upToDate())
        m_since = {};
    else if (!m_since.isValid())
        m_since = oldestWaitingTime();
    state.since = m_since;
    if (state == m_reported)
        return;
    m_reported = state;
    Q_EMIT stateChanged(state);
}

QString ForwardWorker::serverTrouble(const QSqlError &error) const
{
    if (isTimeout(error))
        return QStringLiteral("the server did not answer in time (%1 ms for a statement, %2 ms "
                              "for a lock): %3")
            .arg(m_timing.server.statementMilliseconds)
            .arg(m_timing.server.lockMilliseconds)
            .arg(serverMessage(error));
    if (!serverAnswers(m_remote->database()))
        return QStringLiteral("the server is gone: %1").arg(serverMessage(error));
    return QStringLiteral("the server does not take entries: %1").arg(serverMessage(error));
}

QDateTime ForwardWorker::oldestWaitingTime() const
{
    // Entries that waited when forwarding began (from an earlier run) set the time back.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!m_local || m_waiting == 0)
        return now;
    QSqlQuery query(m_local->database());
    query.prepare(
        QStringLiteral("SELECT time FROM %1 WHERE id > ? ORDER BY id LIMIT 1").arg(LocalTable));
    query.addBindValue(m_sentUpTo);
    if (!query.exec() || !query.next())
        return now;
    return std::min(now, QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong(), Qt::UTC));
}

} // namespace barlink::journal
