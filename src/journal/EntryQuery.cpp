#include "EntryQuery.h"

#include "LocalFile.h"
#include "ServerTable.h"

#include <QMetaType>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace barlink::journal {

namespace {

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

// The pattern that finds text anywhere, its wildcards taken as plain characters.
QString containsPattern(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('%'), QLatin1String("\\%"))
        .replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

// The text as a phrase of the index of three-character pieces: in double quotes, its own
// doubled, so that nothing in it is taken as a query operator.
QString searchPhrase(const QString &text)
{
    QString phrase = text.toLower();
    return QLatin1Char('"') + phrase.replace(QLatin1Char('"'), QLatin1String("\"\""))
           + QLatin1Char('"');
}

QString entryColumns()
{
    return QStringLiteral(
        "station, id, time, source, label, kind, outcome, reason, field, program, x, y, z, rows");
}

// The local file's columns besides: the reason's code and arguments.
QString reasonCodeColumns()
{
    return QStringLiteral(", reason_code, reason_args");
}

// The reason as the search finds it: its English, and its words on the screen when they differ.
QString searchedReason(const base::Reason &reason)
{
    const QString english = reason.english();
    if (reason.code() == base::Reason::Code::Text)
        return english;
    const QString shown = reason.shown();
    return shown == english ? english : english + QLatin1Char(' ') + shown;
}

QVariantList entryValues(const Entry &entry)
{
    // A null id makes the local file give the next local number.
    return {entry.station,
            entry.localNumber > 0 ? QVariant(entry.localNumber)
                                  : QVariant(QMetaType::fromType<qint64>()),
            entry.time.toMSecsSinceEpoch(),
            storedName(entry.source),
            entry.label,
            storedName(entry.kind),
            storedName(entry.outcome),
            textOrNull(entry.reason.english()),
            textOrNull(entry.field),
            textOrNull(entry.program),
            textOrNull(entry.x),
            textOrNull(entry.y),
            textOrNull(entry.z),
            entry.rows ? QVariant(*entry.rows) : QVariant(QMetaType::fromType<int>())};
}

} // namespace

QString insertEntrySql(Store store)
{
    // The local file also keeps the searched text; the server, the file the entry came from.
    const QString placeholders = QStringLiteral("?, ").repeated(14) + QLatin1Char('?');
    if (store == Store::Local)
        return QStringLiteral("INSERT INTO %1 (%2, search%3) VALUES (%4, ?, ?)")
            .arg(LocalTable, entryColumns(), reasonCodeColumns(), placeholders);
    return QStringLiteral("INSERT INTO %1 (%2, file_id) VALUES (%3) ON CONFLICT DO NOTHING")
        .arg(ServerTable, entryColumns(), placeholders);
}

bool insertEntry(QSqlQuery &query, const Entry &entry, const QString &fileId)
{
    QVariantList values = entryValues(entry);
    if (fileId.isEmpty()) {
        values << localSearchText(
            entry.label, searchedReason(entry.reason), entry.field, entry.program);
        values << textOrNull(entry.reason.name()) << textOrNull(entry.reason.storedArgs());
    } else {
        values << fileId;
    }
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    return query.exec();
}

TextSearch textSearchFor(const QSqlDatabase &db, const QString &text)
{
    // Past this many, the entries holding the text are near enough to each other that reading
    // the time index fills a page sooner than looking them all up.
    constexpr int FewEntries = 5000;
    if (text.toUcs4().size() < 3)
        return TextSearch::Scan;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM entries_search WHERE "
                                 "entries_search MATCH ? LIMIT %1)")
                      .arg(FewEntries));
    query.addBindValue(searchPhrase(text));
    return query.exec() && query.next() && query.value(0).toInt() < FewEntries ? TextSearch::Lookup
                                                                               : TextSearch::Scan;
}

Statement selectEntries(Store store,
                        const Filter &filter,
                        Order order,
                        int limit,
                        const std::optional<Entry> &after,
                        TextSearch search,
                        ReasonCodes codes)
{
    const bool server = store == Store::Server;
    Statement statement;
    QStringList conditions;
    auto condition = [&](const QString &sql, const QVariantList &values) {
        conditions << sql;
        statement.values << values;
    };
    if (!filter.text.isEmpty()) {
        if (server) {
            const QString pattern = containsPattern(filter.text);
            condition(
                QStringLiteral("(label ILIKE ? ESCAPE '\\' OR reason ILIKE ? ESCAPE '\\' "
                               "OR field ILIKE ? ESCAPE '\\' OR program ILIKE ? ESCAPE '\\')"),
                {pattern, pattern, pattern, pattern});
        } else if (search == TextSearch::Lookup) {
            // With the entries the index does not hold yet (none in a file of version 2,
            // which has no mark).
            condition(QStringLiteral("id IN (SELECT rowid FROM entries_search WHERE "
                                     "entries_search MATCH ? UNION ALL SELECT id FROM entries "
                                     "WHERE id > (SELECT CAST(value AS INTEGER) FROM meta WHERE "
                                     "key = 'search_indexed')) AND instr(search, ?) > 0"),
                      {searchPhrase(filter.text), filter.text.toLower()});
        } else {
            condition(QStringLiteral("instr(search, ?) > 0"), {filter.text.toLower()});
        }
    }
    if (filter.outcomes != Filter::Outcomes::All) {
        const Outcome outcome = filter.outcomes == Filter::Outcomes::RefusedOnly  ? Outcome::Refused
                                : filter.outcomes == Filter::Outcomes::FailedOnly ? Outcome::Failed
                                                                                  : Outcome::Taken;
        condition(QStringLiteral("outcome = ?"), {storedName(outcome)});
    }
    if (filter.from.isValid())
        condition(QStringLiteral("time >= ?"), {filter.from.toMSecsSinceEpoch()});
    if (filter.until.isValid())
        condition(QStringLiteral("time < ?"), {filter.until.toMSecsSinceEpoch()});
    if (!filter.station.isEmpty())
        condition(QStringLiteral("station = ?"), {filter.station});

    // Entries are in time order, ties broken by station and local number; the first
    // comparison on time alone lets the time index bound the search.
    const bool newest = order == Order::NewestFirst;
    const QString before = newest ? QStringLiteral("<") : QStringLiteral(">");
    if (after) {
        const qint64 time = after->time.toMSecsSinceEpoch();
        if (server) {
            condition(
                QStringLiteral("time %1= ? AND (time %1 ? OR (station, id) %1 (?, ?))").arg(before),
                {time, time, after->station, after->localNumber});
        } else {
            condition(QStringLiteral("time %1= ? AND (time %1 ? OR id %1 ?)").arg(before),
                      {time, time, after->localNumber});
        }
    }
    const QString direction = newest ? QStringLiteral(" DESC") : QString();
    statement.sql = QStringLiteral("SELECT %1%2 FROM %3")
                        .arg(entryColumns(),
                             server || codes == ReasonCodes::Skip ? QString() : reasonCodeColumns(),
                             server ? ServerTable : LocalTable);
    // The entries looked up are sorted, rather than the time index read for its order.
    if (!server && search == TextSearch::Lookup && !filter.text.isEmpty())
        statement.sql += QLatin1String(" NOT INDEXED");
    if (!conditions.isEmpty())
        statement.sql += QLatin1String(" WHERE ") + conditions.join(QLatin1String(" AND "));
    statement.sql += QLatin1String(" ORDER BY time") + direction;
    if (server)
        statement.sql += QLatin1String(", station") + direction;
    statement.sql += QLatin1String(", id") + direction;
    if (limit > 0)
        statement.sql += QStringLiteral(" LIMIT %1").arg(limit);
    return statement;
}

QString selectPastLocalNumberSql(int limit)
{
    return QStringLiteral("SELECT %1%2 FROM %3 WHERE id > ? ORDER BY id LIMIT %4")
        .arg(entryColumns(), reasonCodeColumns(), LocalTable)
        .arg(limit);
}

Entry entryAt(const QSqlQuery &query)
{
    Entry entry;
    entry.station = query.value(0).toString();
    entry.localNumber = query.value(1).toLongLong();
    entry.time = QDateTime::fromMSecsSinceEpoch(query.value(2).toLongLong(), Qt::UTC);
    entry.source = sourceNamed(query.value(3).toString()).value_or(entry.source);
    entry.label = query.value(4).toString();
    entry.kind = kindNamed(query.value(5).toString()).value_or(entry.kind);
    entry.outcome = outcomeNamed(query.value(6).toString()).value_or(entry.outcome);
    constexpr int Code = 14, Args = 15;
    entry.reason
        = query.record().count() > Args ? base::Reason::fromStored(
              query.value(7).toString(), query.value(Code).toString(), query.value(Args).toString())
                                        : base::Reason::text(query.value(7).toString());
    entry.field = query.value(8).toString();
    entry.program = query.value(9).toString();
    entry.x = query.value(10).toString();
    entry.y = query.value(11).toString();
    entry.z = query.value(12).toString();
    if (!query.value(13).isNull())
        entry.rows = query.value(13).toInt();
    return entry;
}

bool execStatement(QSqlQuery &query, const Statement &statement)
{
    query.setForwardOnly(true);
    if (!query.prepare(statement.sql))
        return false;
    for (const QVariant &value : statement.values)
        query.addBindValue(value);
    return query.exec();
}

std::vector<Entry> readEntries(const QSqlDatabase &db,
                               Store store,
                               const Filter &filter,
                               int limit,
                               const std::optional<Entry> &after)
{
    std::vector<Entry> entries;
    QSqlQuery query(db);
    const TextSearch search = store == Store::Local && !filter.text.isEmpty()
                                  ? textSearchFor(db, filter.text)
                                  : TextSearch::Scan;
    if (execStatement(query,
                      selectEntries(store, filter, Order::NewestFirst, limit, after, search))) {
        while (query.next())
            entries.push_back(entryAt(query));
    }
    return entries;
}

} // namespace barlink::journal
