#pragma once

#include "ServerAddress.h"

#include <QLatin1String>
#include <QSqlDatabase>
#include <QString>

class QSqlError;

namespace barlink::journal {

// The shop-wide journal: one table on a PostgreSQL server (driver QPSQL) that every station
// forwards its entries to, each stored once under its station, its local file's identity and
// its local number.
inline constexpr QLatin1String ServerTable("barlink_journal");

// One row per station that forwards: its journal file, version, when the server last heard of
// it, its newest entry and how many entries wait to be forwarded. The station keeps it up to
// date while it reaches the server, so that the shop sees one that stopped.
inline constexpr QLatin1String StationTable("barlink_station");

// Opens db, a QPSQL connection of this thread, on the server that `server` names: a libpq
// connection string, "host=... port=... dbname=... user=..." or
// "postgresql://user@host:port/dbname?sslmode=require" (see parseServerAddress()); the
// password comes from the user's ~/.pgpass, read by libpq. Makes nothing. Returns an empty
// text, or why the server cannot be used in plain words with the server's own (db is then
// closed).
// bounds: how long the connection waits for the server (ServerBounds).
[[nodiscard]] QString
connectServer(QSqlDatabase &db, const QString &server, const ServerBounds &bounds = {});

// connectServer(), then makes the journal table when it is missing (or brings one made by an
// earlier version up to date). Returns an empty text, or why the server cannot be used (db is
// then closed).
[[nodiscard]] QString
openServer(QSqlDatabase &db, const QString &server, const ServerBounds &bounds = {});

// Makes the journal table on the open db when it is missing (or brings one made by an earlier
// version up to date). Returns an empty text, or why it cannot be made (db stays open).
[[nodiscard]] QString openJournalTable(QSqlDatabase &db);

// Makes the table of stations on the open db when it is missing. Returns an empty text, or
// why it cannot be made (db stays open).
[[nodiscard]] QString openStationTable(QSqlDatabase &db);

// True while db's connection to the server holds (a failed statement leaves it so).
[[nodiscard]] bool serverAnswers(const QSqlDatabase &db);

// True when the error is a statement that ran past its bound (statement_timeout) or waited
// too long for a lock (lock_timeout).
[[nodiscard]] bool isTimeout(const QSqlError &error);

// The socket of db's open connection to the server; -1 when there is none.
[[nodiscard]] int serverSocket(const QSqlDatabase &db);

// The server's own message of an error, on one line.
[[nodiscard]] QString serverMessage(const QSqlError &error);

} // namespace barlink::journal
