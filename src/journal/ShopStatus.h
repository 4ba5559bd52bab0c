#pragma once

#include "ServerAddress.h"
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
// more than staleMinutes before, or after now, is not seen. No table of stations, or no row in
// it, is no verdict (Unknown); a server that did not answer in time is unreachable.
[[nodiscard]] ShopStatus
shopStatus(const StationRows &read, const QDateTime &now, int staleMinutes);

// How long --shop-status waits for the server: to connect, for each statement and lock, and
// for the whole answer (after which the connection is cut, however the server stalls), so that
// a monitoring check gets its answer within 15 s.
struct ShopStatusBounds
{
    ServerBounds server{
        .connectSeconds = 5, .statementMilliseconds = 5000, .lockMilliseconds = 4000};
    int answerMilliseconds = 14000;
};

// The shop's status from the command line, without starting the station:
//   --shop-status [--stale MINUTES]
// reads the table of stations on the server that `server` (the JournalServer setting) names,
// judged by the server's clock, and writes it to out. `arguments` are those after the
// program's name; nothing happens and nothing is returned when they hold no --shop-status.
// Otherwise returns the exit status: 0 every station seen, 1 a station not seen, 2 the server
// cannot be reached or did not answer in time, 3 a wrong command line, no JournalServer
// setting, no table of stations or no station in it, or a table that cannot be read. Needs a
// QCoreApplication.
[[nodiscard]] std::optional<int> runShopStatus(const QStringList &arguments,
                                               const QString &server,
                                               QTextStream &out,
                                               const ShopStatusBounds &bounds = {});

} // namespace barlink::journal
