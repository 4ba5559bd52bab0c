#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace barlink::journal {

// Where the export finds the journals: the station's file and its JournalServer setting; and
// the station's spill file, which the export never writes over (nor the journal files).
struct ExportPlaces
{
    QString journalPath;
    QString server; // empty: no shop-wide journal
    QString spillPath;
};

// The journal export from the command line, without starting the station:
//   --export-journal FILE [--since YYYY-MM-DD] [--until YYYY-MM-DD] [--shop] [--station NAME]
//                         [--journal FILE] [--raw]
// FILE "-" is the standard output; a device or a pipe is written directly, any other file in
// full or not at all (ExportTarget); a journal file (with its -wal and -shm) or the spill file
// is refused. --since keeps entries from the start of that day on, --until up to the end of
// that day; days are UTC days, as the times written are. --shop reads
// the shop-wide table instead of the station's file, --journal FILE that file instead of the
// station's (read only, never migrated), --station keeps one station's entries, --raw writes
// cells that a spreadsheet would take for a formula as they are (Cells::Raw). `arguments` are
// those after the program's name; nothing happens and nothing is returned when they hold no
// --export-journal. Otherwise returns the exit status: 0 written, 1 the journal could not be
// read or the file written (or FILE is one the export never writes over), or the journal file
// is damaged (what could be read was written),
// 2 a wrong command line; messages go to err. Needs a QCoreApplication.
[[nodiscard]] std::optional<int>
runExportJournal(const QStringList &arguments, const ExportPlaces &places, QTextStream &err);

} // namespace barlink::journal
