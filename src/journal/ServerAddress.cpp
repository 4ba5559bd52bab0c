#include "ServerAddress.h"

#include <QSqlDatabase>
#include <QStringList>

#include <libpq-fe.h>

#include <memory>

namespace barlink::journal {

namespace {

// A value as libpq reads it in a key=value string: in single quotes, with backslash and
// quote escaped.
QString quoted(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

} // namespace

ServerAddress parseServerAddress(const QString &server, const ServerBounds &bounds)
{
    ServerAddress address;
    char *message = nullptr;
    // The driver hands its connection string to libpq in the local 8-bit encoding.
    const std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption *)> options(
        PQconninfoParse(server.toLocal8Bit().constData(), &message), PQconninfoFree);
    if (!options) {
        address.error
            = message ? QString::fromLocal8Bit(message).trimmed() : QStringLiteral("out of memory");
        PQfreemem(message);
        return address;
    }
    QStringList rest;
    QStringList given;
    // Every statement of the connection has its bound on the server; the setting's own server
    // options come after, so that they win.
    QString serverOptions = QStringLiteral("-c statement_timeout=%1 -c lock_timeout=%2")
                                .arg(bounds.statementMilliseconds)
                                .arg(bounds.lockMilliseconds);
    for (const PQconninfoOption *option = options.get(); option->keyword; ++option) {
        if (!option->val)
            continue;
        const QLatin1String key(option->keyword);
        const QString value = QString::fromLocal8Bit(option->val);
        bool isNumber = false;
        given << key;
        if (key == QLatin1String("host"))
            address.host = value;
        else if (key == QLatin1String("port") && value.toInt(&isNumber) >= 0 && isNumber)
            address.port = value.toInt();
        else if (key == QLatin1String("dbname"))
            address.databaseName = value;
        else if (key == QLatin1String("user"))
            address.userName = value;
        else if (key == QLatin1String("password"))
            address.password = value;
        else if (value.contains(QLatin1Char(';'))) {
            // The driver turns every ';' of its connect options into a blank.
            address = {};
            address.error = QStringLiteral("the value of %1 holds a ';', which the database "
                                           "driver cannot pass on")
                                .arg(key);
            return address;
        } else if (key == QLatin1String("options"))
            serverOptions += QLatin1Char(' ') + value;
        else
            rest << key + QLatin1Char('=') + quoted(value);
    }
    // A server that does not answer is given up after a few seconds, so that the forwarder
    // tries again and says so; a connection whose network went away is noticed within a
    // minute; the server's list of sessions names the program.
    const std::pair<const char *, QString> defaults[] = {
        {"application_name", QStringLiteral("barlink")},
        {"connect_timeout", QString::number(bounds.connectSeconds)},
        {"keepalives_idle", QStringLiteral("30")},
        {"keepalives_interval", QStringLiteral("10")},
        {"keepalives_count", QStringLiteral("3")},
        {"tcp_user_timeout", QStringLiteral("60000")},
    };
    QStringList added;
    for (const auto &[key, value] : defaults) {
        if (!given.contains(QLatin1String(key)))
            added << QLatin1String(key) + QLatin1Char('=') + value;
    }
    added << QStringLiteral("options=") + quoted(serverOptions);
    address.options = (added + rest).join(QLatin1Char(' '));
    return address;
}

void setServerAddress(QSqlDatabase &db, const ServerAddress &address)
{
    db.setHostName(address.host);
    db.setPort(address.port);
    db.setDatabaseName(address.databaseName);
    db.setUserName(address.userName);
    db.setPassword(address.password);
    db.setConnectOptions(address.options);
}

} // namespace barlink::journal
