#pragma once

#include <QLatin1String>
#include <QSqlDatabase>
#include <QString>

namespace barlink::journal {

// The journal file on the station: a SQLite database (driver QSQLITE) with the table of
// entries and the forwarder's marks, its schema versioned by PRAGMA user_version.
inline constexpr QLatin1String LocalTable("entries");

// The texts the journal window searches, in one value (unit separators between them, so that
// a search never spans two): the time index holds it, so that a search reads the index
// alone until it finds an entry. A search must use this very expression for that.
inline constexpr QLatin1String LocalSearchText(
    "(label || char(31) || ifnull(reason, '') || char(31) || ifnull(field, '') || char(31) || "
    "ifnull(program, ''))");

// $XDG_DATA_HOME/barlink/journal.sqlite (~/.local/share/barlink/journal.sqlite when unset).
[[nodiscard]] QString defaultJournalPath();

// How a connection waits for the disk when it commits.
enum class Durability {
    // Every commit is on the disk when it returns: for the entries themselves.
    EveryCommit,
    // The file is never corrupted, but the last commits before a power cut may be lost: for
    // marks that can be redone.
    Checkpoints,
};

// Opens the journal file at path (making it and its folder when missing) on db, a QSQLITE
// connection of this thread, and brings its schema up to the newest version. A write on the
// connection waits up to 200 ms for another connection's lock. Returns an empty text, or why
// the file cannot be used (db is then closed).
[[nodiscard]] QString openLocalFile(QSqlDatabase &db, const QString &path, Durability durability);

// The schema version this program makes and reads.
[[nodiscard]] int localSchemaVersion();

} // namespace barlink::journal
