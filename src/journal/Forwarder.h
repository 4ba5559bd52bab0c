#pragma once

#include "ForwardState.h"
#include "ServerAddress.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <memory>

namespace barlink::journal {

class ConnectionBreaker;
class ForwardWorker;

// Forwards the entries of the station's journal file to the shop-wide table, in local-number
// order, from a thread of its own with its own connections, so that a server that does not
// answer never holds up the station. How far it got is kept in the journal file for each
// server; entries sent twice (after a crash) are stored once. While the server is away it
// tries again, waiting longer each time up to a few seconds, and says how many entries wait
// and why. The table is made when missing. While it reaches the server it keeps the
// station's row in the table of stations up to date, so that the shop sees a station that
// stopped forwarding.
class Forwarder : public QObject
{
    Q_OBJECT

public:
    struct Timing
    {
        int firstRetryMilliseconds = 500;
        int longestRetryMilliseconds = 5000;
        int batchEntries = 500;             // sent in one server transaction
        int stationRowMilliseconds = 30000; // between two writes of the station's row
        // How long each call may wait for the server; one that runs past its bound fails, and
        // forwarding waits with the reason.
        ServerBounds server = {};
        // How long past the statement's bound a call may go unanswered before its connection
        // is cut: the bound for a server that does not answer at all.
        int callGraceMilliseconds = 2000;
        // How long the end waits for the forwarder (see ~Forwarder()).
        int endMilliseconds = 5000;
    };

    // Starts at once with the entries the server does not have yet. server: the JournalServer
    // setting (see openServer()).
    Forwarder(const QString &journalPath, const QString &server, QObject *parent = nullptr);
    Forwarder(const QString &journalPath,
              const QString &server,
              Timing timing,
              QObject *parent = nullptr);
    // Stops after the transaction under way, waiting for it at most endMilliseconds: in the
    // last fifth of that time a call that still waits on the server has its connection cut
    // (the server rolls the transaction back). What the server did not confirm goes at the
    // next start. A thread that does not end even then (a connection still being made) is
    // left to end with the program.
    ~Forwarder() override;

    // The last state stateChanged() gave; up to date until the first try says otherwise.
    [[nodiscard]] const ForwardState &state() const { return m_state; }

public Q_SLOTS:
    // New entries are in the journal file (connect Journal::written here).
    void wake();

Q_SIGNALS:
    // The state changed: entries came or went while forwarding waits, it stopped, it goes
    // again, or the station's row cannot be written. Emitted before stalled() and resumed().
    void stateChanged(const barlink::journal::ForwardState &state);
    // Forwarding stopped (the server is away, the table cannot be written, ...); said once
    // until resumed() follows, however often the reason changes.
    void stalled(const QString &reason);
    void resumed();
    // The server has every entry up to this local number.
    void forwarded(qint64 localNumber);

private:
    Timing m_timing;
    // Shared with the worker, which may outlive this when its thread does not end in time.
    std::shared_ptr<ConnectionBreaker> m_breaker;
    QThread *m_thread = nullptr; // deleted with this once it has ended
    ForwardState m_state;
    ForwardWorker *m_worker = nullptr; // lives in m_thread, deleted when it ends
};

} // namespace barlink::journal
