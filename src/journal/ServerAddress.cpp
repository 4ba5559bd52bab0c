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

ServerAddress parseServerAddress(const QString &server)
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
    bool timeoutGiven = false;
    bool nameGiven = false;
    for (const PQconninfoOption *option = options.get(); option->keyword; ++option) {
        if (!option->val)
            continue;
        const QLatin1String key(option->keyword);
        const QString value = QString::fromLocal8Bit(option->val);
        bool isNumber = false;
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
        } else
            rest << key + QLatin1Char('=') + quoted(value);
        timeoutGiven = timeoutGiven || key == QLatin1String("connect_timeout");
        nameGiven = nameGiven || key == QLatin1String("application_name");
    }
    // A server that does not answer is given up after a few seconds, so that the forwarder
    // tries again and says so; the server's list of sessions names the program.
    if (!timeoutGiven)
        rest.prepend(QStringLiteral("connect_timeout=5"));
    if (!nameGiven)
        rest.prepend(QStringLiteral("application_name=barlink"));
    address.options = rest.join(QLatin1Char(' '));
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
