#include "CsvExport.h"

#include <QDate>
#include <QIODevice>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringEncoder>

#include <algorithm>
#include <cstdio>

namespace barlink::journal {

namespace {

// The text in UTF-8 at the end of line, without a buffer of its own in between.
void appendUtf8(QByteArray &line, QStringView text)
{
    static thread_local QStringEncoder encoder(QStringEncoder::Utf8);
    const qsizetype at = line.size();
    line.resize(at + 3 * text.size());
    const char *end = encoder.appendToBuffer(line.data() + at, text);
    line.truncate(end - line.constData());
}

void appendField(QByteArray &line, const QString &text)
{
    const bool quoted = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == u',' || c == u'"' || c == u'\n' || c == u'\r';
    });
    if (!quoted) {
        appendUtf8(line, text);
        return;
    }
    line += '"';
    appendUtf8(line, QString(text).replace(u'"', QLatin1String("\"\"")));
    line += '"';
}

// "2024-05-01T12:34:56.789Z", without the cost of a general date formatter: the export writes
// a million of them.
void appendUtcTime(QByteArray &line, const QDateTime &time)
{
    constexpr qint64 MillisecondsPerDay = 24 * 60 * 60 * 1000;
    const qint64 ms = time.toMSecsSinceEpoch();
    const qint64 day = (ms >= 0 ? ms : ms - MillisecondsPerDay + 1) / MillisecondsPerDay;
    const qint64 inDay = ms - day * MillisecondsPerDay;
    int year = 0;
    int month = 0;
    int dayOfMonth = 0;
    QDate(1970, 1, 1).addDays(day).getDate(&year, &month, &dayOfMonth);
    char text[40];
    const int length = std::snprintf(text,
                                     sizeof text,
                                     "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ",
                                     year,
                                     month,
                                     dayOfMonth,
                                     int(inDay / 3600000),
                                     int(inDay / 60000 % 60),
                                     int(inDay / 1000 % 60),
                                     int(inDay % 1000));
    line.append(text, length);
}

bool write(QIODevice &out, const QByteArray &bytes, QString *error)
{
    if (out.write(bytes) == bytes.size())
        return true;
    if (error)
        *error = out.errorString();
    return false;
}

// One line for the entry at the end of line.
void appendCsvLine(QByteArray &line, const Entry &entry)
{
    appendUtcTime(line, entry.time);
    const QString fields[] = {entry.station,
                              storedName(entry.source),
                              entry.label,
                              storedName(entry.kind),
                              storedName(entry.outcome),
                              entry.reason,
                              entry.field,
                              entry.program,
                              entry.x,
                              entry.y,
                              entry.z,
                              entry.rows ? QString::number(*entry.rows) : QString()};
    for (const QString &field : fields) {
        line += ',';
        appendField(line, field);
    }
    line += "\r\n";
}

} // namespace

QByteArray csvLine(const Entry &entry)
{
    QByteArray line;
    appendCsvLine(line, entry);
    return line;
}

qint64
exportCsv(const QSqlDatabase &db, Store store, const Filter &filter, QIODevice &out, QString *error)
{
    QSqlQuery query(db);
    if (!execStatement(query, selectEntries(store, filter, Order::OldestFirst))) {
        if (error)
            *error = query.lastError().text();
        return -1;
    }
    constexpr qsizetype ChunkBytes = 1 << 16;
    QByteArray chunk = QByteArray(CsvHeader.data(), CsvHeader.size()) + "\r\n";
    qint64 count = 0;
    while (query.next()) {
        appendCsvLine(chunk, entryAt(query));
        ++count;
        if (chunk.size() >= ChunkBytes) {
            if (!write(out, chunk, error))
                return -1;
            chunk.clear();
        }
    }
    if (query.lastError().isValid()) {
        if (error)
            *error = query.lastError().text();
        return -1;
    }
    return write(out, chunk, error) ? count : -1;
}

} // namespace barlink::journal
