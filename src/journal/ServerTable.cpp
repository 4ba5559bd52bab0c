#include "ServerTable.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace barlink::journal {

namespace {

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

// Runs sql in order on query; on failure returns the error.
QString runAll(QSqlQuery &query, const QStringList &sql)
{
    for (const QString &statement : sql) {
        if (!query.exec(statement))
            return query.lastError().text();
    }
    return {};
}

// Makes the table, or gives a table made before entries named their local file the column
// file_id (its entries get '') and the key (station, file_id, id). One station at a time:
// the transaction's advisory lock makes a second station wait until the first has committed,
// and then find the table ready.
QString makeTable(QSqlDatabase &db)
{
    if (!db.transaction())
        return db.lastError().text();
    QSqlQuery query(db);
    QString error = runAll(
        query, {QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('%1'))").arg(ServerTable)});
    const bool exists
        = error.isEmpty()
          && query.exec(QStringLiteral("SELECT to_regclass('%1') IS NOT NULL").arg(ServerTable))
          && query.next() && query.value(0).toBool();
    if (error.isEmpty() && !exists) {
        error = runAll(
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
    } else if (error.isEmpty() && !tableReady(db)) {
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
        sql << QStringLiteral("ALTER TABLE %1 ADD PRIMARY KEY (station, file_id, id)")
                   .arg(ServerTable);
        error = runAll(query, sql);
    }
    if (error.isEmpty() && db.commit())
        return {};
    if (error.isEmpty())
        error = db.lastError().text();
    db.rollback();
    return error;
}

} // namespace

QString openServer(QSqlDatabase &db, const QString &server)
{
    db.close();
    // The driver passes its connect options on to libpq as they are; later keys win, so the
    // station's own string can set a longer wait than the one given here.
    db.setConnectOptions(QStringLiteral("connect_timeout=5 application_name=barlink ") + server);
    if (!db.open()) {
        const QString error = db.lastError().text();
        db.close();
        return error;
    }
    QString error;
    if (!tableReady(db)) {
        error = makeTable(db);
        // A program without the lock may make the table at the same moment: the loser's
        // error (a name already taken) means that the table is there.
        if (!error.isEmpty() && tableReady(db))
            error.clear();
    }
    if (!error.isEmpty())
        db.close();
    return error;
}

} // namespace barlink::journal
