#pragma once

#include "Entry.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <optional>
#include <vector>

class QSqlQuery;

namespace barlink::journal {

// Which journal a query reads: the station's own file, or the shop-wide table on the server.
enum class Store { Local, Server };

// Which entries the journal window and the export show.
struct Filter
{
    enum class Outcomes { All, RefusedOnly, TakenOnly, FailedOnly };

    QString text = {}; // found anywhere in the label, reason, field or program, ignoring case
    Outcomes outcomes = Outcomes::All;
    QDateTime from = {};  // entries at or after; invalid: no lower bound
    QDateTime until = {}; // entries before; invalid: no upper bound
    QString station = {}; // empty: every station
};

enum class Order { NewestFirst, OldestFirst };

// A statement to prepare, with the values to bind to its placeholders in order.
struct Statement
{
    QString sql;
    QVariantList values;
};

// How the local file finds the filter's text: by reading the time index until the page is
// full (quick when many entries hold the text), or by looking up the entries that hold its
// three-character pieces (quick when few do; the text needs three characters at least),
// and reading the few entries not yet indexed.
enum class TextSearch { Scan, Lookup };

// Whether the local file's reasons are read with their codes and arguments (for the screen),
// or as their English text alone (for the export, which reads files of every version).
enum class ReasonCodes { Read, Skip };

// Selects the entries that pass filter, in order, at most limit of them (0: all), after the
// entry `after` in that order when given (the last one of the previous page). The columns
// are those entryAt() reads; the server's table keeps no codes. The local file is read through its
// indexes on time and on outcome and time, so that the first page of a million entries comes at
// once.
[[nodiscard]] Statement selectEntries(Store store,
                                      const Filter &filter,
                                      Order order = Order::NewestFirst,
                                      int limit = 0,
                                      const std::optional<Entry> &after = std::nullopt,
                                      TextSearch search = TextSearch::Scan,
                                      ReasonCodes codes = ReasonCodes::Read);

// The quicker way to find text in the local file on db: Lookup when fewer than a few thousand
// entries hold it.
[[nodiscard]] TextSearch textSearchFor(const QSqlDatabase &db, const QString &text);

// Selects at most limit entries of the local file past a local number (bound to the one
// placeholder), in local-number order, with the columns entryAt() reads.
[[nodiscard]] QString selectPastLocalNumberSql(int limit);

// The entry on the current row of a query made from selectEntries(): its reason from the code
// and arguments when the query read them and the entry has them, else as plain text.
[[nodiscard]] Entry entryAt(const QSqlQuery &query);

// Prepares and runs the statement on db; the query is forward-only. False with the query's
// error when it fails.
[[nodiscard]] bool execStatement(QSqlQuery &query, const Statement &statement);

// Reads one page of entries; an empty list when there are none or the query fails.
[[nodiscard]] std::vector<Entry> readEntries(const QSqlDatabase &db,
                                             Store store,
                                             const Filter &filter,
                                             int limit,
                                             const std::optional<Entry> &after = std::nullopt);

// The statement that writes an entry to the store; the server leaves an entry it holds already
// (the same station, local file and local number) as it is.
[[nodiscard]] QString insertEntrySql(Store store);

// Runs a query prepared from insertEntrySql() for the entry: empty texts and a missing number
// of rows are stored as nulls, and the local file gives the local number. fileId: for the
// server, the identity of the local file the entry comes from; empty for the local file.
[[nodiscard]] bool insertEntry(QSqlQuery &query, const Entry &entry, const QString &fileId = {});

} // namespace barlink::journal
