#include "LocalFile.h"

#include "JournalLog.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStringList>

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
        // entry by station and local number. entries_time also holds the searched text
        // (LocalSearchText). forwarded: how far the entries have reached each server.
        {
            QStringLiteral("CREATE TABLE entries ("
                           "id INTEGER PRIMARY KEY AUTOINCREMENT, time INTEGER NOT NULL, "
                           "station TEXT NOT NULL, source TEXT NOT NULL, label TEXT NOT NULL, "
                           "kind TEXT NOT NULL, outcome TEXT NOT NULL, reason TEXT, field TEXT, "
                           "program TEXT, x TEXT, y TEXT, z TEXT, rows INTEGER)"),
            QStringLiteral("CREATE INDEX entries_time ON entries (time, %1)").arg(LocalSearchText),
            QStringLiteral("CREATE INDEX entries_outcome_time ON entries (outcome, time)"),
            QStringLiteral("CREATE TABLE forwarded ("
                           "server TEXT PRIMARY KEY, last_id INTEGER NOT NULL)"),
        },
    };
    return steps;
}

// Runs one statement; on failure stores its error in `error` and returns false.
bool run(QSqlQuery &query, const QString &sql, QString &error)
{
    if (query.exec(sql))
        return true;
    error = query.lastError().text();
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

QString defaultJournalPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/barlink/journal.sqlite");
}

int localSchemaVersion()
{
    return int(migrations().size());
}

QString openLocalFile(QSqlDatabase &db, const QString &path, Durability durability)
{
    db.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    db.setDatabaseName(path);
    QString error;
    if (!db.open()) {
        error = db.lastError().text();
    } else {
        QSqlQuery query(db);
        // A write waits this long for another connection's (the forwarder's short mark update)
        // before it fails and the entry is kept in memory.
        if (run(query, QStringLiteral("PRAGMA busy_timeout = 200"), error)
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
    return error;
}

} // namespace barlink::journal
