#include "ShopStatus.h"

#include "Connection.h"
#include "ConnectionBreaker.h"
#include "ServerTable.h"

#include <QTextStream>

#include <algorithm>
#include <array>
#include <vector>

namespace barlink::journal {

namespace {

constexpr int DefaultStaleMinutes = 10;

QString shown(const QDateTime &time)
{
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : QStringLiteral("-");
}

QString verdict(ShopStatus::Exit exit)
{
    static const std::array<QString, 4> words{QStringLiteral("OK"),
                                              QStringLiteral("WARNING"),
                                              QStringLiteral("CRITICAL"),
                                              QStringLiteral("UNKNOWN")};
    return QStringLiteral("BARLINK SHOP %1 - ").arg(words[std::size_t(exit)]);
}

ShopStatus said(ShopStatus::Exit exit, const QString &words)
{
    return {exit, verdict(exit) + words + QLatin1Char('\n')};
}

// The lines as columns, each as wide as its widest cell; the last cell is not padded.
QString columns(const std::vector<QStringList> &lines)
{
    std::vector<qsizetype> widths;
    for (const QStringList &line : lines) {
        widths.resize(std::max(widths.size(), std::size_t(line.size())));
        for (qsizetype i = 0; i < line.size(); ++i)
            widths[std::size_t(i)] = std::max(widths[std::size_t(i)], line[i].size());
    }
    QString text;
    for (const QStringList &line : lines) {
        QString row;
        for (qsizetype i = 0; i < line.size(); ++i)
            row += i + 1 < line.size() ? line[i].leftJustified(widths[std::size_t(i)] + 2)
                                       : line[i];
        text += row.trimmed() + QLatin1Char('\n');
    }
    return text;
}

} // namespace

ShopStatus shopStatus(const StationRows &read, const QDateTime &now, int staleMinutes)
{
    if (read.noAnswer)
        return said(ShopStatus::ServerUnreachable,
                    QStringLiteral("the server did not answer in time: %1").arg(read.error));
    if (!read.error.isEmpty())
        return said(
            ShopStatus::Unknown,
            QStringLiteral("the table %1 cannot be read: %2").arg(StationTable, read.error));
    // Nothing to judge is no verdict: a database without the table (not the shop's, or no
    // station ever reached it), or a table without rows.
    if (read.tableMissing)
        return said(ShopStatus::Unknown,
                    QStringLiteral("the table %1 is not on the server: no station has reported "
                                   "to this database")
                        .arg(StationTable));
    if (read.rows.empty())
        return said(ShopStatus::Unknown, QStringLiteral("no station has reported yet"));

    std::vector<QStringList> lines{{QStringLiteral("STATION"),
                                    QStringLiteral("LAST SEEN"),
                                    QStringLiteral("NEWEST ENTRY"),
                                    QStringLiteral("WAITING"),
                                    QStringLiteral("VERSION"),
                                    QStringLiteral("FILE"),
                                    QString()}};
    QStringList notSeen;
    bool fromTheFuture = false;
    qint64 waiting = 0;
    for (const StationRow &row : read.rows) {
        const qint64 unseen = row.lastSeen.msecsTo(now);
        // A last report after the server's now (its clock was set back, or the row was written
        // by hand) says nothing about the station: it is not seen.
        const bool ahead = unseen < 0;
        const bool isStale = unseen > qint64(staleMinutes) * 60000;
        if (ahead)
            notSeen << QStringLiteral("%1 (last report in the future)").arg(row.station);
        else if (isStale)
            notSeen << row.station;
        fromTheFuture = fromTheFuture || ahead;
        waiting += row.waiting;
        lines.push_back({row.station,
                         shown(row.lastSeen),
                         shown(row.newestEntry),
                         QString::number(row.waiting),
                         row.version,
                         row.fileId,
                         ahead     ? QStringLiteral("NOT SEEN: LAST REPORT IN THE FUTURE")
                         : isStale ? QStringLiteral("NOT SEEN FOR %1 MINUTES").arg(unseen / 60000)
                                   : QString()});
    }
    const qsizetype count = qsizetype(read.rows.size());
    const ShopStatus::Exit exit
        = notSeen.isEmpty() ? ShopStatus::AllSeen : ShopStatus::StationStale;
    const QString words
        = notSeen.isEmpty()
              ? QStringLiteral("%1 station(s) seen in the last %2 minutes")
                    .arg(count)
                    .arg(staleMinutes)
              : QStringLiteral("%1 of %2 station(s) not seen for more than %3 minutes%4: %5")
                    .arg(notSeen.size())
                    .arg(count)
                    .arg(staleMinutes)
                    .arg(fromTheFuture ? QStringLiteral(" or reported from the future") : QString())
                    .arg(notSeen.join(QStringLiteral(", ")));
    // The figures after '|' are the plugin's performance data.
    return {exit,
            verdict(exit) + words
                + QStringLiteral(" | stations=%1 stale=%2 waiting=%3\n")
                      .arg(count)
                      .arg(notSeen.size())
                      .arg(waiting)
                + columns(lines)};
}

std::optional<int> runShopStatus(const QStringList &arguments,
                                 const QString &server,
                                 QTextStream &out,
                                 const ShopStatusBounds &bounds)
{
    if (!arguments.contains(QLatin1String("--shop-status")))
        return std::nullopt;
    int staleMinutes = DefaultStaleMinutes;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        bool isNumber = false;
        if (arguments[i] == QLatin1String("--shop-status"))
            continue;
        if (arguments[i] == QLatin1String("--stale") && i + 1 < arguments.size())
            staleMinutes = arguments[++i].toInt(&isNumber);
        if (!isNumber || staleMinutes < 1) {
            out << said(ShopStatus::Unknown,
                        QStringLiteral("usage: barlink --shop-status [--stale MINUTES]"))
                       .text;
            return ShopStatus::Unknown;
        }
    }
    if (server.isEmpty()) {
        out << said(ShopStatus::Unknown, QStringLiteral("there is no JournalServer setting")).text;
        return ShopStatus::Unknown;
    }
    const Connection connection(QStringLiteral("QPSQL"));
    QSqlDatabase db = connection.database();
    if (!db.isValid()) {
        out << said(ShopStatus::Unknown,
                    QStringLiteral("the QPSQL database driver is not installed"))
                   .text;
        return ShopStatus::Unknown;
    }
    // However the server stalls, the answer comes in time: the connection is cut at the bound.
    ConnectionBreaker breaker;
    const CutAfter cut(breaker, std::chrono::milliseconds(bounds.answerMilliseconds));
    const QString error = connectServer(db, server, bounds.server);
    if (!error.isEmpty()) {
        out << said(ShopStatus::ServerUnreachable, error).text;
        return ShopStatus::ServerUnreachable;
    }
    breaker.watch(db);
    StationRows read = readStationRows(db);
    breaker.forget();
    if (read.noAnswer && breaker.isCut())
        read.error = QStringLiteral("no answer within %1 ms").arg(bounds.answerMilliseconds);
    const ShopStatus status = shopStatus(read, read.serverNow, staleMinutes);
    out << status.text;
    return status.exit;
}

} // namespace barlink::journal
