#include "Forwarder.h"

#include "ConnectionBreaker.h"
#include "ForwardWorker.h"
#include "JournalLog.h"

#include <QDeadlineTimer>

namespace barlink::journal {

Forwarder::Forwarder(const QString &journalPath, const QString &server, QObject *parent)
    : Forwarder(journalPath, server, Timing(), parent)
{}

Forwarder::Forwarder(const QString &journalPath,
                     const QString &server,
                     Timing timing,
                     QObject *parent)
    : QObject(parent)
    , m_timing(timing)
    , m_breaker(std::make_shared<ConnectionBreaker>())
    , m_thread(new QThread)
    , m_worker(new ForwardWorker(journalPath, server, timing, m_breaker))
{
    m_thread->setObjectName(QStringLiteral("journal forwarder"));
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &ForwardWorker::stateChanged, this, [this](const ForwardState &state) {
        m_state = state;
        Q_EMIT stateChanged(state);
    });
    connect(m_worker, &ForwardWorker::stalled, this, &Forwarder::stalled);
    connect(m_worker, &ForwardWorker::resumed, this, &Forwarder::resumed);
    connect(m_worker, &ForwardWorker::forwarded, this, &Forwarder::forwarded);
    m_thread->start();
    wake();
}

Forwarder::~Forwarder()
{
    m_thread->requestInterruption();
    m_thread->quit();
    const QDeadlineTimer end(m_timing.endMilliseconds);
    if (!m_thread->wait(QDeadlineTimer(m_timing.endMilliseconds * 4 / 5))) {
        qCWarning(lcJournal) << "forwarding did not stop in time: its connection is cut";
        m_breaker->cut();
        if (!m_thread->wait(end)) {
            // Destroying a running thread would end the program; it ends with the program.
            qCWarning(lcJournal) << "forwarding is still waiting for the server: left to end "
                                    "with the program";
            return;
        }
    }
    delete m_thread;
}

void Forwarder::wake()
{
    QMetaObject::invokeMethod(m_worker, &ForwardWorker::forward, Qt::QueuedConnection);
}

} // namespace barlink::journal
