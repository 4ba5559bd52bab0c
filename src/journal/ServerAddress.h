#pragma once

#include <QString>

class QSqlDatabase;

namespace barlink::journal {

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
    // key='value' pairs for the driver's connect options, with connect_timeout=5 and
    // application_name=barlink unless the setting gives its own.
    QString options;
    QString error; // why the setting cannot be used; the rest is then empty
};

[[nodiscard]] ServerAddress parseServerAddress(const QString &server);

// Gives db, a QPSQL connection, the address; db is not opened.
void setServerAddress(QSqlDatabase &db, const ServerAddress &address);

} // namespace barlink::journal
