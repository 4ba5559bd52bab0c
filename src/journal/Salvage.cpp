#include "Salvage.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace barlink::journal {

namespace {

// The first 16 bytes of a SQLite file, its terminating zero included.
constexpr char FileMagic[] = "SQLite format 3";
constexpr quint32 WalMagic = 0x377f0682; // the low bit set: checksums of big-endian words
constexpr int WalHeaderBytes = 32;
constexpr int FrameHeaderBytes = 24;
constexpr uchar TableLeaf = 0x0d;

quint32 be32(const uchar *p)
{
    return qFromBigEndian<quint32>(p);
}

quint16 be16(const uchar *p)
{
    return qFromBigEndian<quint16>(p);
}

bool validPageSize(quint32 size)
{
    return size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
}

// A number as SQLite writes it (1 to 9 bytes, big-endian, 7 bits from each but the ninth, of
// which it takes all 8) at p; its length, or 0 when it runs past end.
int readVarint(const uchar *p, const uchar *end, quint64 &value)
{
    value = 0;
    for (int i = 0; i < 9 && p + i < end; ++i) {
        if (i == 8) {
            value = value << 8 | p[i];
            return 9;
        }
        value = value << 7 | (p[i] & 0x7f);
        if ((p[i] & 0x80) == 0)
            return i + 1;
    }
    return 0;
}

// The write-ahead log's running checksum over size bytes (a multiple of 8).
void addChecksum(bool bigEndian, const uchar *data, qint64 size, quint32 &s0, quint32 &s1)
{
    for (qint64 i = 0; i + 8 <= size; i += 8) {
        const quint32 a
            = bigEndian ? qFromBigEndian<quint32>(data + i) : qFromLittleEndian<quint32>(data + i);
        const quint32 b = bigEndian ? qFromBigEndian<quint32>(data + i + 4)
                                    : qFromLittleEndian<quint32>(data + i + 4);
        s0 += a + s1;
        s1 += b + s0;
    }
}

// The pages of a journal file as SQLite reads them: a page committed to the write-ahead log
// from there, any other from the file.
class Pages
{
public:
    explicit Pages(const QString &path);
    Pages(const Pages &) = delete;
    Pages &operator=(const Pages &) = delete;

    [[nodiscard]] quint32 count() const { return m_count; }
    // The bytes of a page that its content may use (the page less the bytes reserved at its end).
    [[nodiscard]] quint32 usable() const { return m_usable; }
    // Page `number` (from 1); null when neither the file nor the log holds it.
    [[nodiscard]] const uchar *page(quint32 number) const;
    // The free pages listed from the first page: what they hold was deleted.
    [[nodiscard]] std::unordered_set<quint32> freePages() const;
    // False when the first page says the texts are UTF-16 (a station writes UTF-8).
    [[nodiscard]] bool utf8() const;

private:
    void readLog();
    [[nodiscard]] bool hasHeader() const;

    QFile m_file;
    QFile m_log;
    const uchar *m_fileData = nullptr;
    qint64 m_fileSize = 0;
    const uchar *m_logData = nullptr;
    qint64 m_logSize = 0;
    quint32 m_size = 4096; // a station's pages, when neither the file nor the log says
    quint32 m_usable = 4096;
    quint32 m_count = 0;
    std::unordered_map<quint32, qint64> m_logged; // page: where its newest content is in the log
};

Pages::Pages(const QString &path)
    : m_file(path)
    , m_log(path + QLatin1String("-wal"))
{
    if (m_file.open(QIODevice::ReadOnly) && m_file.size() > 0) {
        m_fileSize = m_file.size();
        m_fileData = m_file.map(0, m_fileSize);
    }
    if (m_log.open(QIODevice::ReadOnly) && m_log.size() >= WalHeaderBytes) {
        m_logSize = m_log.size();
        m_logData = m_log.map(0, m_logSize);
    }
    if (!m_fileData)
        m_fileSize = 0;
    if (!m_logData)
        m_logSize = 0;
    const quint32 stated = m_fileSize >= 100 && std::memcmp(m_fileData, FileMagic, 16) == 0
                               ? (be16(m_fileData + 16) == 1 ? 65536 : be16(m_fileData + 16))
                               : 0;
    if (validPageSize(stated) && m_fileData[20] < stated / 2) {
        m_size = stated;
        m_usable = stated - m_fileData[20];
    } else if (m_logData && validPageSize(be32(m_logData + 8))) {
        m_size = m_usable = be32(m_logData + 8);
    }
    m_count = quint32(m_fileSize / m_size);
    readLog();
}

// The frames of the log's current run (its header's salts) up to its last commit whose
// checksums hold: what SQLite itself would read.
void Pages::readLog()
{
    if (!m_logData || (be32(m_logData) & ~1u) != WalMagic || be32(m_logData + 8) != m_size)
        return;
    const bool bigEndian = (be32(m_logData) & 1) != 0;
    quint32 s0 = 0;
    quint32 s1 = 0;
    addChecksum(bigEndian, m_logData, 24, s0, s1);
    if (s0 != be32(m_logData + 24) || s1 != be32(m_logData + 28))
        return;
    std::vector<std::pair<quint32, qint64>> uncommitted;
    for (qint64 at = WalHeaderBytes; at + FrameHeaderBytes + m_size <= m_logSize;
         at += FrameHeaderBytes + m_size) {
        const uchar *frame = m_logData + at;
        if (std::memcmp(frame + 8, m_logData + 16, 8) != 0)
            break;
        addChecksum(bigEndian, frame, 8, s0, s1);
        addChecksum(bigEndian, frame + FrameHeaderBytes, m_size, s0, s1);
        if (s0 != be32(frame + 16) || s1 != be32(frame + 20))
            break;
        uncommitted.emplace_back(be32(frame), at + FrameHeaderBytes);
        // A commit's frame says how many pages the file has after it.
        if (const quint32 pages = be32(frame + 4); pages != 0) {
            for (const auto &[number, offset] : uncommitted)
                m_logged[number] = offset;
            uncommitted.clear();
            m_count = pages;
        }
    }
}

const uchar *Pages::page(quint32 number) const
{
    if (number == 0 || number > m_count)
        return nullptr;
    if (const auto logged = m_logged.find(number); logged != m_logged.end())
        return m_logData + logged->second;
    const qint64 at = qint64(number - 1) * m_size;
    return at + m_size <= m_fileSize ? m_fileData + at : nullptr;
}

bool Pages::hasHeader() const
{
    const uchar *first = page(1);
    return first && std::memcmp(first, FileMagic, 16) == 0;
}

std::unordered_set<quint32> Pages::freePages() const
{
    std::unordered_set<quint32> free;
    if (!hasHeader())
        return free;
    // A list of trunk pages, each naming free leaf pages; a list that loops or runs wild ends
    // where it names a page twice or more pages than there are.
    quint32 trunk = be32(page(1) + 32);
    while (trunk != 0 && free.size() < m_count && free.insert(trunk).second) {
        const uchar *p = page(trunk);
        if (!p)
            break;
        const quint32 leaves = std::min(be32(p + 4), m_usable / 4 - 2);
        for (quint32 i = 0; i < leaves; ++i)
            free.insert(be32(p + 8 + 4 * i));
        trunk = be32(p);
    }
    return free;
}

bool Pages::utf8() const
{
    return !hasHeader() || be32(page(1) + 56) <= 1;
}

// The record of the table-leaf cell at offset `at` of page, with the part that runs on to
// overflow pages, and the row's key. False when it runs off its page, or on to a page that is
// not there.
bool readCell(const Pages &pages, const uchar *page, quint32 at, quint64 &key, QByteArray &record)
{
    const quint32 usable = pages.usable();
    const uchar *end = page + usable;
    if (at >= usable)
        return false;
    const uchar *p = page + at;
    quint64 size = 0;
    int length = readVarint(p, end, size);
    if (length == 0 || size > quint64(pages.count()) * usable)
        return false;
    p += length;
    if ((length = readVarint(p, end, key)) == 0)
        return false;
    p += length;
    // How SQLite splits a record too long for its page: what stays, and a chain of pages for
    // the rest, each starting with the number of the next.
    const quint64 maxLocal = usable - 35;
    quint64 local = size;
    if (size > maxLocal) {
        const quint64 minLocal = (usable - 12) * 32 / 255 - 23;
        local = minLocal + (size - minLocal) % (usable - 4);
        if (local > maxLocal)
            local = minLocal;
    }
    if (quint64(end - p) < local + (local < size ? 4 : 0))
        return false;
    record = QByteArray(reinterpret_cast<const char *>(p), qsizetype(local));
    quint32 next = local < size ? be32(p + local) : 0;
    while (quint64(record.size()) < size) {
        const uchar *overflow = pages.page(next);
        if (!overflow)
            return false;
        const quint64 part = std::min<quint64>(size - quint64(record.size()), usable - 4);
        record.append(reinterpret_cast<const char *>(overflow + 4), qsizetype(part));
        next = be32(overflow);
    }
    return true;
}

// One value of a record: its type as SQLite writes it, and its bytes.
struct Value
{
    quint64 type = 0;
    const uchar *data = nullptr;
    quint64 size = 0;

    [[nodiscard]] bool isNull() const { return type == 0; }
    [[nodiscard]] bool isInteger() const
    {
        return (type >= 1 && type <= 6) || type == 8 || type == 9;
    }
    [[nodiscard]] bool isText() const { return type >= 13 && type % 2 == 1; }
    [[nodiscard]] qint64 integer() const
    {
        if (type == 8 || type == 9)
            return qint64(type - 8);
        quint64 value = data[0] & 0x80 ? ~quint64(0) : 0;
        for (quint64 i = 0; i < size; ++i)
            value = value << 8 | data[i];
        return qint64(value);
    }
};

// The values of a record; false when its header does not fit its size.
bool readRecord(const QByteArray &record, std::vector<Value> &values)
{
    constexpr std::array<quint64, 12> sizes{0, 1, 2, 3, 4, 6, 8, 8, 0, 0, 0, 0};
    const auto *begin = reinterpret_cast<const uchar *>(record.constData());
    const uchar *end = begin + record.size();
    quint64 headerSize = 0;
    const int length = readVarint(begin, end, headerSize);
    if (length == 0 || headerSize > quint64(record.size()))
        return false;
    const uchar *type = begin + length;
    const uchar *headerEnd = begin + headerSize;
    const uchar *body = headerEnd;
    values.clear();
    while (type < headerEnd) {
        Value value;
        const int typeLength = readVarint(type, headerEnd, value.type);
        if (typeLength == 0 || value.type == 10 || value.type == 11)
            return false;
        type += typeLength;
        value.size = value.type >= 12 ? (value.type - 12) / 2 : sizes[value.type];
        if (value.size > quint64(end - body))
            return false;
        value.data = body;
        body += value.size;
        values.push_back(value);
    }
    return true;
}

// A row of the table `entries` of any version: the local number kept as the row's key (its
// column null), the time an integer, station to outcome texts, reason to z texts or nulls,
// rows an integer or null (a later version's columns come after).
bool isEntry(const std::vector<Value> &values)
{
    if (values.size() < 14 || !values[0].isNull() || !values[1].isInteger())
        return false;
    for (std::size_t i = 2; i <= 6; ++i) {
        if (!values[i].isText())
            return false;
    }
    for (std::size_t i = 7; i <= 12; ++i) {
        if (!values[i].isNull() && !values[i].isText())
            return false;
    }
    return values[13].isNull() || values[13].isInteger();
}

// The row of sqlite_sequence that holds the last local number the file gave.
bool isLastNumberGiven(const std::vector<Value> &values)
{
    return values.size() == 2 && values[0].isText() && values[1].isInteger()
           && QByteArrayView(values[0].data, qsizetype(values[0].size)) == "entries";
}

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;

Statement prepare(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *prepared = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &prepared, nullptr);
    return {prepared, sqlite3_finalize};
}

void bindEntry(sqlite3_stmt *insert, quint64 key, const std::vector<Value> &values)
{
    sqlite3_reset(insert);
    sqlite3_bind_int64(insert, 1, sqlite3_int64(key));
    sqlite3_bind_int64(insert, 2, values[1].integer());
    for (int column = 2; column <= 12; ++column) {
        const Value &value = values[std::size_t(column)];
        if (value.isNull()) {
            sqlite3_bind_null(insert, column + 1);
        } else {
            sqlite3_bind_text(insert,
                              column + 1,
                              reinterpret_cast<const char *>(value.data),
                              int(value.size),
                              SQLITE_STATIC);
        }
    }
    if (values[13].isNull())
        sqlite3_bind_null(insert, 14);
    else
        sqlite3_bind_int64(insert, 14, values[13].integer());
}

} // namespace

Salvage salvageEntries(const QString &path, sqlite3 *target)
{
    Salvage result;
    const Pages pages(path);
    if (!pages.utf8()) {
        result.error = QStringLiteral("its texts are not UTF-8");
        return result;
    }
    const Statement insert = prepare(
        target,
        "INSERT OR IGNORE INTO entries (id, time, station, source, label, kind, outcome, reason, "
        "field, program, x, y, z, rows) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    if (!insert || sqlite3_exec(target, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) {
        result.error = QString::fromUtf8(sqlite3_errmsg(target));
        return result;
    }
    const std::unordered_set<quint32> free = pages.freePages();
    qint64 lastGiven = 0;
    QByteArray record;
    std::vector<Value> values;
    for (quint32 number = 1; number <= pages.count(); ++number) {
        const uchar *page = pages.page(number);
        const quint32 header = number == 1 ? 100 : 0;
        if (!page || free.contains(number) || page[header] != TableLeaf)
            continue;
        const quint32 cells = be16(page + header + 3);
        for (quint32 cell = 0; cell < cells && header + 8 + 2 * cell + 2 <= pages.usable();
             ++cell) {
            quint64 key = 0;
            if (!readCell(pages, page, be16(page + header + 8 + 2 * cell), key, record)
                || !readRecord(record, values))
                continue;
            if (isLastNumberGiven(values)) {
                lastGiven = std::max(lastGiven, values[1].integer());
            } else if (isEntry(values)) {
                bindEntry(insert.get(), key, values);
                if (sqlite3_step(insert.get()) != SQLITE_DONE) {
                    result.error = QString::fromUtf8(sqlite3_errmsg(target));
                    sqlite3_exec(target, "ROLLBACK", nullptr, nullptr, nullptr);
                    return result;
                }
            }
        }
    }
    const Statement span = prepare(target, "SELECT count(*), min(id), max(id) FROM entries");
    if (sqlite3_exec(target, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK || !span
        || sqlite3_step(span.get()) != SQLITE_ROW) {
        result.error = QString::fromUtf8(sqlite3_errmsg(target));
        return result;
    }
    result.entries = sqlite3_column_int64(span.get(), 0);
    if (result.entries > 0) {
        const qint64 last = std::max(lastGiven, qint64(sqlite3_column_int64(span.get(), 2)));
        result.unreadable = last - sqlite3_column_int64(span.get(), 1) + 1 - result.entries;
    }
    return result;
}

} // namespace barlink::journal
