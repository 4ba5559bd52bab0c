#include "CsvExport.h"

#include "LocalFile.h"
#include "Salvage.h"

#include <QDate>
#include <QIODevice>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

namespace barlink::journal {

namespace {

// Whether a spreadsheet takes a cell that begins with c for a formula (or, for a tab or a
// carriage return, drops them and reads what follows as one).
bool startsFormula(char c)
{
    switch (c) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        return true;
    default:
        return false;
    }
}

// "-3", "-3.5": a negative number and nothing else, which a spreadsheet reads as that number.
bool isNegativeNumber(const char *text, qsizetype size)
{
    const char *const end = text + size;
    const auto digits = [end](const char *c) {
        const char *const first = c;
        while (c != end && *c >= '0' && *c <= '9')
            ++c;
        return c == first ? nullptr : c;
    };
    const char *c = size > 1 && *text == '-' ? digits(text + 1) : nullptr;
    if (c && c != end && *c == '.')
        c = digits(c + 1);
    return c == end;
}

// Whether a cell that comes from outside (a label, a setting) would be run by a spreadsheet.
bool needsGuard(const char *text, qsizetype size)
{
    return size > 0 && startsFormula(*text) && !isNegativeNumber(text, size);
}

// Whether a column's cells come from outside: every text but the journal's own words (source,
// kind, outcome).
bool fromOutside(Column column)
{
    return column != Column::Source && column != Column::Kind && column != Column::Outcome;
}

// The field at the end of line: in double quotes, its quotes doubled, when it holds a comma, a
// quote or a line break; after a "'" when guarded and a spreadsheet would take it for a
// formula. Bytes of UTF-8: no byte of a multi-byte character is one of those.
void appendField(QByteArray &line, const char *text, qsizetype size, bool guarded)
{
    const char *end = text + size;
    const bool quoted = std::any_of(
        text, end, [](char c) { return c == ',' || c == '"' || c == '\n' || c == '\r'; });
    if (quoted)
        line += '"';
    if (guarded && needsGuard(text, size))
        line += '\'';
    if (!quoted) {
        if (size > 0)
            line.append(text, size);
        return;
    }
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

void fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
}

// One line for the entry at the end of line.
void appendCsvLine(QByteArray &line, const Entry &entry, UtcTimeText &time, Cells cells)
{
    time.append(line, entry.time.toMSecsSinceEpoch());
    const QString fields[] = {entry.station,
                              storedName(entry.source),
                              entry.label,
                              storedName(entry.kind),
                              storedName(entry.outcome),
                              entry.reason.english(),
                              entry.field,
                              entry.program,
                              entry.x,
                              entry.y,
                              entry.z,
                              entry.rows ? QString::number(*entry.rows) : QString()};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        line += ',';
        const QByteArray utf8 = fields[i].toUtf8();
        appendField(line,
                    utf8.constData(),
                    utf8.size(),
                    cells == Cells::Guarded && fromOutside(Column(i + 1)));
    }
    line += "\r\n";
}

constexpr qsizetype ChunkBytes = 1 << 16;

// Writes the header and then CSV lines to a device, a chunk at a time: entries from the
// server's query, or the rows of the local file's statement as SQLite holds them. Knows the
// last local entry written, so that a read cut short can go on after it.
class CsvWriter
{
public:
    enum class Read { Done, Damaged, Failed };

    CsvWriter(QIODevice &out, Cells cells)
        : m_out(out)
        , m_cells(cells)
        , m_chunk(QByteArray(CsvHeader.data(), CsvHeader.size()) + "\r\n")
    {}

    void append(const Entry &entry)
    {
        appendCsvLine(m_chunk, entry, m_time, m_cells);
        ++m_written;
    }

    // Writes the rows that statement selects on db (the columns of selectEntries(), each
    // column taken as the UTF-8 SQLite holds, with no conversion to a Qt value and back, which
    // was most of the time a million entries took).
    Read writeRows(sqlite3 *db, const Statement &statement);

    // Writes a full chunk out; false with the device's error when it cannot.
    [[nodiscard]] bool writeFull() { return m_chunk.size() < ChunkBytes || writeChunk(); }
    // Writes what is left; false with the device's error when it cannot.
    [[nodiscard]] bool finish() { return writeChunk(); }

    [[nodiscard]] qint64 written() const { return m_written; }
    [[nodiscard]] const QString &error() const { return m_error; }
    // The last local entry written (its time and local number: where an ordered read goes on).
    [[nodiscard]] std::optional<Entry> last() const { return m_last; }

private:
    // A write cut short (the disk filled up under it) is written on from where it stopped, so
    // that the write that fails says why.
    bool writeChunk()
    {
        for (qsizetype at = 0; at < m_chunk.size();) {
            const qint64 written = m_out.write(m_chunk.constData() + at, m_chunk.size() - at);
            if (written <= 0) {
                m_error = m_out.errorString();
                return false;
            }
            at += qsizetype(written);
        }
        m_chunk.clear();
        return true;
    }
    Read failed(sqlite3 *db, int status)
    {
        m_error = QString::fromUtf8(sqlite3_errmsg(db));
        status &= 0xff;
        return status == SQLITE_CORRUPT || status == SQLITE_NOTADB ? Read::Damaged : Read::Failed;
    }

    QIODevice &m_out;
    Cells m_cells;
    QByteArray m_chunk;
    UtcTimeText m_time;
    qint64 m_written = 0;
    std::optional<Entry> m_last;
    QString m_error;
};

CsvWriter::Read CsvWriter::writeRows(sqlite3 *db, const Statement &statement)
{
    sqlite3_stmt *prepared = nullptr;
    const int status
        = sqlite3_prepare_v2(db, statement.sql.toUtf8().constData(), -1, &prepared, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> query(prepared, sqlite3_finalize);
    if (status != SQLITE_OK)
        return failed(db, status);
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
    // The columns of selectEntries(): local number and time, then the header's after time.
    constexpr int Id = 1, Time = 2, Rows = 13;
    constexpr int Texts[] = {0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const bool guarded = m_cells == Cells::Guarded;
    int step = SQLITE_ROW;
    qint64 lastTime = 0;
    qint64 lastId = 0;
    while ((step = sqlite3_step(query.get())) == SQLITE_ROW) {
        lastTime = sqlite3_column_int64(query.get(), Time);
        lastId = sqlite3_column_int64(query.get(), Id);
        m_time.append(m_chunk, lastTime);
        for (std::size_t i = 0; i < std::size(Texts); ++i) {
            const int column = Texts[i];
            const auto *text
                = reinterpret_cast<const char *>(sqlite3_column_text(query.get(), column));
            m_chunk += ',';
            appendField(m_chunk,
                        text,
                        sqlite3_column_bytes(query.get(), column),
                        guarded && fromOutside(Column(i + 1)));
        }
        m_chunk += ',';
        if (sqlite3_column_type(query.get(), Rows) != SQLITE_NULL)
            m_chunk += QByteArray::number(sqlite3_column_int64(query.get(), Rows));
        m_chunk += "\r\n";
        ++m_written;
        if (!m_last)
            m_last.emplace();
        if (!writeFull())
            return Read::Failed;
    }
    if (m_last) {
        m_last->time = QDateTime::fromMSecsSinceEpoch(lastTime, Qt::UTC);
        m_last->localNumber = lastId;
    }
    return step == SQLITE_DONE ? Read::Done : failed(db, step);
}

// Writes the entries that the page reader finds in the journal file at path and that pass
// filter, after the last one written. They are filtered and sorted by the same statement in a
// private temporary database (SQLite's file of no name, removed when closed).
Salvage writeSalvaged(const QString &path, const Filter &filter, CsvWriter &writer)
{
    sqlite3 *opened = nullptr;
    sqlite3_open_v2("", &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const SqliteConnection copy(opened);
    Salvage salvage;
    if (sqlite3_exec(copy.get(),
                     "CREATE TABLE entries (id INTEGER PRIMARY KEY, time INTEGER NOT NULL, "
                     "station TEXT, source TEXT, label TEXT, kind TEXT, outcome TEXT, reason "
                     "TEXT, field TEXT, program TEXT, x TEXT, y TEXT, z TEXT, rows INTEGER, "
                     "search TEXT)",
                     nullptr,
                     nullptr,
                     nullptr)
        != SQLITE_OK) {
        salvage.error = QString::fromUtf8(sqlite3_errmsg(copy.get()));
        return salvage;
    }
    salvage = salvageEntries(path, copy.get());
    if (salvage.error.isEmpty()
        && writer.writeRows(copy.get(),
                            selectEntries(Store::Local,
                                          filter,
                                          Order::OldestFirst,
                                          0,
                                          writer.last(),
                                          TextSearch::Scan,
                                          ReasonCodes::Skip))
               != CsvWriter::Read::Done)
        salvage.error = writer.error();
    return salvage;
}

} // namespace

QByteArray csvLine(const Entry &entry, Cells cells)
{
    QByteArray line;
    UtcTimeText time;
    appendCsvLine(line, entry, time, cells);
    return line;
}

LocalExport exportLocalFile(const QString &path, const Filter &filter, QIODevice &out, Cells cells)
{
    using State = ReadOnlyFile::State;
    using Read = CsvWriter::Read;
    LocalExport result;
    CsvWriter writer(out, cells);
    const ReadOnlyFile file = openLocalFileToRead(path);
    Read read = Read::Failed;
    if (file.state == State::Opened)
        read = writer.writeRows(file.db.get(),
                                selectEntries(Store::Local,
                                              filter,
                                              Order::OldestFirst,
                                              0,
                                              std::nullopt,
                                              TextSearch::Scan,
                                              ReasonCodes::Skip));
    if (file.state == State::Failed || (read == Read::Failed && file.state == State::Opened)) {
        result.error = file.state == State::Failed ? file.error : writer.error();
        return result;
    }
    if (read != Read::Done) {
        result.damaged = file.state == State::Damaged || read == Read::Damaged;
        const QString why = file.state == State::Opened ? writer.error() : file.error;
        const Salvage salvage = writeSalvaged(path, filter, writer);
        if (!salvage.error.isEmpty()) {
            result.error = salvage.error;
            return result;
        }
        if (result.damaged && salvage.entries == 0 && writer.written() == 0) {
            result.error = QStringLiteral("no entry could be read (%1)").arg(why);
            return result;
        }
        result.unreadable = salvage.unreadable;
        result.error = result.damaged ? why : QStringLiteral("local numbers are missing");
        result.damaged = result.damaged || salvage.unreadable > 0;
    }
    if (!writer.finish()) {
        result.error = writer.error();
        return result;
    }
    result.written = writer.written();
    return result;
}

qint64 exportCsv(const QSqlDatabase &db,
                 Store store,
                 const Filter &filter,
                 QIODevice &out,
                 QString *error,
                 Cells cells)
{
    if (store == Store::Local) {
        const LocalExport local = exportLocalFile(db.databaseName(), filter, out, cells);
        if (local.written >= 0 && !local.damaged)
            return local.written;
        fail(error,
             local.damaged ? QStringLiteral("the journal file is damaged (%1)").arg(local.error)
                           : local.error);
        return -1;
    }
    QSqlQuery query(db);
    if (!execStatement(query, selectEntries(store, filter, Order::OldestFirst))) {
        fail(error, query.lastError().text());
        return -1;
    }
    CsvWriter writer(out, cells);
    while (query.next()) {
        writer.append(entryAt(query));
        if (!writer.writeFull()) {
            fail(error, writer.error());
            return -1;
        }
    }
    if (query.lastError().isValid()) {
        fail(error, query.lastError().text());
        return -1;
    }
    if (!writer.finish()) {
        fail(error, writer.error());
        return -1;
    }
    return writer.written();
}

} // namespace barlink::journal
