#include "ServerTable.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace barlink::journal {

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
    const QStringList statements{
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 ("
                       "station TEXT NOT NULL, id BIGINT NOT NULL, time BIGINT NOT NULL, "
                       "source TEXT NOT NULL, label TEXT NOT NULL, kind TEXT NOT NULL, "
                       "outcome TEXT NOT NULL, reason TEXT, field TEXT, program TEXT, "
                       "x TEXT, y TEXT, z TEXT, rows INTEGER, PRIMARY KEY (station, id))")
            .arg(ServerTable),
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1_time ON %1 (time, station, id)")
            .arg(ServerTable),
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1_outcome_time ON %1 (outcome, time)")
            .arg(ServerTable),
    };
    QString error;
    {
        // A station that may only add and read entries finds the table made already: it is
        // looked for first, since making it needs the right to create tables.
        QSqlQuery query(db);
        const bool exists
            = query.exec(QStringLiteral("SELECT to_regclass('%1') IS NOT NULL").arg(ServerTable))
              && query.next() && query.value(0).toBool();
        for (const QString &sql : exists ? QStringList() : statements) {
            if (!query.exec(sql)) {
                error = query.lastError().text();
                break;
            }
        }
    }
    if (!error.isEmpty())
        db.close();
    return error;
}

} // namespace barlink::journal
