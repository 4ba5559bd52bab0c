#include "Connection.h"

#include <QAtomicInteger>

namespace barlink::journal {

namespace {
QAtomicInteger<quint64> connectionCount;
}

Connection::Connection(const QString &driver)
    : m_name(QStringLiteral("barlink.journal.%1").arg(connectionCount.fetchAndAddRelaxed(1)))
{
    QSqlDatabase::addDatabase(driver, m_name);
}

Connection::~Connection()
{
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

} // namespace barlink::journal
