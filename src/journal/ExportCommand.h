#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace barlink::journal {

// Where the export finds the journals: the station's file and its JournalServer setting.
struct ExportPlaces
{
    QString journalPath;
    QString server; // empty: no shop-wide journal
};

// The journal export from the command line, without starting the station:
//   --export-journal FILE [--since YYYY-MM-DD] [--shop] [--station NAME]
// FILE "-" is the standard output. --since keeps entries from that day on (local time),
// --shop reads the shop-wide table instead of the station's file, --station keeps one
// station's entries. `arguments` are those after the program's name; nothing happens and
// nothing is returned when they hold no --export-journal. Otherwise returns the exit status:
// 0 written, 1 the journal could not be read or the file written, 2 a wrong command line;
// messages go to the standard error. Needs a QCoreApplication.
[[nodiscard]] std::optional<int> runExportJournal(const QStringList &arguments,
                                                  const ExportPlaces &places);

} // namespace barlink::journal
