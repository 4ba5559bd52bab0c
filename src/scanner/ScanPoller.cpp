#include "ScanPoller.h"

#include "ScanRouting.h"
#include "ScannerPort.h"
#include "base/LabelGate.h"
#include "base/StatusTexts.h"
#include "text/SingleByte.h"

#include <QLoggingCategory>

#include <utility>

Q_LOGGING_CATEGORY(lcPoll, "barlink.scanner.poll", QtWarningMsg)

namespace barlink::scanner {

namespace {

QString lastScanText(const QString &buffer)
{
    return QStringLiteral(" Last Scan:    ") + buffer;
}

} // namespace

ScanPoller::ScanPoller(ScannerPort &port,
                       base::LabelGate &gate,
                       QObject *parent,
                       base::Clock &clock)
    : QObject(parent)
    , m_port(port)
    , m_gate(gate)
    , m_timer(clock.makeTimer())
{
    // Every read and every tick starts the interval anew, so that quiet is measured from the
    // last byte read.
    m_timer->setSingleShot(true);
    connect(m_timer.get(), &base::Timer::timeout, this, &ScanPoller::tick);
    connect(&m_port, &ScannerPort::bytesArrived, this, &ScanPoller::bytesArrived);
}

ScanPoller::~ScanPoller() = default;

void ScanPoller::start(int intervalMs)
{
    m_timer->setInterval(std::max(1, intervalMs));
    m_started = true;
    scheduleTick();
}

void ScanPoller::stop()
{
    m_started = false;
    m_timer->stop();
}

QString ScanPoller::overflowText(qsizetype discarded)
{
    return QStringLiteral("Scanner input too long: %1 characters without a pause were discarded.")
        .arg(discarded);
}

void ScanPoller::bytesArrived()
{
    // While input is being thrown away, the ticks drain the port at their own pace: a device
    // that sends without pause costs one read per interval, not one per burst.
    if (!m_started || m_discarded != 0 || m_port.bytesWaiting() == 0)
        return;
    tick();
}

void ScanPoller::tick()
{
    step();
    scheduleTick();
}

void ScanPoller::scheduleTick()
{
    if (!m_started)
        return;
    if (!m_scanBuffer.isEmpty() || m_discarded != 0 || m_port.bytesWaiting() != 0)
        m_timer->start();
    else
        m_timer->stop();
}

void ScanPoller::step()
{
    if (m_gate.isBusy() || !m_port.isOpen())
        return;
    if (m_port.bytesWaiting() != 0) {
        receive();
        return;
    }
    if (m_discarded != 0) {
        reportOverflowWhenQuiet();
        return;
    }
    if (!m_scanBuffer.isEmpty()) {
        ++m_idleTicks;
        Q_EMIT lastScanChanged(lastScanText(m_scanBuffer));
    }
    if (m_idleTicks != 2)
        return;

    base::LabelGate::Hold hold(m_gate);
    handleLabel();
}

void ScanPoller::abandonLabel()
{
    qCInfo(lcPoll) << "the handling of the label in hand failed";
    m_abandoned = true;
}

void ScanPoller::dropPartialLabel()
{
    if (!m_scanBuffer.isEmpty())
        qCInfo(lcPoll) << "dropped" << m_scanBuffer.size() << "characters of a cut-off label";
    m_scanBuffer.clear();
    m_idleTicks = 0;
    m_discarded = 0;
    Q_EMIT activityChanged(false, QString());
    Q_EMIT lastScanChanged(lastScanText(QString()));
    scheduleTick();
}

void ScanPoller::receive()
{
    const QString received = text::fromSingleByte(m_port.readAll());
    if (received.isEmpty())
        return;
    Q_EMIT activityChanged(true, received.left(1));
    m_idleTicks = 0;
    if (m_discarded != 0 || m_scanBuffer.size() + received.size() > MaxScanBuffer) {
        // Nothing useful can come of it: drop it all until the scanner pauses.
        m_discarded += m_scanBuffer.size() + received.size();
        m_scanBuffer.clear();
        return;
    }
    m_scanBuffer += received;
}

void ScanPoller::reportOverflowWhenQuiet()
{
    if (++m_idleTicks < 2)
        return;
    qCInfo(lcPoll) << "scan buffer overflow, discarded" << m_discarded;
    Q_EMIT activityChanged(false, QString());
    Q_EMIT statusChanged(overflowText(m_discarded));
    Q_EMIT lastScanChanged(lastScanText(QString()));
    m_discarded = 0;
    m_idleTicks = 0;
}

void ScanPoller::handleLabel()
{
    m_idleTicks = 0;
    Q_EMIT activityChanged(false, QString());
    // The label in hand leaves the buffer before anything is handled: when "%N%" fails, the
    // label it was for goes with it, as the text is not taken without its field.
    const ScanRoute route = routeScan(std::exchange(m_scanBuffer, QString()));
    m_abandoned = false;
    if (route.fieldNFirst) {
        Q_EMIT labelScanned(QStringLiteral("%N%"));
        if (m_abandoned)
            return;
    }
    handleRoute(route, false);
}

void ScanPoller::takeExpansion(const QString &expanded, const QString &rest)
{
    // What the decoder finds after the compressed label stays as the next label.
    m_scanBuffer = rest;
    handleRoute(routeLabel(expanded), true);
}

void ScanPoller::handleRoute(const ScanRoute &route, bool expansion)
{
    switch (route.kind) {
    case ScanKind::Nothing:
        return;
    case ScanKind::Compressed:
        // An expansion that is itself compressed is not expanded again.
        if (!expansion)
            Q_EMIT compressedLabelScanned(route.label);
        return;
    case ScanKind::Ignored:
        Q_EMIT labelIgnored(route.label);
        return;
    case ScanKind::Program:
        Q_EMIT programLabelScanned(route.label);
        return;
    case ScanKind::Ordinary:
        // The status line shows the label as it was scanned, the rest included.
        Q_EMIT statusChanged(base::status::readingLabel() + route.label + route.rest);
        m_port.discardInput();
        // The rest stays in the buffer even when the label's handling fails.
        m_scanBuffer.prepend(route.rest);
        Q_EMIT labelScanned(route.label);
        return;
    }
}

} // namespace barlink::scanner
