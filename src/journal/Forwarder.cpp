#include "Forwarder.h"

#include "ForwardWorker.h"

namespace barlink::journal {

Forwarder::Forwarder(const QString &journalPath, const QString &server, QObject *parent)
    : Forwarder(journalPath, server, Timing(), parent)
{}

Forwarder::Forwarder(const QString &journalPath,
                     const QString &server,
                     Timing timing,
                     QObject *parent)
    : QObject(parent)
    , m_worker(new ForwardWorker(journalPath, server, timing))
{
    m_thread.setObjectName(QStringLiteral("journal forwarder"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &ForwardWorker::stateChanged, this, [this](const ForwardState &state) {
        m_state = state;
        Q_EMIT stateChanged(state);
    });
    connect(m_worker, &ForwardWorker::stalled, this, &Forwarder::stalled);
    connect(m_worker, &ForwardWorker::resumed, this, &Forwarder::resumed);
    connect(m_worker, &ForwardWorker::forwarded, this, &Forwarder::forwarded);
    m_thread.start();
    wake();
}

Forwarder::~Forwarder()
{
    m_thread.requestInterruption();
    m_thread.quit();
    m_thread.wait();
}

void Forwarder::wake()
{
    QMetaObject::invokeMethod(m_worker, &ForwardWorker::forward, Qt::QueuedConnection);
}

} // namespace barlink::journal
