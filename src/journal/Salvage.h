#pragma once

#include <QString>

struct sqlite3;

namespace barlink::journal {

// What the page reader found in a journal file.
struct Salvage
{
    qint64 entries = 0; // entries copied, each local number once
    // Local numbers from the lowest found to the last the file gave that no intact page holds:
    // the entries lost to the damage (those removed as too old are below the lowest found).
    qint64 unreadable = 0;
    QString error; // why the copies could not be written; empty otherwise
};

// Copies every entry that an intact page of the journal file at path holds into the table
// `entries` of target (columns as selectEntries() reads them, the local number its key). The
// pages are read one by one, as SQLite lays them out, without following the file's trees, so
// that a damaged page loses only the entries it holds, even when it is one that leads to
// others or the file's first page. A page committed to the write-ahead log beside the file is
// read from there, as SQLite would; free pages are left out. Entries whose text runs on to
// further pages are read from them as they are.
[[nodiscard]] Salvage salvageEntries(const QString &path, sqlite3 *target);

} // namespace barlink::journal
