#include "CsvExport.h"

#include <QDate>
#include <QIODevice>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>
#include <memory>

namespace barlink::journal {

namespace {

// The field at the end of line: in double quotes, its quotes doubled, when it holds a comma, a
// quote or a line break. Bytes of UTF-8: no byte of a multi-byte character is one of those.
void appendField(QByteArray &line, const char *text, qsizetype size)
{
    const char *end = text + size;
    const bool quoted = std::any_of(
        text, end, [](char c) { return c == ',' || c == '"' || c == '\n' || c == '\r'; });
    if (!quoted) {
        if (size > 0)
            line.append(text, size);
        return;
    }
    line += '"';
    for (const char *c = text; c != end; ++c) {
        if (*c == '"')
            line += '"';
        line += *c;
    }
    line += '"';
}

// "2024-05-01T12:34:56.789Z", without the cost of a general date formatter: the export writes
// a million of them, mostly many to a day, so the date is made once a day.
class UtcTimeText
{
public:
    void append(QByteArray &line, qint64 ms)
    {
        constexpr qint64 MillisecondsPerDay = 24 * 60 * 60 * 1000;
        const qint64 day = (ms >= 0 ? ms : ms - MillisecondsPerDay + 1) / MillisecondsPerDay;
        if (day != m_day || m_date.isEmpty()) {
            m_day = day;
            m_date = QDate(1970, 1, 1).addDays(day).toString(Qt::ISODate).toLatin1() + 'T';
        }
        const auto inDay = int(ms - day * MillisecondsPerDay);
        char clock[] = "00:00:00.000Z";
        const auto put = [&clock](int at, int value, int digits) {
            for (int i = digits - 1; i >= 0; --i, value /= 10)
                clock[at + i] = char('0' + value % 10);
        };
        put(0, inDay / 3600000, 2);
        put(3, inDay / 60000 % 60, 2);
        put(6, inDay / 1000 % 60, 2);
        put(9, inDay % 1000, 3);
        line += m_date;
        line.append(clock, sizeof clock - 1);
    }

private:
    qint64 m_day = 0;
    QByteArray m_date;
};

bool write(QIODevice &out, const QByteArray &bytes, QString *error)
{
    if (out.write(bytes) == bytes.size())
        return true;
    if (error)
        *error = out.errorString();
    return false;
}

void fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
}

// One line for the entry at the end of line.
void appendCsvLine(QByteArray &line, const Entry &entry, UtcTimeText &time)
{
    time.append(line, entry.time.toMSecsSinceEpoch());
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
        const QByteArray utf8 = field.toUtf8();
        appendField(line, utf8.constData(), utf8.size());
    }
    line += "\r\n";
}

constexpr qsizetype ChunkBytes = 1 << 16;

QByteArray header()
{
    return QByteArray(CsvHeader.data(), CsvHeader.size()) + "\r\n";
}

// The station's file, read with SQLite's own interface on a connection of its own: each
// column is taken as the UTF-8 SQLite holds, with no conversion to a Qt value and back, which
// was most of the time a million entries took.
qint64 exportLocal(const QString &path, const Statement &statement, QIODevice &out, QString *error)
{
    sqlite3 *opened = nullptr;
    const int status = sqlite3_open_v2(
        path.toUtf8().constData(), &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    const std::unique_ptr<sqlite3, int (*)(sqlite3 *)> db(opened, sqlite3_close);
    sqlite3_stmt *prepared = nullptr;
    if (status != SQLITE_OK
        || sqlite3_prepare_v2(db.get(), statement.sql.toUtf8().constData(), -1, &prepared, nullptr)
               != SQLITE_OK) {
        fail(error, QString::fromUtf8(sqlite3_errmsg(db.get())));
        return -1;
    }
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> query(prepared, sqlite3_finalize);
    sqlite3_busy_timeout(db.get(), 1000);
    for (int i = 0; i < int(statement.values.size()); ++i) {
        const QVariant &value = statement.values[i];
        if (value.typeId() == QMetaType::QString) {
            const QByteArray text = value.toString().toUtf8();
            sqlite3_bind_text(
                query.get(), i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int64(query.get(), i + 1, value.toLongLong());
        }
    }
    // The columns of selectEntries() in the order of the header.
    constexpr int Station = 0, Time = 2, Rows = 13;
    constexpr int Texts[] = {Station, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    QByteArray chunk = header();
    UtcTimeText time;
    qint64 count = 0;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(query.get())) == SQLITE_ROW) {
        time.append(chunk, sqlite3_column_int64(query.get(), Time));
        for (const int column : Texts) {
            const auto *text
                = reinterpret_cast<const char *>(sqlite3_column_text(query.get(), column));
            chunk += ',';
            appendField(chunk, text, sqlite3_column_bytes(query.get(), column));
        }
        chunk += ',';
        if (sqlite3_column_type(query.get(), Rows) != SQLITE_NULL)
            chunk += QByteArray::number(sqlite3_column_int64(query.get(), Rows));
        chunk += "\r\n";
        ++count;
        if (chunk.size() >= ChunkBytes) {
            if (!write(out, chunk, error))
                return -1;
            chunk.clear();
        }
    }
    if (step != SQLITE_DONE) {
        fail(error, QString::fromUtf8(sqlite3_errmsg(db.get())));
        return -1;
    }
    return write(out, chunk, error) ? count : -1;
}

} // namespace

QByteArray csvLine(const Entry &entry)
{
    QByteArray line;
    UtcTimeText time;
    appendCsvLine(line, entry, time);
    return line;
}

qint64
exportCsv(const QSqlDatabase &db, Store store, const Filter &filter, QIODevice &out, QString *error)
{
    const Statement statement = selectEntries(store, filter, Order::OldestFirst);
    if (store == Store::Local)
        return exportLocal(db.databaseName(), statement, out, error);
    QSqlQuery query(db);
    if (!execStatement(query, statement)) {
        fail(error, query.lastError().text());
        return -1;
    }
    QByteArray chunk = header();
    UtcTimeText time;
    qint64 count = 0;
    while (query.next()) {
        appendCsvLine(chunk, entryAt(query), time);
        ++count;
        if (chunk.size() >= ChunkBytes) {
            if (!write(out, chunk, error))
                return -1;
            chunk.clear();
        }
    }
    if (query.lastError().isValid()) {
        fail(error, query.lastError().text());
        return -1;
    }
    return write(out, chunk, error) ? count : -1;
}

} // namespace barlink::journal
