#include "ExportCommand.h"

#include "Connection.h"
#include "CsvExport.h"
#include "LocalFile.h"
#include "ServerTable.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace barlink::journal {

namespace {

int complain(const QString &message, int status)
{
    std::fputs(qPrintable(QStringLiteral("barlink: %1\n").arg(message)), stderr);
    return status;
}

} // namespace

std::optional<int> runExportJournal(const QStringList &arguments, const ExportPlaces &places)
{
    const qsizetype at = arguments.indexOf(QLatin1String("--export-journal"));
    if (at < 0)
        return std::nullopt;
    const QString usage = QStringLiteral(
        "usage: barlink --export-journal FILE [--since YYYY-MM-DD] [--shop] [--station NAME]");
    if (at + 1 >= arguments.size())
        return complain(usage, 2);
    const QString fileName = arguments[at + 1];
    Filter filter;
    bool shop = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (i == at || i == at + 1)
            continue;
        if (argument == QLatin1String("--shop")) {
            shop = true;
        } else if ((argument == QLatin1String("--since") || argument == QLatin1String("--station"))
                   && i + 1 < arguments.size()) {
            const QString value = arguments[++i];
            if (argument == QLatin1String("--station")) {
                filter.station = value;
                continue;
            }
            const QDate since = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
            if (!since.isValid())
                return complain(
                    QStringLiteral("--since wants a date as YYYY-MM-DD, not \"%1\"").arg(value), 2);
            filter.from = since.startOfDay();
        } else {
            return complain(usage, 2);
        }
    }
    if (shop && places.server.isEmpty())
        return complain(QStringLiteral("--shop needs the JournalServer setting"), 2);
    if (!shop && !QFileInfo::exists(places.journalPath))
        return complain(QStringLiteral("there is no journal at %1").arg(places.journalPath), 1);

    const Connection connection(shop ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"));
    QSqlDatabase db = connection.database();
    const QString openError = shop ? openServer(db, places.server)
                                   : openLocalFile(db, places.journalPath, Durability::Checkpoints);
    if (!openError.isEmpty())
        return complain(QStringLiteral("cannot read the journal: %1").arg(openError), 1);

    QString error;
    if (fileName == QLatin1String("-")) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly)
            || exportCsv(db, shop ? Store::Server : Store::Local, filter, out, &error) < 0
            || !out.flush())
            return complain(QStringLiteral("cannot export the journal: %1").arg(error), 1);
        return 0;
    }
    // Written in full or not at all.
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly)
        || exportCsv(db, shop ? Store::Server : Store::Local, filter, out, &error) < 0
        || !out.commit()) {
        return complain(QStringLiteral("cannot export the journal to %1: %2")
                            .arg(fileName, error.isEmpty() ? out.errorString() : error),
                        1);
    }
    return 0;
}

} // namespace barlink::journal
