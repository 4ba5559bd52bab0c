#pragma once

#include <QString>

class QSqlDatabase;

namespace barlink::journal {

// How long a connection to the server may wait for it: to connect, for a statement, and for a
// lock that another connection holds (a statement that runs past its bound is cancelled by the
// server and fails). The connection's socket is also kept alive and given up when the network
// stops carrying it.
struct ServerBounds
{
    int connectSeconds = 5;
    int statementMilliseconds = 10000;
    int lockMilliseconds = 5000;
};

// The JournalServer setting taken apart for the QPSQL driver. libpq's own parser reads both
// forms, "host=... dbname=... user=..." and "postgresql://user@host:port/dbname?key=value",
// so that each value reaches the driver as the setting gave it: host, port, database name,
// user and password in their own places, every other keyword as a connect option.
struct ServerAddress
{
    QString host;
    int port = -1; // -1: libpq's default (a list of ports goes in the options)
    QString databaseName;
    QString userName;
    QString password;
    // key='value' pairs for the driver's connect options, with the bounds of ServerBounds
    // (connect_timeout, statement_timeout and lock_timeout given to the server with the
    // setting's own options after them, TCP keepalives) and application_name=barlink, each
    // unless the setting gives its own.
    QString options;
    QString error; // why the setting cannot be used; the rest is then empty
};

[[nodiscard]] ServerAddress parseServerAddress(const QString &server,
                                               const ServerBounds &bounds = {});

// Gives db, a QPSQL connection, the address; db is not opened.
void setServerAddress(QSqlDatabase &db, const ServerAddress &address);

} // namespace barlink::journal
