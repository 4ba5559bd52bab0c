#include "ScanSession.h"

#include <algorithm>
#include <climits>

namespace barlink::scan {

ScanSession::ScanSession(const ScanOptions &options, Sender send, Printer print, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_send(std::move(send))
    , m_print(std::move(print))
{
    m_step.setSingleShot(true);
    connect(&m_step, &QTimer::timeout, this, &ScanSession::sendNext);
    m_linger.setSingleShot(true);
    connect(&m_linger, &QTimer::timeout, this, &ScanSession::checkDone);
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        finish(2,
               QStringLiteral("timed out after %1 s with %2 of %3 ACK answers")
                   .arg(m_options.timeoutSeconds)
                   .arg(m_acks)
                   .arg(m_options.waitAcks));
    });
}

void ScanSession::start()
{
    m_sinceStart.start();
    if (m_options.timeoutSeconds > 0)
        m_timeout.start(int(std::min<qint64>(qint64(m_options.timeoutSeconds) * 1000, INT_MAX)));
    pump();
    checkDone();
}

void ScanSession::addLabel(const QByteArray &label)
{
    if (label.isEmpty())
        return;
    m_labels.enqueue(label);
    pump();
}

void ScanSession::endOfLabels()
{
    m_noMoreLabels = true;
    checkDone();
}

void ScanSession::received(const QByteArray &bytes)
{
    for (const QByteArray &answer : m_answers.feed(bytes)) {
        m_print(QStringLiteral("<- ") + printableBytes(answer));
        if (answer == "ACK")
            ++m_acks;
    }
    checkDone();
}

// How long to stay quiet before the next label may start.
qint64 ScanSession::quietTimeLeft() const
{
    if (!m_sinceLastLabel.isValid())
        return std::max<qint64>(0, m_options.delayMs - m_sinceStart.elapsed());
    return std::max<qint64>(0, m_options.gapMs - m_sinceLastLabel.elapsed());
}

void ScanSession::pump()
{
    if (m_finished || !m_sinceStart.isValid() || m_step.isActive() || !m_current.isEmpty()
        || m_labels.isEmpty())
        return;
    m_current = m_labels.dequeue();
    m_currentSent = 0;
    m_step.start(int(quietTimeLeft()));
}

void ScanSession::sendNext()
{
    if (m_finished)
        return;
    if (m_currentSent == 0)
        m_print(QStringLiteral("-> ") + printableBytes(m_current));
    if (m_options.paceMs == 0) {
        m_send(m_current);
        m_currentSent = m_current.size();
    } else {
        m_send(m_current.mid(m_currentSent, 1));
        ++m_currentSent;
    }
    if (m_currentSent < m_current.size()) {
        m_step.start(m_options.paceMs);
        return;
    }
    m_current.clear();
    m_sinceLastLabel.start();
    pump();
    checkDone();
}

void ScanSession::checkDone()
{
    const bool sending = !m_current.isEmpty() || !m_labels.isEmpty();
    if (m_finished || sending || !m_sinceStart.isValid())
        return;
    if (m_options.waitAcks > 0) {
        if (m_acks >= m_options.waitAcks)
            finish(0);
        return;
    }
    if (!m_noMoreLabels)
        return;
    // Stay one gap after the last label so its answer is still shown.
    const qint64 left = m_sinceLastLabel.isValid()
                            ? std::max<qint64>(0, m_options.gapMs - m_sinceLastLabel.elapsed())
                            : 0;
    if (left == 0)
        finish(0);
    else if (!m_linger.isActive())
        m_linger.start(int(left));
}

void ScanSession::finish(int exitCode, const QString &message)
{
    if (m_finished)
        return;
    m_finished = true;
    m_step.stop();
    m_linger.stop();
    m_timeout.stop();
    Q_EMIT finished(exitCode, message);
}

} // namespace barlink::scan
