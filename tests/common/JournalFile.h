#pragma once

// A station's journal file read back on a connection of its own, as another program reads it.

#include "journal/Connection.h"
#include "journal/EntryQuery.h"
#include "journal/LocalFile.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace barlink::testing {

class JournalFile
{
public:
    explicit JournalFile(const QString &path)
        : m_error(journal::openLocalFile(m_db, path, journal::Durability::Checkpoints))
    {}

    // Why the file could not be opened; empty when it is open.
    [[nodiscard]] const QString &error() const { return m_error; }
    [[nodiscard]] QSqlDatabase &db() { return m_db; }

    // Every entry, in the order the entries were written; none when the file is not open.
    [[nodiscard]] std::vector<journal::Entry> entries() const
    {
        if (!m_error.isEmpty())
            return {};
        std::vector<journal::Entry> entries
            = journal::readEntries(m_db, journal::Store::Local, {}, 0);
        std::sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) {
            return a.localNumber < b.localNumber;
        });
        return entries;
    }
    [[nodiscard]] QStringList labels() const
    {
        QStringList labels;
        for (const journal::Entry &e : entries())
            labels << e.label;
        return labels;
    }

private:
    journal::Connection m_connection{QStringLiteral("QSQLITE")};
    QSqlDatabase m_db = m_connection.database();
    QString m_error;
};

} // namespace barlink::testing
