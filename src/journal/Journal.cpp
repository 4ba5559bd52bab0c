#include "Journal.h"

#include "Connection.h"
#include "EntryQuery.h"
#include "JournalLog.h"
#include "LocalFile.h"

#include <QSqlError>
#include <QSqlQuery>

#include <utility>

namespace barlink::journal {

namespace {

constexpr qint64 MillisecondsPerDay = 24 * 60 * 60 * 1000;
// Appends between two checkpoints: a few hundred pages of write-ahead log.
constexpr int AppendsPerCheckpoint = 100;

} // namespace

Journal::Journal(QString path, QString station, int journalDays, QObject *parent)
    : Journal(std::move(path), std::move(station), journalDays, Limits(), parent)
{}

Journal::Journal(QString path, QString station, int journalDays, Limits limits, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_station(std::move(station))
    , m_journalDays(journalDays)
    , m_limits(limits)
{
    m_retryTimer.setInterval(m_limits.retryMilliseconds);
    connect(&m_retryTimer, &QTimer::timeout, this, &Journal::retry);
}

Journal::~Journal()
{
    if (!m_held.empty()) {
        qCWarning(lcJournal) << m_held.size() << "journal entries could not be written to"
                             << m_path;
    }
    m_insert.reset();
}

void Journal::open()
{
    retry();
}

void Journal::append(Entry entry) noexcept
{
    try {
        if (!entry.time.isValid())
            entry.time = QDateTime::currentDateTimeUtc();
        if (entry.station.isEmpty())
            entry.station = m_station;
        entry.localNumber = 0;
        if (!m_available) {
            hold(std::move(entry));
            return;
        }
        // A file removed or replaced while open would take the entry with it: the path is
        // opened again, and whatever is there now decides.
        QString error;
        if (!sameFileAsOpened())
            error = reopen();
        if (error.isEmpty() && !insertEntry(*m_insert, entry))
            error = m_insert->lastError().text();
        if (!error.isEmpty()) {
            hold(std::move(entry));
            fail(error);
            return;
        }
        // The checkpoint copies the log into the file and syncs both, several times the cost of
        // an append: it runs once the event loop is back, after the scan has been answered.
        if (++m_appendsSinceCheckpoint >= AppendsPerCheckpoint) {
            m_appendsSinceCheckpoint = 0;
            QTimer::singleShot(0, this, &Journal::checkpoint);
        }
        Q_EMIT written();
    } catch (...) {
        qCWarning(lcJournal) << "a journal entry was lost";
    }
}

void Journal::hold(Entry entry)
{
    m_held.push_back(std::move(entry));
    if (qsizetype(m_held.size()) > m_limits.heldEntries) {
        m_held.pop_front();
        ++m_dropped;
    }
}

void Journal::fail(const QString &reason)
{
    m_available = false;
    m_insert.reset();
    m_connection.reset();
    if (!m_retryTimer.isActive())
        m_retryTimer.start();
    qCDebug(lcJournal) << "the journal cannot be written:" << reason;
    if (!m_told) {
        m_told = true;
        Q_EMIT unavailable(reason);
    }
}

void Journal::retry()
{
    QString error = reopen();
    if (error.isEmpty())
        error = writeHeld();
    if (!error.isEmpty()) {
        fail(error);
        return;
    }
    m_retryTimer.stop();
    m_available = true;
    if (std::exchange(m_told, false))
        Q_EMIT available();
}

QString Journal::reopen()
{
    m_insert.reset();
    m_connection = std::make_unique<Connection>(QStringLiteral("QSQLITE"));
    QSqlDatabase db = m_connection->database();
    if (!db.isValid())
        return QStringLiteral("the QSQLITE database driver is not installed");
    QString error = openLocalFile(db, m_path, Durability::EveryCommit);
    if (error.isEmpty())
        error = removeOldEntries();
    if (error.isEmpty() && !QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_autocheckpoint = 0")))
        error = QStringLiteral("cannot turn off automatic checkpoints");
    if (!error.isEmpty())
        return error;
    m_place = placeOnDisk(m_path);
    m_insert = std::make_unique<QSqlQuery>(db);
    if (!m_insert->prepare(insertEntrySql(Store::Local)))
        return m_insert->lastError().text();
    return {};
}

bool Journal::sameFileAsOpened() const
{
    return placeOnDisk(m_path) == m_place;
}

void Journal::checkpoint()
{
    // A failure shows at the next append.
    if (m_available)
        QSqlQuery(m_connection->database()).exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
}

QString Journal::removeOldEntries()
{
    if (m_journalDays <= 0)
        return {};
    QSqlQuery query(m_connection->database());
    query.prepare(QStringLiteral("DELETE FROM %1 WHERE time < ?").arg(LocalTable));
    query.addBindValue(QDateTime::currentMSecsSinceEpoch() - m_journalDays * MillisecondsPerDay);
    if (!query.exec())
        return query.lastError().text();
    if (query.numRowsAffected() > 0) {
        qCDebug(lcJournal) << query.numRowsAffected() << "entries older than" << m_journalDays
                           << "days removed";
    }
    return {};
}

QString Journal::writeHeld()
{
    if (m_held.empty())
        return {};
    QSqlDatabase db = m_connection->database();
    if (!db.transaction())
        return db.lastError().text();
    bool ok = true;
    for (auto entry = m_held.cbegin(); ok && entry != m_held.cend(); ++entry)
        ok = insertEntry(*m_insert, *entry);
    // Entries that went past the bound leave one entry that says how many, after the rest.
    if (ok && m_dropped > 0) {
        Entry lost = stationEventEntry(
            StationEvent::EntriesLost,
            std::nullopt,
            QStringLiteral("entries lost while the journal could not be written: %1")
                .arg(m_dropped));
        lost.time = QDateTime::currentDateTimeUtc();
        lost.station = m_station;
        ok = insertEntry(*m_insert, lost);
    }
    if (!ok) {
        const QString error = m_insert->lastError().text();
        db.rollback();
        return error;
    }
    if (!db.commit()) {
        const QString error = db.lastError().text();
        db.rollback();
        return error;
    }
    m_held.clear();
    if (m_dropped > 0) {
        qCWarning(lcJournal) << m_dropped << "journal entries were lost while" << m_path
                             << "could not be written";
        m_dropped = 0;
    }
    Q_EMIT written();
    return {};
}

} // namespace barlink::journal
