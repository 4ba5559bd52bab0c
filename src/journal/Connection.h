#pragma once

#include <QSqlDatabase>
#include <QString>

namespace barlink::journal {

// A database connection of its own (a name no other holds), for the thread that makes it:
// closed and unregistered when the object goes. Queries on it must be gone by then.
class Connection
{
public:
    explicit Connection(const QString &driver);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    [[nodiscard]] QSqlDatabase database() const;
    [[nodiscard]] const QString &name() const { return m_name; }

private:
    QString m_name;
};

} // namespace barlink::journal
