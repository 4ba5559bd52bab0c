#pragma once

#include "Entry.h"
#include "base/Clock.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <memory>
#include <optional>
#include <utility>

class QSqlQuery;

namespace barlink::journal {

class Connection;

// Where the journal's entries go now, for the screen: the journal file, or, while it cannot be
// written, the spill file; entries that neither takes are held in memory.
struct JournalState
{
    enum class Place { File, SpillFile, Memory };
    Place place = Place::File;
    QDateTime since = {};     // when the journal file stopped taking entries (UTC); File: invalid
    QString reason = {};      // why, in the database's words
    qsizetype spilled = 0;    // entries in the spill file, waiting for the journal file
    qsizetype held = 0;       // entries held in memory, waiting for either file
    qint64 lost = 0;          // entries that went past the bound of those held
    QDateTime heldSince = {}; // when the first of them was held
    // Whatever the place: the spill file's entries are being taken into the journal file
    // (how far, in per cent), in batches between which labels are answered.
    bool takingBack = false;
    int takenPercent = 0;
    // A spill file whose entries wait but that cannot be read: why (it is tried again).
    QString spillUnreadable = {};
    // Entries lost (spill file lines that could not be read, entries past the bound of those
    // held), until the operator acknowledges them.
    qint64 lostUnacknowledged = 0;
    // The write-ahead log cannot be emptied, as another program reads the journal file: its
    // size in bytes (0: it is kept to its bound). Tried again until it can.
    qint64 untidyLogBytes = 0;

    friend bool operator==(const JournalState &, const JournalState &) = default;
};

// The station's journal file: every entry appended is on the disk when append() returns, in the
// journal file or, when that cannot be written (locked by another program, disk full, its
// folder gone), in the spill file; only when neither can be written are entries held in memory
// (the oldest go past a bound), which stateChanged() tells for as long as it lasts. The
// journal file is tried again on a timer; once it takes entries again, those of the spill file
// (in batches from the event loop, each committed with the count of what it took, the file
// removed only after its last batch) and those held are written to it in order, exactly once,
// with a station event that says for how long and how many. Spill file lines that cannot be
// read are counted in an "entries-lost" event and told until acknowledged. A journal file
// that is damaged is moved aside and a new one made. Entries older than the kept number of
// days go whenever the file is opened, oldest written first, up to the first one that is not
// that old, and with a server only those it has. After the scan has been answered (every so
// many entries, and when the journal is idle) the write-ahead log is checkpointed and the new
// entries are added to the search index, so that an append writes the entry and its two
// indexes and syncs once; the log's file is reused from its start rather than cut back, so
// that a sync does not also write the file's new size. A checkpoint that another program's
// reading holds back is tried again until the log can be emptied. It is emptied on closing.
class Journal : public QObject
{
    Q_OBJECT

public:
    struct Limits
    {
        int retryMilliseconds = 2000;   // between tries to write the file again
        qsizetype heldEntries = 10000;  // kept in memory while no file can be written
        int idleMilliseconds = 2000;    // without appends, after which the log is checkpointed
        qint64 logBytes = 1 << 20;      // write-ahead log size that asks for a checkpoint
        int lockWaitMilliseconds = 200; // a write waits for another connection's lock
    };

    // Nothing is opened until open(). journalDays <= 0 keeps entries for ever. clock: the time
    // that retention counts the days from.
    Journal(QString path, QString station, int journalDays, QObject *parent = nullptr);
    Journal(QString path,
            QString station,
            int journalDays,
            Limits limits,
            QObject *parent = nullptr,
            base::Clock &clock = base::Clock::real());
    // Entries still held in memory go to the spill file, or are reported lost.
    ~Journal() override;

    // Entries forwarded to this server (the JournalServer setting) are the only ones that
    // retention removes; empty: there is no server. Set before open().
    void setServer(const QString &server) { m_server = server; }
    // The second place for entries; empty (the default): there is none. Set before open().
    void setSpillPath(const QString &path) { m_spillPath = path; }

    // Opens the file, makes or updates its tables, takes in what a spill file holds and removes
    // the entries that are too old; when it cannot, the state says so and it is tried again
    // later. Connect the signals first.
    void open();

    // Writes the entry in one transaction, stamped with the current time and the station when
    // it has none, or else appends it to the spill file. Never throws; waits at most
    // lockWaitMilliseconds for a file another connection has locked, and not at all while the
    // file cannot be written.
    void append(Entry entry) noexcept;

    [[nodiscard]] const QString &path() const { return m_path; }
    [[nodiscard]] bool isAvailable() const { return m_available; }
    [[nodiscard]] JournalState state() const;
    // Entries waiting in memory for a file.
    [[nodiscard]] qsizetype heldCount() const { return qsizetype(m_held.size()); }

public Q_SLOTS:
    // The operator has seen that entries were lost: the state stops telling of them.
    void acknowledgeLost();

Q_SIGNALS:
    // Entries were written to the file (for the forwarder and the journal window).
    void written();
    // Where entries go changed (the journal file, the spill file, memory), or how many wait.
    void stateChanged(const barlink::journal::JournalState &state);
    // The journal file was damaged and was moved aside to `aside`; a new one was made.
    void movedAside(const QString &aside, const QString &reason);

private:
    [[nodiscard]] QString reopen();
    [[nodiscard]] QString openFile(bool &damaged);
    [[nodiscard]] bool moveAside(const QString &reason);
    [[nodiscard]] QString insertOne(const Entry &entry);
    [[nodiscard]] QString removeOldEntries(bool &damaged);
    // Takes in the spill files' entries, a batch at a time from the event loop, then those
    // held; then the journal file takes entries.
    void startTaking();
    void takeBatch();
    [[nodiscard]] QString takeSome(bool &done);
    void finishTaking();
    [[nodiscard]] QString writeHeld();
    [[nodiscard]] bool sameFileAsOpened() const;
    void stamp(Entry &entry) const;
    void keepAside(Entry entry);
    // Appends the held entries (and next, when given) to the spill file.
    [[nodiscard]] bool spillHeld(const Entry *next);
    [[nodiscard]] Entry heldEnded() const;
    [[nodiscard]] Entry lostEvent() const;
    void fail(const QString &reason);
    void retry();
    void afterWrite();
    // Whether the log is back at its start (the checkpoint went through every frame).
    bool checkpoint(const char *mode);
    void tidyLog();
    void tidy();
    void indexSearch();
    void tellState();
    void storeLost();
    void loadLost();

    QString m_path;
    QString m_station;
    int m_journalDays = 0;
    Limits m_limits;
    QString m_server;
    QString m_spillPath;
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<QSqlQuery> m_insert; // prepared once per opening
    bool m_available = false;
    QDateTime m_downSince; // when the file stopped taking entries, while it does not
    QString m_downReason;
    qsizetype m_spilled = 0; // entries this station put in the spill file, not yet taken
    std::deque<Entry> m_held;
    QDateTime m_heldSince;
    qint64 m_dropped = 0;
    int m_appendsSinceCheckpoint = 0;
    std::pair<quint64, quint64> m_place; // of the file opened, to notice it removed or replaced
    QTimer m_retryTimer;
    QTimer m_idleTimer;
    base::Clock *m_clock;
    struct Taking;
    std::unique_ptr<Taking> m_taking; // while spill files are taken in
    QString m_spillUnreadable;
    qint64 m_lostUnacknowledged = 0;
    bool m_lostLoaded = false;         // from the file, at its first opening
    qint64 m_untidyLog = 0;            // the log's size while a checkpoint cannot empty it
    QTimer m_tidyTimer;                // tries again to empty it
    JournalState m_told;               // the state last told
    std::optional<Entry> m_damageNote; // the first entry of a file made for a damaged one
};

} // namespace barlink::journal

Q_DECLARE_METATYPE(barlink::journal::JournalState)
