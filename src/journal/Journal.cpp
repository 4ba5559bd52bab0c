#include "Journal.h"

#include "Connection.h"
#include "EntryQuery.h"
#include "JournalLog.h"
#include "LocalFile.h"
#include "SpillFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <utility>

namespace barlink::journal {

namespace {

constexpr qint64 MillisecondsPerDay = 24 * 60 * 60 * 1000;
// Appends between two checkpoints: a few hundred pages of write-ahead log.
constexpr int AppendsPerCheckpoint = 100;
// Entries added to the search index in one transaction, between two turns of the event loop.
constexpr int IndexBatch = 256;
// A log this many times the bound is checkpointed at once, even on the way to "ACK": the event
// loop has not come back for a long time.
constexpr qint64 LogBoundNow = 2;

QString timeText(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC'"));
}

QString spanText(qint64 milliseconds)
{
    const qint64 seconds = milliseconds / 1000;
    if (seconds < 120)
        return QStringLiteral("%1 s").arg(seconds);
    if (seconds < 7200)
        return QStringLiteral("%1 min").arg(seconds / 60);
    return QStringLiteral("%1 h %2 min").arg(seconds / 3600).arg(seconds / 60 % 60);
}

// The key under which the journal file counts the entries taken from a spill file.
QString spillKey(const QString &token)
{
    return QStringLiteral("spill ") + token;
}

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
    qRegisterMetaType<JournalState>();
    m_retryTimer.setInterval(m_limits.retryMilliseconds);
    connect(&m_retryTimer, &QTimer::timeout, this, &Journal::retry);
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(m_limits.idleMilliseconds);
    connect(&m_idleTimer, &QTimer::timeout, this, &Journal::tidy);
}

Journal::~Journal()
{
    if (!m_held.empty() && !(m_available && writeHeld().isEmpty()) && !spillHeld(nullptr)) {
        qCWarning(lcJournal) << m_held.size() << "journal entries could not be written to" << m_path
                             << "nor to" << m_spillPath;
    }
    if (m_available)
        checkpoint("TRUNCATE");
    m_insert.reset();
}

void Journal::open()
{
    retry();
}

JournalState Journal::state() const
{
    JournalState state;
    if (m_available)
        return state;
    state.place = m_held.empty() ? JournalState::Place::SpillFile : JournalState::Place::Memory;
    state.since = m_downSince;
    state.reason = m_downReason;
    state.spilled = m_spilled;
    state.held = qsizetype(m_held.size());
    state.lost = m_dropped;
    state.heldSince = m_heldSince;
    return state;
}

void Journal::tellState()
{
    JournalState now = state();
    if (now == m_told)
        return;
    m_told = now;
    Q_EMIT stateChanged(now);
}

void Journal::stamp(Entry &entry) const
{
    if (!entry.time.isValid())
        entry.time = QDateTime::currentDateTimeUtc();
    if (entry.station.isEmpty())
        entry.station = m_station;
    entry.localNumber = 0;
}

void Journal::append(Entry entry) noexcept
{
    try {
        stamp(entry);
        if (m_available) {
            const QString error = insertOne(entry);
            if (error.isEmpty()) {
                afterWrite();
                Q_EMIT written();
                return;
            }
            fail(error);
        }
        keepAside(std::move(entry));
    } catch (...) {
        qCWarning(lcJournal) << "a journal entry was lost";
    }
}

QString Journal::insertOne(const Entry &entry)
{
    // A file removed or replaced while open would take the entry with it: the path is opened
    // again, and whatever is there now decides.
    QString error;
    if (!sameFileAsOpened())
        error = reopen();
    if (!error.isEmpty())
        return error;
    if (insertEntry(*m_insert, entry))
        return {};
    const QSqlError failure = m_insert->lastError();
    if (!isDamage(failure) || !moveAside(failure.text()))
        return failure.text();
    error = reopen();
    if (error.isEmpty() && !insertEntry(*m_insert, entry))
        error = m_insert->lastError().text();
    return error;
}

void Journal::keepAside(Entry entry)
{
    if (!spillHeld(&entry)) {
        if (m_held.empty())
            m_heldSince = entry.time;
        m_held.push_back(std::move(entry));
        if (qsizetype(m_held.size()) > m_limits.heldEntries) {
            m_held.pop_front();
            ++m_dropped;
        }
    }
    tellState();
}

Entry Journal::heldEnded() const
{
    Entry event = stationEventEntry(
        StationEvent::EntriesHeld,
        std::nullopt,
        QStringLiteral("%1 entries were held in memory for %2 from %3, while neither the "
                       "journal file nor the spill file could be written")
            .arg(qsizetype(m_held.size()))
            .arg(spanText(m_heldSince.msecsTo(QDateTime::currentDateTimeUtc())),
                 timeText(m_heldSince)));
    stamp(event);
    return event;
}

Entry Journal::lostEvent() const
{
    Entry lost = stationEventEntry(
        StationEvent::EntriesLost,
        std::nullopt,
        QStringLiteral("entries lost while the journal could not be written: %1").arg(m_dropped));
    stamp(lost);
    return lost;
}

bool Journal::spillHeld(const Entry *next)
{
    if (m_spillPath.isEmpty() || (m_held.empty() && !next))
        return false;
    std::vector<Entry> batch(m_held.cbegin(), m_held.cend());
    if (!m_held.empty())
        batch.push_back(heldEnded());
    if (m_dropped > 0)
        batch.push_back(lostEvent());
    if (next)
        batch.push_back(*next);
    if (!SpillFile(m_spillPath).append(batch).isEmpty())
        return false;
    m_spilled += qsizetype(batch.size());
    m_held.clear();
    m_heldSince = {};
    m_dropped = 0;
    return true;
}

void Journal::fail(const QString &reason)
{
    if (m_available || !m_downSince.isValid()) {
        m_downSince = QDateTime::currentDateTimeUtc();
        // A spill file left by an earlier run waits for the file too; without a spill file
        // nothing was left.
        m_spilled
            = m_spillPath.isEmpty() ? 0 : qsizetype(SpillFile(m_spillPath).read().entries.size());
    }
    m_available = false;
    m_downReason = reason;
    m_insert.reset();
    m_connection.reset();
    if (!m_retryTimer.isActive())
        m_retryTimer.start();
    qCDebug(lcJournal) << "the journal cannot be written:" << reason;
    tellState();
}

void Journal::retry()
{
    QString error = reopen();
    if (error.isEmpty())
        error = takeSpilled();
    if (error.isEmpty())
        error = writeHeld();
    if (!error.isEmpty()) {
        fail(error);
        // Entries held while the spill file could not be written either go there now if it can.
        if (spillHeld(nullptr))
            tellState();
        return;
    }
    m_retryTimer.stop();
    // Entries a crash left out of the search index are added once the journal is idle.
    m_idleTimer.start();
    m_available = true;
    m_downSince = {};
    m_downReason.clear();
    m_spilled = 0;
    tellState();
}

QString Journal::reopen()
{
    bool damaged = false;
    QString error = openFile(damaged);
    if (!error.isEmpty() && damaged && moveAside(error))
        error = openFile(damaged);
    // The new file begins with why it is new.
    if (error.isEmpty() && m_damageNote) {
        if (!insertEntry(*m_insert, *m_damageNote))
            return m_insert->lastError().text();
        m_damageNote.reset();
    }
    return error;
}

QString Journal::openFile(bool &damaged)
{
    m_insert.reset();
    m_connection = std::make_unique<Connection>(QStringLiteral("QSQLITE"));
    QSqlDatabase db = m_connection->database();
    damaged = false;
    if (!db.isValid())
        return QStringLiteral("the QSQLITE database driver is not installed");
    QString error = openLocalFile(db, m_path, Durability::EveryCommit, &damaged);
    if (error.isEmpty())
        error = removeOldEntries(damaged);
    // Checkpoints run when this journal asks (after the scan has been answered), never inside
    // an append; once a checkpoint has emptied the log, the log is written again from its
    // start and its file cut back to the bound, so that the file grows only with a log that
    // really grows, which asks for the next checkpoint.
    QSqlQuery query(db);
    if (error.isEmpty()
        && (!query.exec(QStringLiteral("PRAGMA wal_autocheckpoint = 0"))
            || !query.exec(
                QStringLiteral("PRAGMA journal_size_limit = %1").arg(m_limits.logBytes))))
        error = query.lastError().text();
    if (!error.isEmpty())
        return error;
    m_place = placeOnDisk(m_path);
    m_insert = std::make_unique<QSqlQuery>(db);
    if (!m_insert->prepare(insertEntrySql(Store::Local))) {
        damaged = isDamage(m_insert->lastError());
        return m_insert->lastError().text();
    }
    return {};
}

bool Journal::moveAside(const QString &reason)
{
    m_insert.reset();
    m_connection.reset();
    const QFileInfo info(m_path);
    const QString when
        = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString aside = info.dir().filePath(QStringLiteral("journal-damaged-%1.sqlite").arg(when));
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside
            = info.dir().filePath(QStringLiteral("journal-damaged-%1-%2.sqlite").arg(when).arg(n));
    if (!QFile::rename(m_path, aside)) {
        qCWarning(lcJournal) << "the damaged journal file" << m_path << "could not be moved aside";
        return false;
    }
    // Its write-ahead log belongs to it: whatever can be read of it is read with it.
    QFile::rename(m_path + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(m_path + QStringLiteral("-shm"));
    qCWarning(lcJournal) << "the journal file" << m_path << "was damaged (" << reason
                         << ") and was moved aside to" << aside;
    Entry note = stationEventEntry(
        StationEvent::JournalDamaged,
        std::nullopt,
        QStringLiteral("the journal file was damaged (%1); it was moved aside as %2 and a new "
                       "file was started")
            .arg(reason, QDir::toNativeSeparators(aside)));
    stamp(note);
    m_damageNote = std::move(note);
    Q_EMIT movedAside(aside, reason);
    return true;
}

bool Journal::sameFileAsOpened() const
{
    return placeOnDisk(m_path) == m_place;
}

void Journal::afterWrite()
{
    m_idleTimer.start();
    const qint64 log = QFileInfo(m_path + QStringLiteral("-wal")).size();
    if (log > LogBoundNow * m_limits.logBytes) {
        checkpoint("PASSIVE");
        return;
    }
    // The checkpoint copies the log into the file and syncs both, several times the cost of an
    // append: it runs once the event loop is back, after the scan has been answered.
    if (++m_appendsSinceCheckpoint >= AppendsPerCheckpoint || log > m_limits.logBytes) {
        m_appendsSinceCheckpoint = 0;
        QTimer::singleShot(0, this, &Journal::tidy);
    }
}

void Journal::tidy()
{
    // In this order: indexing right after the checkpoint is the write that starts the log
    // again from its start, which writes and syncs the log's header, so that the next append
    // does not.
    checkpoint("PASSIVE");
    indexSearch();
}

void Journal::indexSearch()
{
    if (!m_available || !m_connection)
        return;
    QSqlDatabase db = m_connection->database();
    if (indexSearchText(db, IndexBatch) == IndexBatch)
        QTimer::singleShot(0, this, &Journal::indexSearch);
}

void Journal::checkpoint(const char *mode)
{
    // A failure shows at the next append.
    if (!m_available || !m_connection)
        return;
    m_appendsSinceCheckpoint = 0;
    QSqlQuery(m_connection->database())
        .exec(QStringLiteral("PRAGMA wal_checkpoint(%1)").arg(QLatin1String(mode)));
}

QString Journal::removeOldEntries(bool &damaged)
{
    if (m_journalDays <= 0)
        return {};
    // With a server, only what it has already: an entry it never had is never deleted here.
    QSqlQuery query(m_connection->database());
    query.prepare(m_server.isEmpty()
                      ? QStringLiteral("DELETE FROM %1 WHERE time < ?").arg(LocalTable)
                      : QStringLiteral("DELETE FROM %1 WHERE time < ? AND id <= (SELECT last_id "
                                       "FROM forwarded WHERE server = ?)")
                            .arg(LocalTable));
    query.addBindValue(QDateTime::currentMSecsSinceEpoch() - m_journalDays * MillisecondsPerDay);
    if (!m_server.isEmpty())
        query.addBindValue(m_server);
    if (!query.exec()) {
        damaged = isDamage(query.lastError());
        return query.lastError().text();
    }
    if (query.numRowsAffected() > 0) {
        qCDebug(lcJournal) << query.numRowsAffected() << "entries older than" << m_journalDays
                           << "days removed";
    }
    return {};
}

QString Journal::takeSpilled()
{
    if (m_spillPath.isEmpty())
        return {};
    SpillFile spill(m_spillPath);
    const SpillFile::Contents contents = spill.read();
    if (contents.token.isEmpty()) {
        if (contents.unreadable > 0) {
            const QString aside = spill.setAside();
            qCWarning(lcJournal) << "the spill file" << m_spillPath
                                 << "cannot be read; it was moved aside to" << aside;
        }
        return {};
    }
    QSqlDatabase db = m_connection->database();
    if (!db.transaction())
        return db.lastError().text();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT value FROM meta WHERE key = ?"));
    query.addBindValue(spillKey(contents.token));
    bool ok = query.exec();
    const qsizetype taken = ok && query.next() ? query.value(0).toLongLong() : 0;
    query.finish();
    const qsizetype count = qsizetype(contents.entries.size());
    for (qsizetype i = taken; ok && i < count; ++i)
        ok = insertEntry(*m_insert, contents.entries[std::size_t(i)]);
    if (ok && contents.unreadable > 0 && taken < count) {
        Entry lost
            = stationEventEntry(StationEvent::EntriesLost,
                                std::nullopt,
                                QStringLiteral("lines of the spill file that could not be read: %1")
                                    .arg(contents.unreadable));
        stamp(lost);
        ok = insertEntry(*m_insert, lost);
    }
    if (ok && taken < count) {
        Entry back = stationEventEntry(
            StationEvent::JournalBack,
            std::nullopt,
            m_downSince.isValid()
                ? QStringLiteral("the journal file could not be written for %1 from %2 (%3); "
                                 "%4 entries kept in the spill file meanwhile were written now")
                      .arg(spanText(m_downSince.msecsTo(QDateTime::currentDateTimeUtc())),
                           timeText(m_downSince),
                           m_downReason)
                      .arg(count - taken)
                : QStringLiteral("%1 entries kept in the spill file while the journal file "
                                 "could not be written were written now")
                      .arg(count - taken));
        stamp(back);
        ok = insertEntry(*m_insert, back);
    }
    if (ok) {
        query.prepare(QStringLiteral("INSERT INTO meta (key, value) VALUES (?, ?) "
                                     "ON CONFLICT (key) DO UPDATE SET value = excluded.value"));
        query.addBindValue(spillKey(contents.token));
        query.addBindValue(QString::number(count));
        ok = query.exec();
    }
    if (!ok || !db.commit()) {
        const QString error
            = query.lastError().isValid() ? query.lastError().text() : m_insert->lastError().text();
        db.rollback();
        return error.isEmpty() ? db.lastError().text() : error;
    }
    // Counted in the file: removing the spill file can fail without a second copy later.
    if (!spill.remove())
        qCWarning(lcJournal) << "the spill file" << m_spillPath << "could not be removed";
    if (taken < count)
        Q_EMIT written();
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
    if (ok)
        ok = insertEntry(*m_insert, heldEnded());
    // Entries that went past the bound leave one entry that says how many, after the rest.
    if (ok && m_dropped > 0)
        ok = insertEntry(*m_insert, lostEvent());
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
    m_heldSince = {};
    if (m_dropped > 0) {
        qCWarning(lcJournal) << m_dropped << "journal entries were lost while" << m_path
                             << "could not be written";
        m_dropped = 0;
    }
    Q_EMIT written();
    return {};
}

} // namespace barlink::journal
