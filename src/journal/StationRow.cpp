#include "StationRow.h"

#include "ServerTable.h"

#include <QSqlError>
#include <QSqlQuery>

namespace barlink::journal {

namespace {

// A time of the server as UTC milliseconds, which the driver reads the same in every time
// zone.
QString milliseconds(const char *column)
{
    return QStringLiteral("(extract(epoch FROM %1) * 1000)::bigint").arg(QLatin1String(column));
}

QDateTime fromMilliseconds(const QVariant &value)
{
    return value.isNull() ? QDateTime()
                          : QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC);
}

} // namespace

QString writeStationRowSql()
{
    return QStringLiteral("INSERT INTO %1 (station, file_id, version, last_seen, newest_entry, "
                          "waiting) VALUES (?, ?, ?, now(), to_timestamp(? / 1000.0), ?) "
                          "ON CONFLICT (station) DO UPDATE SET file_id = excluded.file_id, "
                          "version = excluded.version, last_seen = excluded.last_seen, "
                          "newest_entry = excluded.newest_entry, waiting = excluded.waiting")
        .arg(StationTable);
}

bool writeStationRow(QSqlQuery &query, const StationRow &row)
{
    query.bindValue(0, row.station);
    query.bindValue(1, row.fileId);
    query.bindValue(2, row.version);
    query.bindValue(3,
                    row.newestEntry.isValid() ? QVariant(row.newestEntry.toMSecsSinceEpoch())
                                              : QVariant(QMetaType(QMetaType::LongLong)));
    query.bindValue(4, row.waiting);
    return query.exec();
}

StationRows readStationRows(QSqlDatabase &db)
{
    StationRows read;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const auto failed = [&read, &query, &db] {
        read.error = serverMessage(query.lastError());
        read.noAnswer = isTimeout(query.lastError()) || !serverAnswers(db);
        return read;
    };
    if (!query.exec(QStringLiteral("SELECT %1, to_regclass('%2') IS NOT NULL")
                        .arg(milliseconds("now()"), StationTable))
        || !query.next())
        return failed();
    read.serverNow = fromMilliseconds(query.value(0));
    if (!query.value(1).toBool()) {
        read.tableMissing = true;
        return read;
    }
    if (!query.exec(
            QStringLiteral("SELECT station, file_id, version, %1, %2, waiting FROM %3 "
                           "ORDER BY station")
                .arg(milliseconds("last_seen"), milliseconds("newest_entry"), StationTable)))
        return failed();
    while (query.next()) {
        read.rows.push_back({.station = query.value(0).toString(),
                             .fileId = query.value(1).toString(),
                             .version = query.value(2).toString(),
                             .lastSeen = fromMilliseconds(query.value(3)),
                             .newestEntry = fromMilliseconds(query.value(4)),
                             .waiting = query.value(5).toLongLong()});
    }
    return read;
}

} // namespace barlink::journal
