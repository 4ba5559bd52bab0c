#pragma once

#include <QObject>
#include <QString>
#include <QThread>

namespace barlink::journal {

class ForwardWorker;

// Forwards the entries of the station's journal file to the shop-wide table, in local-number
// order, from a thread of its own with its own connections, so that a server that does not
// answer never holds up the station. How far it got is kept in the journal file for each
// server; entries sent twice (after a crash) are stored once. While the server is away it
// tries again, waiting longer each time up to a few seconds. The table is made when missing.
class Forwarder : public QObject
{
    Q_OBJECT

public:
    struct Timing
    {
        int firstRetryMilliseconds = 500;
        int longestRetryMilliseconds = 5000;
        int batchEntries = 500; // sent in one server transaction
    };

    // Starts at once with the entries the server does not have yet. server: the JournalServer
    // setting (see openServer()).
    Forwarder(const QString &journalPath, const QString &server, QObject *parent = nullptr);
    Forwarder(const QString &journalPath,
              const QString &server,
              Timing timing,
              QObject *parent = nullptr);
    // Stops after the transaction under way; the rest goes at the next start.
    ~Forwarder() override;

public Q_SLOTS:
    // New entries are in the journal file (connect Journal::written here).
    void wake();

Q_SIGNALS:
    // Forwarding stopped (the server is away, the table cannot be written, ...); said once
    // until resumed() follows.
    void stalled(const QString &reason);
    void resumed();
    // The server has every entry up to this local number.
    void forwarded(qint64 localNumber);

private:
    QThread m_thread;
    ForwardWorker *m_worker = nullptr; // lives in m_thread, deleted when it ends
};

} // namespace barlink::journal
