#include "LocalFile.h"

#include "JournalLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include <sqlite3.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include <vector>

namespace barlink::journal {

namespace {

// What takes a file from one version to the next, in order: migrations[n] takes version n to
// version n + 1. A new version is one more list here; a released one never changes.
const std::vector<QStringList> &migrations()
{
    static const std::vector<QStringList> steps{
        // Version 1. time: UTC milliseconds since 1970. id: the local number, never used twice
        // (AUTOINCREMENT), even once old entries have gone, since the shop-wide table knows an
        // entry by station, file and local number. forwarded: how far the entries have
        // reached each server.
        {
            QStringLiteral("CREATE TABLE entries ("
                           "id INTEGER PRIMARY KEY AUTOINCREMENT, time INTEGER NOT NULL, "
                           "station TEXT NOT NULL, source TEXT NOT NULL, label TEXT NOT NULL, "
                           "kind TEXT NOT NULL, outcome TEXT NOT NULL, reason TEXT, field TEXT, "
                           "program TEXT, x TEXT, y TEXT, z TEXT, rows INTEGER)"),
            QStringLiteral("CREATE INDEX entries_time ON entries (time, (label || char(31) || "
                           "ifnull(reason, '') || char(31) || ifnull(field, '') || char(31) || "
                           "ifnull(program, '')))"),
            QStringLiteral("CREATE INDEX entries_outcome_time ON entries (outcome, time)"),
            QStringLiteral("CREATE TABLE forwarded ("
                           "server TEXT PRIMARY KEY, last_id INTEGER NOT NULL)"),
        },
        // Version 2. meta holds the file's identity: a random id made with the file, so that
        // the shop-wide table tells a station's new file, whose local numbers start again at
        // 1, from the one it replaced. search: the searched texts in lower case, in one
        // column that the time index holds (version 1 kept them as an expression there).
        // entries_search indexes every three characters of it, kept by triggers, to find a
        // text that few entries hold without reading them all.
        {
            QStringLiteral("CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)"),
            QStringLiteral("INSERT INTO meta VALUES ('file_id', lower(hex(randomblob(16))))"),
            QStringLiteral("ALTER TABLE entries ADD COLUMN search TEXT"),
            QStringLiteral("UPDATE entries SET search = lower(label || char(31) || "
                           "ifnull(reason, '') || char(31) || ifnull(field, '') || char(31) || "
                           "ifnull(program, ''))"),
            QStringLiteral("DROP INDEX entries_time"),
            QStringLiteral("CREATE INDEX entries_time ON entries (time, search)"),
            QStringLiteral("CREATE VIRTUAL TABLE entries_search USING fts5(search, "
                           "content='entries', content_rowid='id', tokenize='trigram')"),
            QStringLiteral("INSERT INTO entries_search (entries_search) VALUES ('rebuild')"),
            QStringLiteral("CREATE TRIGGER entries_search_add AFTER INSERT ON entries BEGIN "
                           "INSERT INTO entries_search (rowid, search) VALUES (new.id, "
                           "new.search); END"),
            QStringLiteral("CREATE TRIGGER entries_search_remove AFTER DELETE ON entries BEGIN "
                           "INSERT INTO entries_search (entries_search, rowid, search) "
                           "VALUES ('delete', old.id, old.search); END"),
        },
        // Version 3. An entry is no longer added to entries_search in its own transaction,
        // which would put the index's pages on the way to "ACK": indexSearchText() adds the
        // entries past the mark search_indexed later, in batches. Every entry of an older file
        // is indexed already. Only entries in the index are taken out of it.
        {
            QStringLiteral("DROP TRIGGER entries_search_add"),
            QStringLiteral("INSERT INTO meta VALUES ('search_indexed', "
                           "(SELECT ifnull(max(id), 0) FROM entries))"),
            QStringLiteral("DROP TRIGGER entries_search_remove"),
            QStringLiteral("CREATE TRIGGER entries_search_remove AFTER DELETE ON entries "
                           "WHEN old.id <= (SELECT CAST(value AS INTEGER) FROM meta WHERE key = "
                           "'search_indexed') BEGIN "
                           "INSERT INTO entries_search (entries_search, rowid, search) "
                           "VALUES ('delete', old.id, old.search); END"),
        },
        // Version 4. A reason is kept as its code and arguments beside its English text
        // (reason), so that the screen shows it in the operator's language: reason_code the
        // code's name, reason_args its arguments as a JSON array. Null for an entry whose reason
        // is plain text, and for every entry of an older file, which is shown as stored.
        {
            QStringLiteral("ALTER TABLE entries ADD COLUMN reason_code TEXT"),
            QStringLiteral("ALTER TABLE entries ADD COLUMN reason_args TEXT"),
        },
    };
    return steps;
}

// Set by run() when a statement failed because the file is damaged.
thread_local bool lastRunDamaged = false;

// Runs one statement; on failure stores its error in `error` and returns false.
bool run(QSqlQuery &query, const QString &sql, QString &error)
{
    if (query.exec(sql))
        return true;
    error = query.lastError().text();
    lastRunDamaged = lastRunDamaged || isDamage(query.lastError());
    return false;
}

QString migrate(QSqlDatabase &db)
{
    QSqlQuery query(db);
    QString error;
    // The version is read inside the write transaction, so that two connections opening a new
    // file at once do not both make the tables.
    if (!run(query, QStringLiteral("BEGIN IMMEDIATE"), error))
        return error;
    int version = -1;
    if (run(query, QStringLiteral("PRAGMA user_version"), error) && query.next())
        version = query.value(0).toInt();
    const int newest = localSchemaVersion();
    if (version > newest) {
        error = QStringLiteral("the journal file is of version %1, newer than this program's %2")
                    .arg(version)
                    .arg(newest);
    }
    for (int v = version; error.isEmpty() && v < newest; ++v) {
        for (const QString &sql : migrations()[std::size_t(v)]) {
            if (!run(query, sql, error))
                break;
        }
    }
    if (error.isEmpty() && version != newest)
        run(query, QStringLiteral("PRAGMA user_version = %1").arg(newest), error);
    if (error.isEmpty() && run(query, QStringLiteral("COMMIT"), error))
        return {};
    query.exec(QStringLiteral("ROLLBACK"));
    return error;
}

} // namespace

QString localSearchText(const QString &label,
                        const QString &reason,
                        const QString &field,
                        const QString &program)
{
    // Entries taken over from version 1 were lowered by SQLite, which lowers ASCII only.
    const QChar unit(0x1f);
    return (label + unit + reason + unit + field + unit + program).toLower();
}

QString defaultJournalPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/barlink/journal.sqlite");
}

int localSchemaVersion()
{
    return int(migrations().size());
}

std::pair<quint64, quint64> placeOnDisk(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return {quint64(info.st_dev), quint64(info.st_ino)};
#else
    Q_UNUSED(path);
#endif
    return {0, 0};
}

QString localFileId(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SELECT value FROM meta WHERE key = 'file_id'")) && query.next())
        return query.value(0).toString();
    return {};
}

bool isDamage(const QSqlError &error)
{
    // The driver reports SQLite's result code; the primary code is its low byte.
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    constexpr int Corrupt = 11;
    constexpr int NotADatabase = 26;
    return ok && (code == Corrupt || code == NotADatabase);
}

QString openLocalFile(QSqlDatabase &db,
                      const QString &path,
                      Durability durability,
                      bool *damaged,
                      int lockWaitMilliseconds)
{
    db.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    db.setDatabaseName(path);
    QString error;
    lastRunDamaged = false;
    if (!db.open()) {
        error = db.lastError().text();
        lastRunDamaged = isDamage(db.lastError());
    } else {
        QSqlQuery query(db);
        // A write waits this long for another connection's (the forwarder's short mark update)
        // before it fails and the entry is kept in memory.
        if (run(query, QStringLiteral("PRAGMA busy_timeout = %1").arg(lockWaitMilliseconds), error)
            && run(query, QStringLiteral("PRAGMA journal_mode = WAL"), error) && query.next()
            && query.value(0).toString() != QLatin1String("wal")) {
            // Where the file system cannot share memory between connections; the rollback
            // journal with the same synchronous level is as safe, only slower.
            qCWarning(lcJournal) << "the journal file" << path << "stays in journal mode"
                                 << query.value(0).toString();
        }
        // WAL with synchronous=FULL: each commit is appended to the write-ahead log and the log
        // is synced before the commit returns, so an appended entry survives a crash or a
        // power cut; a commit cut short is ignored at the next open by the log's checksums, so
        // the file is never corrupted. NORMAL syncs only at checkpoints: still never
        // corrupted, but the last commits may go.
        if (error.isEmpty()) {
            run(query,
                durability == Durability::EveryCommit
                    ? QStringLiteral("PRAGMA synchronous = FULL")
                    : QStringLiteral("PRAGMA synchronous = NORMAL"),
                error);
        }
        if (error.isEmpty())
            error = migrate(db);
    }
    if (!error.isEmpty())
        db.close();
    if (damaged)
        *damaged = !error.isEmpty() && lastRunDamaged;
    return error;
}

int indexSearchText(QSqlDatabase &db, int most)
{
    QSqlQuery query(db);
    QString error;
    // Losing this transaction to a power cut loses its mark with it: the entries are indexed
    // again. So it does not wait for the disk; the next entry's commit, or the next
    // checkpoint, syncs it with the rest of the log.
    int synchronous = -1;
    if (run(query, QStringLiteral("PRAGMA synchronous"), error) && query.next())
        synchronous = query.value(0).toInt();
    if (synchronous < 0 || !run(query, QStringLiteral("PRAGMA synchronous = NORMAL"), error))
        return -1;
    qint64 from = 0;
    qint64 upTo = 0;
    int count = 0;
    // The mark is read inside the write transaction that moves it.
    bool ok = run(query, QStringLiteral("BEGIN IMMEDIATE"), error)
              && run(query,
                     QStringLiteral(
                         "SELECT CAST(value AS INTEGER) FROM meta WHERE key = 'search_indexed'"),
                     error)
              && query.next();
    if (ok) {
        from = query.value(0).toLongLong();
        query.prepare(QStringLiteral("SELECT max(id), count(*) FROM (SELECT id FROM entries "
                                     "WHERE id > ? ORDER BY id LIMIT ?)"));
        query.addBindValue(from);
        query.addBindValue(most);
        ok = query.exec() && query.next();
        if (ok) {
            upTo = query.value(0).toLongLong();
            count = query.value(1).toInt();
        }
    }
    query.finish();
    if (ok && count > 0) {
        query.prepare(QStringLiteral("INSERT INTO entries_search (rowid, search) SELECT id, "
                                     "search FROM entries WHERE id > ? AND id <= ?"));
        query.addBindValue(from);
        query.addBindValue(upTo);
        ok = query.exec();
        if (ok) {
            query.prepare(QStringLiteral("UPDATE meta SET value = ? WHERE key = 'search_indexed'"));
            query.addBindValue(QString::number(upTo));
            ok = query.exec();
        }
    }
    if (ok)
        ok = run(query, QStringLiteral("COMMIT"), error);
    else
        error = query.lastError().text();
    if (!ok) {
        query.exec(QStringLiteral("ROLLBACK"));
        qCDebug(lcJournal) << "the search index could not be brought up to date:" << error;
    }
    query.exec(QStringLiteral("PRAGMA synchronous = %1").arg(synchronous));
    return ok ? count : -1;
}

void SqliteClose::operator()(sqlite3 *db) const
{
    sqlite3_close(db);
}

namespace {

// The file at path as a SQLite URI with one query parameter; '%', '?' and '#' in the name
// are escaped. On Windows the drive letter follows a slash, "file:/C:/...".
QByteArray fileUri(const QString &path, const char *parameter)
{
    QString absolute = QFileInfo(path).absoluteFilePath();
    if (!absolute.startsWith(QLatin1Char('/')))
        absolute.prepend(QLatin1Char('/'));
    return "file:" + QUrl::toPercentEncoding(absolute, "/:") + '?' + parameter;
}

// Opens uri to read and reads the schema, which is when SQLite opens the write-ahead log; the
// SQLite result of the first step that fails.
int openToRead(const QByteArray &uri, SqliteConnection &db)
{
    sqlite3 *opened = nullptr;
    int status = sqlite3_open_v2(uri.constData(),
                                 &opened,
                                 SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
    db.reset(opened);
    if (status == SQLITE_OK) {
        // A station's commit or checkpoint holds a reader back only briefly.
        sqlite3_busy_timeout(db.get(), 1000);
        status = sqlite3_exec(
            db.get(), "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    }
    return status & 0xff;
}

ReadOnlyFile::State stateAfter(int status)
{
    if (status == SQLITE_OK)
        return ReadOnlyFile::State::Opened;
    if (status == SQLITE_CORRUPT || status == SQLITE_NOTADB)
        return ReadOnlyFile::State::Damaged;
    return ReadOnlyFile::State::Failed;
}

} // namespace

ReadOnlyFile openLocalFileToRead(const QString &path)
{
    ReadOnlyFile file;
    int status = openToRead(fileUri(path, "mode=ro"), file.db);
    // A reader of a file in write-ahead log mode needs the -shm file beside it, made by the
    // first connection; SQLite reports the folder that cannot be written as one of these.
    if (status == SQLITE_CANTOPEN || status == SQLITE_READONLY) {
        const QFileInfo log(path + QLatin1String("-wal"));
        if (log.exists() && log.size() > 0) {
            file.state = ReadOnlyFile::State::LogUnreadable;
            file.error = QStringLiteral("its write-ahead log %1 cannot be read without a -shm "
                                        "file, which cannot be made in that folder")
                             .arg(log.filePath());
            file.db.reset();
            return file;
        }
        status = openToRead(fileUri(path, "immutable=1"), file.db);
    }
    file.state = stateAfter(status);
    if (file.state != ReadOnlyFile::State::Opened) {
        file.error = QString::fromUtf8(sqlite3_errmsg(file.db.get()));
        file.db.reset();
    }
    return file;
}

} // namespace barlink::journal
