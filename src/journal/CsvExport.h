#pragma once

#include "Entry.h"
#include "EntryQuery.h"

#include <QByteArray>
#include <QLatin1String>
#include <QSqlDatabase>
#include <QString>

class QIODevice;

namespace barlink::journal {

// The journal as CSV (RFC 4180: fields with a comma, a quote or a line break in double
// quotes, quotes doubled, lines ended by CR LF; UTF-8), one line per entry after this header.
inline constexpr QLatin1String
    CsvHeader("time,station,source,label,kind,outcome,reason,field,program,x,y,z,rows");

// One line for the entry, CR LF included; the time in UTC, "2024-05-01T12:34:56.789Z".
[[nodiscard]] QByteArray csvLine(const Entry &entry);

// Writes the header and every entry of the store that passes filter, oldest first. Returns the
// number of entries written, or -1 with the reason in *error.
[[nodiscard]] qint64 exportCsv(const QSqlDatabase &db,
                               Store store,
                               const Filter &filter,
                               QIODevice &out,
                               QString *error = nullptr);

} // namespace barlink::journal
