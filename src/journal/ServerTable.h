#pragma once

#include <QLatin1String>
#include <QSqlDatabase>
#include <QString>

namespace barlink::journal {

// The shop-wide journal: one table on a PostgreSQL server (driver QPSQL) that every station
// forwards its entries to, each stored once under its station, its local file's identity and
// its local number.
inline constexpr QLatin1String ServerTable("barlink_journal");

// Opens db, a QPSQL connection of this thread, on the server that `server` names (a libpq
// connection string: "host=... port=... dbname=... user=..."; the password comes from the
// user's ~/.pgpass, read by libpq) and makes the table when it is missing (or brings one made
// by an earlier version up to date). Returns an empty
// text, or why the server cannot be used (db is then closed).
[[nodiscard]] QString openServer(QSqlDatabase &db, const QString &server);

} // namespace barlink::journal
