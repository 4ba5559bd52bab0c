#include "CsvExport.h"

#include <QIODevice>
#include <QSqlError>
#include <QSqlQuery>

namespace barlink::journal {

namespace {

void appendField(QByteArray &line, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    const bool quoted = bytes.contains(',') || bytes.contains('"') || bytes.contains('\n')
                        || bytes.contains('\r');
    if (!quoted) {
        line += bytes;
        return;
    }
    line += '"';
    for (const char c : bytes) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

bool write(QIODevice &out, const QByteArray &bytes, QString *error)
{
    if (out.write(bytes) == bytes.size())
        return true;
    if (error)
        *error = out.errorString();
    return false;
}

} // namespace

QByteArray csvLine(const Entry &entry)
{
    QByteArray line;
    const QString fields[] = {entry.time.toUTC().toString(Qt::ISODateWithMs),
                              entry.station,
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
        if (&field != fields)
            line += ',';
        appendField(line, field);
    }
    return line + "\r\n";
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
        chunk += csvLine(entryAt(query));
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
