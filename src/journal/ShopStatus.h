#pragma once

#include "StationRow.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace barlink::journal {

// What the shop's monitoring hears of the stations, with the exit status of a monitoring
// plugin.
struct ShopStatus
{
    enum Exit { AllSeen = 0, StationStale = 1, ServerUnreachable = 2, Unknown = 3 };

    Exit exit = AllSeen;
    // A first line with the verdict ("BARLINK SHOP OK - ..."), then one line per station with
    // its figures, a stale one marked.
    QString text;
};

// The verdict on the stations' rows at the time now: a station whose row was last written
// more than staleMinutes before is stale.
[[nodiscard]] ShopStatus
shopStatus(const StationRows &read, const QDateTime &now, int staleMinutes);

// The shop's status from the command line, without starting the station:
//   --shop-status [--stale MINUTES]
// reads the table of stations on the server that `server` (the JournalServer setting) names,
// judged by the server's clock, and writes it to out. `arguments` are those after the
// program's name; nothing happens and nothing is returned when they hold no --shop-status.
// Otherwise returns the exit status: 0 every station seen, 1 a station stale, 2 the server
// cannot be reached, 3 a wrong command line, no JournalServer setting or a table that cannot
// be read. Needs a QCoreApplication.
[[nodiscard]] std::optional<int>
runShopStatus(const QStringList &arguments, const QString &server, QTextStream &out);

} // namespace barlink::journal
