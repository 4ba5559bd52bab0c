#pragma once

#include "Entry.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <memory>
#include <utility>

class QSqlQuery;

namespace barlink::journal {

class Connection;

// The station's journal file: every entry appended is on the disk when append() returns. When
// the file cannot be written (disk full, locked, removed, its folder not writable), entries
// are kept in memory in order (the oldest go past a bound), unavailable() says so once, and
// the file is tried again on a timer until the kept entries are written: then available().
// Entries older than the kept number of days go whenever the file is opened.
class Journal : public QObject
{
    Q_OBJECT

public:
    struct Limits
    {
        int retryMilliseconds = 2000;  // between tries to write the file again
        qsizetype heldEntries = 10000; // kept in memory while the file cannot be written
    };

    // Nothing is opened until open(). journalDays <= 0 keeps entries for ever.
    Journal(QString path, QString station, int journalDays, QObject *parent = nullptr);
    Journal(
        QString path, QString station, int journalDays, Limits limits, QObject *parent = nullptr);
    ~Journal() override;

    // Opens the file, makes or updates its tables and removes the entries that are too old;
    // emits unavailable() when it cannot (and tries again later). Connect the signals first.
    void open();

    // Writes the entry in one transaction, stamped with the current time and the station
    // when it has none. Never throws; waits at most the lock timeout of openLocalFile() for a
    // file another connection has locked, and not at all while the file cannot be written.
    void append(Entry entry) noexcept;

    [[nodiscard]] const QString &path() const { return m_path; }
    [[nodiscard]] bool isAvailable() const { return m_available; }
    // Entries waiting in memory for the file.
    [[nodiscard]] qsizetype heldCount() const { return qsizetype(m_held.size()); }

Q_SIGNALS:
    // Entries were written to the file (for the forwarder and the journal window).
    void written();
    // The file cannot be written; said once until available() follows.
    void unavailable(const QString &reason);
    void available();

private:
    [[nodiscard]] QString reopen();
    [[nodiscard]] QString removeOldEntries();
    [[nodiscard]] QString writeHeld();
    [[nodiscard]] bool sameFileAsOpened() const;
    void hold(Entry entry);
    void fail(const QString &reason);
    void retry();
    void checkpoint();

    QString m_path;
    QString m_station;
    int m_journalDays = 0;
    Limits m_limits;
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<QSqlQuery> m_insert; // prepared once per opening
    bool m_available = false;
    bool m_told = false; // unavailable() was emitted for the current failure
    std::deque<Entry> m_held;
    qint64 m_dropped = 0;
    int m_appendsSinceCheckpoint = 0;
    std::pair<quint64, quint64> m_place; // of the file opened, to notice it removed or replaced
    QTimer m_retryTimer;
};

} // namespace barlink::journal
