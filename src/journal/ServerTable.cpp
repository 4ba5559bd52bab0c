#include "ServerTable.h"

#include "ServerAddress.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <libpq-fe.h>

namespace barlink::journal {

namespace {

bool tableExists(QSqlDatabase &db, QLatin1String table)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT to_regclass('%1') IS NOT NULL").arg(table))
           && query.next() && query.value(0).toBool();
}

// True when the table is there with the file identity: nothing to make or change. Asked
// first, since making the table needs the right to create tables, and a station may have only
// the right to add and read entries.
bool tableReady(QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT count(*) FROM pg_attribute WHERE attrelid = "
                                     "to_regclass('%1') AND attname = 'file_id' AND NOT "
                                     "attisdropped")
                          .arg(ServerTable))
           && query.next() && query.value(0).toInt() == 1;
}

bool stationTableReady(QSqlDatabase &db)
{
    return tableExists(db, StationTable);
}

// Runs sql in order on query; on failure returns the error.
QString runAll(QSqlQuery &query, const QStringList &sql)
{
    for (const QString &statement : sql) {
        if (!query.exec(statement))
            return serverMessage(query.lastError());
    }
    return {};
}

// Makes the journal table, or gives a table made before entries named their local file the
// column file_id (its entries get '') and the key (station, file_id, id).
QString makeTable(QSqlDatabase &db, QSqlQuery &query)
{
    if (!tableExists(db, ServerTable)) {
        return runAll(
            query,
            {QStringLiteral("CREATE TABLE IF NOT EXISTS %1 ("
                            "station TEXT NOT NULL, file_id TEXT NOT NULL DEFAULT '', "
                            "id BIGINT NOT NULL, time BIGINT NOT NULL, "
                            "source TEXT NOT NULL, label TEXT NOT NULL, kind TEXT NOT NULL, "
                            "outcome TEXT NOT NULL, reason TEXT, field TEXT, program TEXT, "
                            "x TEXT, y TEXT, z TEXT, rows INTEGER, "
                            "PRIMARY KEY (station, file_id, id))")
                 .arg(ServerTable),
             QStringLiteral("CREATE INDEX IF NOT EXISTS %1_time ON %1 (time, station, id)")
                 .arg(ServerTable),
             QStringLiteral("CREATE INDEX IF NOT EXISTS %1_outcome_time ON %1 (outcome, time)")
                 .arg(ServerTable)});
    }
    if (tableReady(db))
        return {};
    QString key;
    if (query.exec(QStringLiteral("SELECT conname FROM pg_constraint WHERE conrelid = "
                                  "to_regclass('%1') AND contype = 'p'")
                       .arg(ServerTable))
        && query.next())
        key = query.value(0).toString();
    QStringList sql{QStringLiteral("ALTER TABLE %1 ADD COLUMN file_id TEXT NOT NULL DEFAULT ''")
                        .arg(ServerTable)};
    if (!key.isEmpty())
        sql << QStringLiteral("ALTER TABLE %1 DROP CONSTRAINT \"%2\"").arg(ServerTable, key);
    sql << QStringLiteral("ALTER TABLE %1 ADD PRIMARY KEY (station, file_id, id)").arg(ServerTable);
    return runAll(query, sql);
}

// The stations' own row each: times on the server's clock.
QString makeStationTable(QSqlDatabase &db, QSqlQuery &query)
{
    if (stationTableReady(db))
        return {};
    return runAll(query,
                  {QStringLiteral("CREATE TABLE %1 (station TEXT PRIMARY KEY, "
                                  "file_id TEXT NOT NULL, version TEXT NOT NULL, "
                                  "last_seen TIMESTAMPTZ NOT NULL, newest_entry TIMESTAMPTZ, "
                                  "waiting BIGINT NOT NULL)")
                       .arg(StationTable)});
}

// Makes a table with make() when ready() says it is missing or out of date, in a transaction
// that holds the tables' advisory lock: one station at a time makes them; a second waits
// until the first has committed and then finds them ready. A program without the lock may
// make a table at the same moment: the loser's error (a name already taken) means that the
// table is there.
template<typename Ready, typename Make>
QString makeWhenMissing(QSqlDatabase &db, Ready ready, Make make)
{
    if (ready(db))
        return {};
    if (!db.transaction())
        return serverMessage(db.lastError());
    QSqlQuery query(db);
    QString error = runAll(
        query, {QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('%1'))").arg(ServerTable)});
    if (error.isEmpty())
        error = make(db, query);
    if (error.isEmpty() && db.commit())
        return {};
    if (error.isEmpty())
        error = serverMessage(db.lastError());
    db.rollback();
    return ready(db) ? QString() : error;
}

// The libpq connection behind db; null when it has none.
PGconn *pgConnection(const QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    // The driver names it by the structure behind libpq's typedef.
    const QByteArrayView type(handle.typeName());
    if (type != "pg_conn*" && type != "PGconn*")
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

} // namespace

bool serverAnswers(const QSqlDatabase &db)
{
    PGconn *const connection = pgConnection(db);
    return connection && PQstatus(connection) == CONNECTION_OK;
}

int serverSocket(const QSqlDatabase &db)
{
    PGconn *const connection = db.isOpen() ? pgConnection(db) : nullptr;
    return connection ? PQsocket(connection) : -1;
}

bool isTimeout(const QSqlError &error)
{
    // SQLSTATE query_canceled (the statement's bound) and lock_not_available (the lock's).
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("57014") || code == QLatin1String("55P03");
}

QString serverMessage(const QSqlError &error)
{
    // The server's (or libpq's) own words on one line, without the driver's generic ones.
    const QString text = error.databaseText().simplified();
    return text.isEmpty() ? error.text().simplified() : text;
}

QString connectServer(QSqlDatabase &db, const QString &server, const ServerBounds &bounds)
{
    db.close();
    const ServerAddress address = parseServerAddress(server, bounds);
    if (!address.error.isEmpty())
        return QStringLiteral("the JournalServer setting is not a connection string: %1")
            .arg(address.error);
    setServerAddress(db, address);
    if (db.open())
        return {};
    const QString error
        = QStringLiteral("cannot connect to the server: %1").arg(serverMessage(db.lastError()));
    db.close();
    return error;
}

QString openServer(QSqlDatabase &db, const QString &server, const ServerBounds &bounds)
{
    QString error = connectServer(db, server, bounds);
    if (error.isEmpty())
        error = openJournalTable(db);
    if (!error.isEmpty())
        db.close();
    return error;
}

QString openJournalTable(QSqlDatabase &db)
{
    const QString error = makeWhenMissing(db, tableReady, makeTable);
    if (error.isEmpty())
        return {};
    return QStringLiteral("the table %1 cannot be made: %2").arg(ServerTable, error);
}

QString openStationTable(QSqlDatabase &db)
{
    const QString error = makeWhenMissing(db, stationTableReady, makeStationTable);
    if (error.isEmpty())
        return {};
    return QStringLiteral("the table %1 cannot be made: %2").arg(StationTable, error);
}

} // namespace barlink::journal
