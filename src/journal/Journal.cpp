#include "Journal.h"

#include "Connection.h"
#include "EntryQuery.h"
#include "JournalLog.h"
#include "LocalFile.h"
#include "SpillFile.h"
#include "SpillReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
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

// Spill file entries taken into the journal file in one transaction, between two turns of the
// event loop: a label waits for at most one batch.
constexpr qsizetype SpillBatch = 500;

// The key under which the journal file keeps the number of entries lost that the operator has
// not acknowledged yet.
const QString LostKey = QStringLiteral("lost_unacknowledged");

// The key under which the journal file counts the entries taken from a spill file.
QString spillKey(const QString &token)
{
    return QStringLiteral("spill ") + token;
}

} // namespace

Journal::Journal(QString path, QString station, int journalDays, QObject *parent)
    : Journal(std::move(path), std::move(station), journalDays, Limits(), parent)
{}

// The spill files being taken in: the one being read, and what it has given so far.
struct Journal::Taking
{
    QStringList files;                 // still to be read, oldest first
    std::unique_ptr<SpillReader> file; // the one being read
    qint64 alreadyTaken = 0;           // its entries the journal file had before this reading
    qint64 given = 0;                  // its entries read so far
    bool finishedBefore = false;       // the journal file had every entry and its events
    QString unreadable;                // why a file could not be read
    bool pathUnreadable = false;       // the spill file at its own path could not be read
};

Journal::Journal(QString path,
                 QString station,
                 int journalDays,
                 Limits limits,
                 QObject *parent,
                 base::Clock &clock)
    : QObject(parent)
    , m_path(std::move(path))
    , m_station(std::move(station))
    , m_journalDays(journalDays)
    , m_limits(limits)
    , m_clock(&clock)
{
    qRegisterMetaType<JournalState>();
    m_retryTimer.setInterval(m_limits.retryMilliseconds);
    connect(&m_retryTimer, &QTimer::timeout, this, &Journal::retry);
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(m_limits.idleMilliseconds);
    connect(&m_idleTimer, &QTimer::timeout, this, &Journal::tidy);
    m_tidyTimer.setInterval(m_limits.retryMilliseconds);
    connect(&m_tidyTimer, &QTimer::timeout, this, &Journal::tidyLog);
}

Journal::~Journal()
{
    // A spill file being taken in keeps the count of what the journal file has of it.
    m_taking.reset();
    if (!m_held.empty() && !(m_available && writeHeld().isEmpty()) && !spillHeld(nullptr)) {
        qCWarning(lcJournal) << m_held.size() << "journal entries could not be written to" << m_path
                             << "nor to" << m_spillPath;
    }
    if (m_available)
        static_cast<void>(checkpoint("TRUNCATE"));
    m_insert.reset();
}

void Journal::open()
{
    retry();
}

JournalState Journal::state() const
{
    JournalState state;
    state.takingBack = m_taking != nullptr;
    state.takenPercent = m_taking && m_taking->file ? m_taking->file->percent() : 0;
    state.spillUnreadable = m_spillUnreadable;
    state.lostUnacknowledged = m_lostUnacknowledged;
    state.untidyLogBytes = m_untidyLog;
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

void Journal::acknowledgeLost()
{
    m_lostUnacknowledged = 0;
    storeLost();
    tellState();
}

void Journal::storeLost()
{
    // Kept in the file, so that a restart does not hide them; where it cannot be written now,
    // it is written when the file is opened again.
    if (!m_connection || !m_insert)
        return;
    QSqlQuery query(m_connection->database());
    query.prepare(QStringLiteral("INSERT INTO meta (key, value) VALUES (?, ?) "
                                 "ON CONFLICT (key) DO UPDATE SET value = excluded.value"));
    query.addBindValue(LostKey);
    query.addBindValue(QString::number(m_lostUnacknowledged));
    query.exec();
}

void Journal::loadLost()
{
    QSqlQuery query(m_connection->database());
    query.prepare(QStringLiteral("SELECT value FROM meta WHERE key = ?"));
    query.addBindValue(LostKey);
    if (query.exec() && query.next())
        m_lostUnacknowledged += query.value(0).toLongLong();
    m_lostLoaded = true;
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
            ++m_lostUnacknowledged;
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
        m_spilled = 0;
        if (!m_spillPath.isEmpty()) {
            for (const QString &file : SpillFile(m_spillPath).waiting())
                m_spilled += qsizetype(SpillFile(file).countEntries());
        }
    }
    m_available = false;
    m_downReason = reason;
    // A spill file being taken in goes on from where its count stands once the file is back.
    m_taking.reset();
    m_insert.reset();
    m_connection.reset();
    if (!m_retryTimer.isActive())
        m_retryTimer.start();
    qCDebug(lcJournal) << "the journal cannot be written:" << reason;
    tellState();
}

void Journal::retry()
{
    // A taking in goes on from the event loop; it fails or ends on its own.
    if (m_taking)
        return;
    if (!m_available) {
        const QString error = reopen();
        if (!error.isEmpty()) {
            fail(error);
            // Entries held while the spill file could not be written either go there now if
            // it can.
            if (spillHeld(nullptr))
                tellState();
            return;
        }
        if (m_lostLoaded)
            storeLost();
        else
            loadLost();
    }
    startTaking();
}

void Journal::startTaking()
{
    QStringList files;
    if (!m_spillPath.isEmpty()) {
        SpillFile spill(m_spillPath);
        // A file without its name line takes no more entries: set aside, it is read as it is.
        const SpillFile::Found found = spill.found();
        if (found == SpillFile::Found::NotNamed || found == SpillFile::Found::Unreadable)
            static_cast<void>(spill.setAside());
        files = spill.waiting();
    }
    if (files.isEmpty()) {
        finishTaking();
        return;
    }
    if (!m_available)
        m_retryTimer.stop();
    m_taking = std::make_unique<Taking>();
    m_taking->files = files;
    tellState();
    QTimer::singleShot(0, this, &Journal::takeBatch);
}

void Journal::takeBatch()
{
    if (!m_taking)
        return;
    bool done = false;
    const QString error = takeSome(done);
    if (!error.isEmpty()) {
        m_taking.reset();
        fail(error);
        return;
    }
    if (done) {
        finishTaking();
        return;
    }
    tellState();
    QTimer::singleShot(0, this, &Journal::takeBatch);
}

void Journal::finishTaking()
{
    const QString unreadable = m_taking ? m_taking->unreadable : QString();
    if (!unreadable.isEmpty() && unreadable != m_spillUnreadable)
        qCWarning(lcJournal) << unreadable;
    const bool wasUnreadable = !m_spillUnreadable.isEmpty();
    m_spillUnreadable = unreadable;
    m_taking.reset();
    if (!m_available) {
        const QString error = writeHeld();
        if (!error.isEmpty()) {
            fail(error);
            return;
        }
        // Entries a crash left out of the search index are added once the journal is idle.
        m_idleTimer.start();
        m_available = true;
        m_downSince = {};
        m_downReason.clear();
        m_spilled = 0;
    }
    // A spill file that cannot be read is tried again, with the journal file in use meanwhile;
    // the journal says when that begins and when it ends.
    if (m_spillUnreadable.isEmpty())
        m_retryTimer.stop();
    else if (!m_retryTimer.isActive())
        m_retryTimer.start();
    if (wasUnreadable != !m_spillUnreadable.isEmpty())
        append(stationEventEntry(wasUnreadable ? StationEvent::SpillReadable
                                               : StationEvent::SpillUnreadable,
                                 std::nullopt,
                                 m_spillUnreadable));
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
    QString error = openLocalFile(
        db, m_path, Durability::EveryCommit, &damaged, m_limits.lockWaitMilliseconds);
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
    const bool whole = checkpoint("PASSIVE");
    // Another program reading the file holds the checkpoint back, and the log grows meanwhile:
    // it is emptied as soon as that program lets go.
    if ((!whole && QFileInfo(m_path + QStringLiteral("-wal")).size() > m_limits.logBytes)
        || m_untidyLog > 0)
        tidyLog();
    indexSearch();
}

void Journal::tidyLog()
{
    if (!m_connection || !m_insert) {
        m_tidyTimer.stop();
        return;
    }
    // Never waits for the reader: tried again later instead.
    QSqlQuery query(m_connection->database());
    query.exec(QStringLiteral("PRAGMA busy_timeout = 0"));
    const bool whole = checkpoint("TRUNCATE");
    query.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(m_limits.lockWaitMilliseconds));
    const qint64 size = QFileInfo(m_path + QStringLiteral("-wal")).size();
    const qint64 untidy = whole || size <= m_limits.logBytes ? 0 : size;
    if (untidy == 0)
        m_tidyTimer.stop();
    else if (!m_tidyTimer.isActive())
        m_tidyTimer.start();
    if (untidy != m_untidyLog) {
        const bool began = untidy > 0 && m_untidyLog == 0, ended = untidy == 0;
        if (began)
            qCWarning(lcJournal) << "the write-ahead log of" << m_path
                                 << "cannot be emptied while another program reads the file";
        m_untidyLog = untidy;
        // The journal says when the log outgrows its bound and when it is back within it.
        if (began)
            append(stationEventEntry(
                StationEvent::LogUntidy,
                std::nullopt,
                QStringLiteral("the write-ahead log of %1 is %2 bytes and cannot be emptied "
                               "while another program reads the journal file")
                    .arg(QDir::toNativeSeparators(m_path))
                    .arg(untidy)));
        else if (ended)
            append(stationEventEntry(StationEvent::LogTidied));
        tellState();
    }
}

void Journal::indexSearch()
{
    if (!m_available || !m_connection)
        return;
    QSqlDatabase db = m_connection->database();
    if (indexSearchText(db, IndexBatch) == IndexBatch)
        QTimer::singleShot(0, this, &Journal::indexSearch);
}

bool Journal::checkpoint(const char *mode)
{
    // A failure shows at the next append.
    if (!m_connection || !m_insert)
        return false;
    m_appendsSinceCheckpoint = 0;
    QSqlQuery query(m_connection->database());
    // One row: whether it was blocked, the log's frames, and those now in the file.
    if (!query.exec(QStringLiteral("PRAGMA wal_checkpoint(%1)").arg(QLatin1String(mode)))
        || !query.next())
        return false;
    return query.value(0).toInt() == 0
           && query.value(1).toLongLong() == query.value(2).toLongLong();
}

QString Journal::removeOldEntries(bool &damaged)
{
    if (m_journalDays <= 0)
        return {};
    // In the order they were written, up to the first one that is not too old: an entry
    // written while the clock was set back is never taken before younger ones written before
    // it. The first that stays is found reading from the oldest, so that only the entries that
    // go are read. With a server, only what it has already: an entry it never had is never
    // deleted here.
    QSqlQuery query(m_connection->database());
    const QString firstKept
        = QStringLiteral("ifnull((SELECT id FROM %1 WHERE +time >= ? ORDER BY id LIMIT 1), "
                         "(SELECT ifnull(max(id), 0) + 1 FROM %1))")
              .arg(LocalTable);
    query.prepare(m_server.isEmpty()
                      ? QStringLiteral("DELETE FROM %1 WHERE id < %2").arg(LocalTable, firstKept)
                      : QStringLiteral("DELETE FROM %1 WHERE id < %2 AND id <= (SELECT last_id "
                                       "FROM forwarded WHERE server = ?)")
                            .arg(LocalTable, firstKept));
    const qint64 now = m_clock->currentTime().toMSecsSinceEpoch();
    query.addBindValue(now - m_journalDays * MillisecondsPerDay);
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

QString Journal::takeSome(bool &done)
{
    Taking &taking = *m_taking;
    QSqlDatabase db = m_connection->database();
    QSqlQuery query(db);
    if (!taking.file) {
        // Entries spilled while the others were taken in are in a spill file of their own.
        if (taking.files.isEmpty() && !taking.pathUnreadable && QFileInfo::exists(m_spillPath))
            taking.files << m_spillPath;
        if (taking.files.isEmpty()) {
            done = true;
            return {};
        }
        taking.file = std::make_unique<SpillReader>(taking.files.takeFirst());
        if (!taking.file->isOpen()) {
            // Its entries wait where they are, and the state says why, until it can be read.
            taking.unreadable
                = QStringLiteral("the spill file %1 cannot be read: %2")
                      .arg(QDir::toNativeSeparators(taking.file->path()), taking.file->error());
            taking.pathUnreadable = taking.pathUnreadable || taking.file->path() == m_spillPath;
            taking.file.reset();
            return {};
        }
        query.prepare(QStringLiteral("SELECT value FROM meta WHERE key = ?"));
        query.addBindValue(spillKey(taking.file->token()));
        if (!query.exec())
            return query.lastError().text();
        const QString value = query.next() ? query.value(0).toString() : QString();
        query.finish();
        // "N" once every entry and the events are in; "N partial" while batches go on.
        taking.alreadyTaken = value.section(QLatin1Char(' '), 0, 0).toLongLong();
        taking.finishedBefore = !value.isEmpty() && !value.contains(QLatin1Char(' '));
        taking.given = 0;
    }
    SpillReader &file = *taking.file;
    std::vector<Entry> batch;
    file.next(SpillBatch, batch);
    const qint64 firstGiven = taking.given;
    taking.given += qint64(batch.size());
    const qint64 from
        = std::clamp<qint64>(taking.alreadyTaken - firstGiven, 0, qint64(batch.size()));
    if (!db.transaction())
        return db.lastError().text();
    bool ok = true;
    qint64 inserted = 0;
    for (auto entry = batch.cbegin() + from; ok && entry != batch.cend(); ++entry, ++inserted)
        ok = insertEntry(*m_insert, *entry);
    const bool finished = file.atEnd();
    qint64 lostNow = 0;
    // Its events go in with its last batch, once: again only when it has gained entries since.
    const qint64 count = taking.given - std::min(taking.alreadyTaken, taking.given);
    if (ok && finished && (count > 0 || !taking.finishedBefore)) {
        if (file.unreadable() > 0) {
            lostNow = file.unreadable();
            Entry lost = stationEventEntry(
                StationEvent::EntriesLost,
                std::nullopt,
                QStringLiteral("lines of the spill file %1 that could not be read: %2")
                    .arg(QDir::toNativeSeparators(file.path()))
                    .arg(lostNow));
            stamp(lost);
            ok = insertEntry(*m_insert, lost);
        }
        if (ok && count > 0) {
            Entry back = stationEventEntry(
                StationEvent::JournalBack,
                std::nullopt,
                m_downSince.isValid()
                    ? QStringLiteral("the journal file could not be written for %1 from %2 (%3); "
                                     "%4 entries kept in the spill file meanwhile were written "
                                     "now")
                          .arg(spanText(m_downSince.msecsTo(QDateTime::currentDateTimeUtc())),
                               timeText(m_downSince),
                               m_downReason)
                          .arg(count)
                    : QStringLiteral("%1 entries kept in the spill file while the journal file "
                                     "could not be written were written now")
                          .arg(count));
            stamp(back);
            ok = insertEntry(*m_insert, back);
        }
    }
    if (ok && (inserted > 0 || finished)) {
        query.prepare(QStringLiteral("INSERT INTO meta (key, value) VALUES (?, ?) "
                                     "ON CONFLICT (key) DO UPDATE SET value = excluded.value"));
        query.addBindValue(spillKey(file.token()));
        const qint64 counted = std::max(taking.given, taking.alreadyTaken);
        query.addBindValue(finished ? QString::number(counted)
                                    : QStringLiteral("%1 partial").arg(counted));
        ok = query.exec();
    }
    if (!ok || !db.commit()) {
        const QString error
            = query.lastError().isValid() ? query.lastError().text() : m_insert->lastError().text();
        db.rollback();
        return error.isEmpty() ? db.lastError().text() : error;
    }
    if (lostNow > 0) {
        m_lostUnacknowledged += lostNow;
        storeLost();
    }
    if (inserted > 0) {
        afterWrite();
        Q_EMIT written();
    }
    if (finished) {
        // Counted in the file: removing the spill file can fail without a second copy later.
        if (!SpillFile(file.path()).remove())
            qCWarning(lcJournal) << "the spill file" << file.path() << "could not be removed";
        taking.file.reset();
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
