#include "ExportCommand.h"

#include "Connection.h"
#include "CsvExport.h"
#include "ExportTarget.h"
#include "ServerTable.h"

#include <QDate>
#include <QFileInfo>
#include <QTextStream>

#include <memory>

namespace barlink::journal {

namespace {

const QString Usage = QStringLiteral(
    "usage: barlink --export-journal FILE [--since YYYY-MM-DD] [--until YYYY-MM-DD] [--shop] "
    "[--station NAME] [--journal FILE] [--raw]");

int complain(QTextStream &err, const QString &message, int status)
{
    err << "barlink: " << message << '\n';
    err.flush();
    return status;
}

} // namespace

std::optional<int>
runExportJournal(const QStringList &arguments, const ExportPlaces &places, QTextStream &err)
{
    const qsizetype at = arguments.indexOf(QLatin1String("--export-journal"));
    if (at < 0)
        return std::nullopt;
    if (at + 1 >= arguments.size())
        return complain(err, Usage, 2);
    const QString fileName = arguments[at + 1];
    Filter filter;
    bool shop = false;
    Cells cells = Cells::Guarded;
    QString journalFile;
    QDate since;
    QDate until;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (i == at || i == at + 1)
            continue;
        if (argument == QLatin1String("--shop")) {
            shop = true;
            continue;
        }
        if (argument == QLatin1String("--raw")) {
            cells = Cells::Raw;
            continue;
        }
        // The options that take a value.
        QString *text = argument == QLatin1String("--station")   ? &filter.station
                        : argument == QLatin1String("--journal") ? &journalFile
                                                                 : nullptr;
        QDate *day = argument == QLatin1String("--since")   ? &since
                     : argument == QLatin1String("--until") ? &until
                                                            : nullptr;
        if ((!text && !day) || i + 1 >= arguments.size())
            return complain(err, Usage, 2);
        const QString value = arguments[++i];
        if (text)
            *text = value;
        else if (!(*day = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"))).isValid())
            return complain(
                err,
                QStringLiteral("%1 wants a date as YYYY-MM-DD, not \"%2\"").arg(argument, value),
                2);
    }
    if (since.isValid() && until.isValid() && until < since)
        return complain(err, QStringLiteral("--until is before --since"), 2);
    // Days are UTC days, as the times written are; --until keeps its whole day.
    if (since.isValid())
        filter.from = since.startOfDay(Qt::UTC);
    if (until.isValid())
        filter.until = until.addDays(1).startOfDay(Qt::UTC);
    if (shop && !journalFile.isEmpty())
        return complain(err,
                        QStringLiteral("--journal reads a station's file, --shop the "
                                       "shop-wide journal: give one of them"),
                        2);
    if (shop && places.server.isEmpty())
        return complain(err, QStringLiteral("--shop needs the JournalServer setting"), 2);
    const QString journalPath = journalFile.isEmpty() ? places.journalPath : journalFile;
    if (!shop && !QFileInfo::exists(journalPath))
        return complain(err, QStringLiteral("there is no journal at %1").arg(journalPath), 1);

    std::unique_ptr<Connection> server;
    if (shop) {
        server = std::make_unique<Connection>(QStringLiteral("QPSQL"));
        QSqlDatabase db = server->database();
        if (const QString error = openServer(db, places.server); !error.isEmpty())
            return complain(err, QStringLiteral("cannot read the journal: %1").arg(error), 1);
    }
    const auto exportTo = [&](QIODevice &out) {
        if (!server)
            return exportLocalFile(journalPath, filter, out, cells);
        LocalExport shopWide;
        shopWide.written
            = exportCsv(server->database(), Store::Server, filter, out, &shopWide.error, cells);
        return shopWide;
    };

    ExportTarget target(fileName,
                        {.journals = {places.journalPath, journalFile}, .spill = places.spillPath});
    LocalExport done;
    if (!target.open())
        done.error = target.error();
    else if ((done = exportTo(target.device())).written >= 0 && !target.commit())
        done = {.error = target.error()};
    if (done.written < 0) {
        return complain(err,
                        QStringLiteral("cannot export the journal to %1: %2")
                            .arg(target.shownName(), done.error),
                        1);
    }
    if (!done.damaged)
        return 0;
    // What a damaged file still holds is written, and the exit status says it is not all.
    return complain(err,
                    QStringLiteral("the journal file %1 is damaged (%2): %3 entries could not be "
                                   "read, %4 were written to %5")
                        .arg(journalPath, done.error)
                        .arg(done.unreadable)
                        .arg(done.written)
                        .arg(target.shownName()),
                    1);
}

} // namespace barlink::journal
