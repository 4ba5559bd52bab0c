#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <vector>

class QSqlQuery;

namespace barlink::journal {

// A station's row in the table of stations (StationTable).
struct StationRow
{
    QString station;
    QString fileId; // the identity of the station's journal file
    QString version;
    QDateTime lastSeen;    // UTC, on the server's clock: when the station last wrote its row
    QDateTime newestEntry; // UTC, on the station's clock; invalid when its file has no entry
    qint64 waiting = 0;    // entries of its file that the server did not have then

    friend bool operator==(const StationRow &, const StationRow &) = default;
};

// The statement that writes a station's row, stamped with the server's time; prepared on a
// connection whose user may insert and update rows of the table.
[[nodiscard]] QString writeStationRowSql();

// Runs a query prepared from writeStationRowSql() for the row (its lastSeen is not used).
[[nodiscard]] bool writeStationRow(QSqlQuery &query, const StationRow &row);

// Every station's row, by name, with the server's time of reading them.
struct StationRows
{
    std::vector<StationRow> rows; // none when no station has written one yet
    QDateTime serverNow;          // UTC
    bool tableMissing = false;    // the server has no table of stations
    QString error;                // why they cannot be read; the rest is then empty
    // With error: the server did not answer in time, or the connection was lost on the way.
    bool noAnswer = false;
};

[[nodiscard]] StationRows readStationRows(QSqlDatabase &db);

} // namespace barlink::journal
