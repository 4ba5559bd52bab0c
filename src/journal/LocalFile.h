#pragma once

#include <QLatin1String>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <memory>
#include <utility>

struct sqlite3;

namespace barlink::journal {

// The journal file on the station: a SQLite database (driver QSQLITE) with the table of
// entries and the forwarder's marks, its schema versioned by PRAGMA user_version.
inline constexpr QLatin1String LocalTable("entries");

// The texts the journal window searches (label, reason, field, program) in lower case, in
// one value with unit separators between them, so that a search never spans two. The column
// `search` keeps it and the time index holds that column, so that a search reads the index
// alone until it finds an entry. The index of its three-character pieces, entries_search,
// holds the entries up to the local number kept as search_indexed in meta; those past it
// are read from the table until indexSearchText() adds them.
[[nodiscard]] QString localSearchText(const QString &label,
                                      const QString &reason,
                                      const QString &field,
                                      const QString &program);

// $XDG_DATA_HOME/barlink/journal.sqlite (~/.local/share/barlink/journal.sqlite when unset).
[[nodiscard]] QString defaultJournalPath();

// How long a write on a journal file's connection waits for another connection's lock.
inline constexpr int LockWaitMilliseconds = 200;

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
// connection waits up to lockWaitMilliseconds for another connection's lock. Returns an empty
// text, or why the file cannot be used (db is then closed); `damaged` (when given) tells
// whether that is because the file is not a database or is malformed, rather than locked or
// not writable.
[[nodiscard]] QString openLocalFile(QSqlDatabase &db,
                                    const QString &path,
                                    Durability durability,
                                    bool *damaged = nullptr,
                                    int lockWaitMilliseconds = LockWaitMilliseconds);

// Whether a database error says that the file is not a database or is malformed (SQLite's
// NOTADB and CORRUPT), as opposed to busy, locked, full or not writable.
[[nodiscard]] bool isDamage(const QSqlError &error);

// Adds to the search index the entries past its mark, at most `most` of them, and moves the
// mark past them, in one transaction that does not wait for the disk (lost, it is redone).
// Returns how many were added (fewer than most: the index is up to date), or -1 on failure.
int indexSearchText(QSqlDatabase &db, int most);

// The schema version this program makes and reads.
[[nodiscard]] int localSchemaVersion();

// Where the file at path is on the disk (device and inode), to notice it removed or replaced
// while open; {0, 0} when it is missing, or where an open file cannot be removed.
[[nodiscard]] std::pair<quint64, quint64> placeOnDisk(const QString &path);

// The identity of the open journal file (made with the file, kept in it); empty when it
// cannot be read.
[[nodiscard]] QString localFileId(const QSqlDatabase &db);

// Closes a connection made with SQLite's own interface.
struct SqliteClose
{
    void operator()(sqlite3 *db) const;
};
using SqliteConnection = std::unique_ptr<sqlite3, SqliteClose>;

// A journal file opened to be read as it is, with SQLite's own interface.
struct ReadOnlyFile
{
    enum class State {
        Opened,
        // SQLite reports the file damaged (or it is no database at all).
        Damaged,
        // Its write-ahead log holds entries, but SQLite reads a log only with the -shm file
        // beside it, which is missing and cannot be made: the folder cannot be written.
        LogUnreadable,
        // Missing, unreadable, locked, or not a journal file.
        Failed,
    };
    SqliteConnection db; // open when Opened
    State state = State::Failed;
    QString error; // why, unless Opened
};

// Opens the journal file at path to read it, writing nothing to it and never migrating it: a
// file of an older version is read as it is. Where the folder cannot be written, a file whose
// log is missing or empty is read as immutable (the file alone is then the whole journal).
// Where it can, SQLite may leave an empty -wal and a -shm beside the file, as a station does.
[[nodiscard]] ReadOnlyFile openLocalFileToRead(const QString &path);

} // namespace barlink::journal
