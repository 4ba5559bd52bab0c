#pragma once

#include "ForwardState.h"
#include "Forwarder.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <utility>

class QSqlError;
class QSqlQuery;

namespace barlink::journal {

class Connection;
class CallWatch;
class ConnectionBreaker;

// The forwarder's work, in its thread: reads the journal file past the server's mark, sends
// a batch in one server transaction, moves the mark, writes the station's row; on failure
// drops the server's connection (and the file's, when the file failed), counts what waits,
// and tries again after a wait that doubles up to the longest. Each server call has its bound;
// a call that runs past it (a table locked by another connection) is a failure like any
// other. The connection it holds may be cut from the forwarder's thread at the end.
class ForwardWorker : public QObject
{
    Q_OBJECT

public:
    ForwardWorker(QString journalPath,
                  QString server,
                  Forwarder::Timing timing,
                  std::shared_ptr<ConnectionBreaker> breaker);
    ~ForwardWorker() override;

public Q_SLOTS:
    void forward();

Q_SIGNALS:
    void stateChanged(const barlink::journal::ForwardState &state);
    void stalled(const QString &reason);
    void resumed();
    void forwarded(qint64 localNumber);

private:
    // What failed: the journal file, or the server (its connection, its tables, its rights).
    struct Fault
    {
        QString reason;
        bool inFile = false;
    };
    using Outcome = std::optional<Fault>; // nothing: it worked

    [[nodiscard]] Outcome connectBoth();
    [[nodiscard]] Outcome openLocal();
    [[nodiscard]] Outcome openRemote();
    [[nodiscard]] Outcome sendBatch(bool &caughtUp);
    [[nodiscard]] Outcome writeStationRow();
    void closeLocal();
    void closeRemote();
    void countNew();
    // The next call on the server begins: it must end within its bound.
    void watchCall();
    void fail(const Fault &failure);
    void report();
    [[nodiscard]] QDateTime oldestWaitingTime() const;
    // Why the server refused or did not answer, with its own words.
    [[nodiscard]] QString serverTrouble(const QSqlError &error) const;

    QString m_journalPath;
    QString m_server;
    Forwarder::Timing m_timing;
    std::shared_ptr<ConnectionBreaker> m_breaker;
    std::unique_ptr<CallWatch> m_watch; // cuts a call that the server leaves unanswered
    std::unique_ptr<Connection> m_local;
    std::unique_ptr<Connection> m_remote;
    std::unique_ptr<QSqlQuery> m_read;     // entries past the mark, on m_local
    std::unique_ptr<QSqlQuery> m_mark;     // moves the mark, on m_local
    std::unique_ptr<QSqlQuery> m_count;    // entries past a local number, on m_local
    std::unique_ptr<QSqlQuery> m_insert;   // on m_remote
    std::unique_ptr<QSqlQuery> m_writeRow; // the station's row, on m_remote
    QString m_fileId; // the journal file's identity, part of each entry's key on the server
    std::pair<quint64, quint64> m_place; // of the journal file read
    qint64 m_sentUpTo = 0;
    // Entries past the mark, counted when the file is opened and, while forwarding waits, as
    // they come: each count reads only the entries past the highest number counted.
    qint64 m_waiting = 0;
    qint64 m_counted = 0;
    QString m_failure;    // why forwarding stopped; empty while it goes
    QString m_rowTrouble; // why the station's row cannot be written; entries still go
    bool m_rowDue = true;
    QDateTime m_since; // of the state reported while it is not up to date
    ForwardState m_reported;
    int m_delay = 0;
    QTimer m_retryTimer{this}; // children, so that they move to the thread with the worker
    QTimer m_rowTimer{this};
};

} // namespace barlink::journal
