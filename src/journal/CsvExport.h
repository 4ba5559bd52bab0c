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

// How the export writes a cell that a spreadsheet would take for a formula.
enum class Cells {
    // A cell that comes from outside (a label, a setting, the list manager: station, label,
    // reason, field, program, x, y, z) and begins with "=", "+", "-", "@", a tab or a carriage
    // return is written with a "'" before it, so that a spreadsheet opening the file shows the
    // text rather than running it (a scanned "=HYPERLINK(...)"); a negative number and nothing
    // else ("-3", "-3.5") is written as it is.
    Guarded,
    Raw, // as stored
};

// One line for the entry, CR LF included; the time in UTC, "2024-05-01T12:34:56.789Z".
[[nodiscard]] QByteArray csvLine(const Entry &entry, Cells cells = Cells::Guarded);

// Writes the header and every entry of the store that passes filter, oldest first. Returns the
// number of entries written, or -1 with the reason in *error. The local store is read as
// exportLocalFile() reads it, from db's file; a damaged file is an error here.
[[nodiscard]] qint64 exportCsv(const QSqlDatabase &db,
                               Store store,
                               const Filter &filter,
                               QIODevice &out,
                               QString *error = nullptr,
                               Cells cells = Cells::Guarded);

// What the export of a station's journal file did.
struct LocalExport
{
    qint64 written = -1; // entries written; -1 when the file could not be read or out written
    // The file is damaged (SQLite says so, or local numbers are missing): what could be read
    // was written.
    bool damaged = false;
    qint64 unreadable = 0; // entries of a damaged file that no intact page holds
    QString error;         // why nothing was written, or what the damage is
};

// Writes the header and every entry of the journal file at path that passes filter, oldest
// first, reading the file without writing to it or migrating it (openLocalFileToRead()). Where
// SQLite finds the file damaged, or cannot read its write-ahead log in a folder it cannot
// write, the entries it could not give are read page by page (salvageEntries()) and written
// after those it gave, still oldest first.
[[nodiscard]] LocalExport exportLocalFile(const QString &path,
                                          const Filter &filter,
                                          QIODevice &out,
                                          Cells cells = Cells::Guarded);

} // namespace barlink::journal
