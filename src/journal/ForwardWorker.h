#pragma once

#include "Forwarder.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <utility>

class QSqlQuery;

namespace barlink::journal {

class Connection;

// The forwarder's work, in its thread: reads the journal file past the server's mark, sends
// a batch in one server transaction, moves the mark; on failure drops both connections and
// tries again after a wait that doubles up to the longest.
class ForwardWorker : public QObject
{
    Q_OBJECT

public:
    ForwardWorker(QString journalPath, QString server, Forwarder::Timing timing);
    ~ForwardWorker() override;

public Q_SLOTS:
    void forward();

Q_SIGNALS:
    void stalled(const QString &reason);
    void resumed();
    void forwarded(qint64 localNumber);

private:
    [[nodiscard]] QString connectBoth();
    [[nodiscard]] QString sendBatch(int &sent);
    void disconnectBoth();
    void fail(const QString &reason);

    QString m_journalPath;
    QString m_server;
    Forwarder::Timing m_timing;
    std::unique_ptr<Connection> m_local;
    std::unique_ptr<Connection> m_remote;
    std::unique_ptr<QSqlQuery> m_read;   // entries past the mark, on m_local
    std::unique_ptr<QSqlQuery> m_mark;   // moves the mark, on m_local
    std::unique_ptr<QSqlQuery> m_insert; // on m_remote
    QString m_fileId; // the journal file's identity, part of each entry's key on the server
    std::pair<quint64, quint64> m_place; // of the journal file read
    qint64 m_sentUpTo = 0;
    int m_delay = 0;
    bool m_stalled = false;
    QTimer m_retryTimer{this}; // a child, so that it moves to the thread with the worker
};

} // namespace barlink::journal
