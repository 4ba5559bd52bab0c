#include "ScanPoller.h"

#include "ScanRouting.h"
#include "ScannerPort.h"
#include "base/LabelGate.h"
#include "base/StatusTexts.h"
#include "text/EscapedBytes.h"
#include "text/SingleByte.h"

#include <QLoggingCategory>

#include <algorithm>
#include <utility>

Q_LOGGING_CATEGORY(lcPoll, "barlink.scanner.poll", QtWarningMsg)

namespace barlink::scanner {

namespace {

QString lastScanText(const QString &buffer)
{
    return ScanPoller::tr(" Last Scan:    ") + buffer;
}

qsizetype leadingLineEnds(QStringView text)
{
    return std::find_if_not(text.begin(), text.end(), isLineEnd) - text.begin();
}

QStringView withoutLineEndsAtEnd(QStringView text)
{
    while (!text.isEmpty() && isLineEnd(text.back()))
        text.chop(1);
    return text;
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

void ScanPoller::setLabelEnd(const QString &suffix,
                             std::function<bool(QStringView)> compressedWhole)
{
    m_labelEnd = suffix;
    m_compressedWhole = std::move(compressedWhole);
}

QString ScanPoller::labelEndMissingText(const QString &suffix)
{
    return tr("Labels are arriving without the LabelEnd suffix %1: each waits for two quiet poll "
              "intervals. Set the scanner to end every label with it, or clear LabelEnd in "
              "KTQ.INI.")
        .arg(text::escapeBytes(text::toSingleByte(suffix)));
}

QString ScanPoller::overflowText(qsizetype discarded)
{
    return tr("Scanner input too long: %1 characters without a pause were discarded.")
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
    bool ended = false;
    if (m_port.bytesWaiting() != 0) {
        ended = receive();
    } else if (m_discarded != 0) {
        reportOverflowWhenQuiet();
        return;
    } else if (!m_scanBuffer.isEmpty()) {
        ++m_idleTicks;
        Q_EMIT lastScanChanged(lastScanText(m_scanBuffer));
    }
    const bool quiet = m_idleTicks == 2;
    if (!quiet && !ended)
        return;

    base::LabelGate::Hold hold(m_gate);
    if (quiet)
        handleLabel(true);
    if (!m_labelEnd.isEmpty())
        handleEndedLabels();
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
    m_afterLineEnd = false;
    Q_EMIT activityChanged(false, QString());
    Q_EMIT lastScanChanged(lastScanText(QString()));
    scheduleTick();
}

bool ScanPoller::receive()
{
    QString received = text::fromSingleByte(m_port.readAll());
    if (m_afterLineEnd && m_scanBuffer.isEmpty())
        received.remove(0, leadingLineEnds(received));
    if (received.isEmpty())
        return false;
    m_afterLineEnd = false;
    Q_EMIT activityChanged(true, received.left(1));
    m_idleTicks = 0;
    if (m_discarded != 0 || m_scanBuffer.size() + received.size() > MaxScanBuffer) {
        // Nothing useful can come of it: drop it all until the scanner pauses.
        m_discarded += m_scanBuffer.size() + received.size();
        m_scanBuffer.clear();
        return false;
    }
    // Only the new text (and a label end split across two reads) can hold a new label end.
    const qsizetype from = std::max<qsizetype>(0, m_scanBuffer.size() - m_labelEnd.size() + 1);
    m_scanBuffer += received;
    return !m_labelEnd.isEmpty() && m_scanBuffer.indexOf(m_labelEnd, from) >= 0;
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

bool ScanPoller::handleLabel(bool quiet)
{
    const ScanRoute route = routeScan(
        m_scanBuffer, {.suffix = m_labelEnd, .quiet = quiet, .compressedWhole = m_compressedWhole});
    if (route.kind == ScanKind::Pending)
        return false;
    m_idleTicks = 0;
    Q_EMIT activityChanged(false, QString());
    const QString taken = m_scanBuffer.chopped(route.next.size());
    if (!quiet)
        Q_EMIT lastScanChanged(lastScanText(taken));
    m_afterLineEnd = !taken.isEmpty() && isLineEnd(taken.back());
    // The label in hand leaves the buffer before anything is handled: when "%N%" fails, the
    // label it was for goes with it, as the text is not taken without its field. The labels
    // after its end stay.
    m_scanBuffer = route.next;
    if (m_afterLineEnd)
        m_scanBuffer.remove(0, leadingLineEnds(m_scanBuffer));
    m_abandoned = false;
    if (route.fieldNFirst) {
        Q_EMIT labelScanned(QStringLiteral("%N%"));
        if (m_abandoned)
            return true;
    }
    handleRoute(route, false);
    if (route.withoutLabelEnd && !m_labelEndMissingTold) {
        m_labelEndMissingTold = true;
        qCWarning(lcPoll) << "a label ended by quiet without the label end" << m_labelEnd;
        Q_EMIT labelEndMissing(labelEndMissingText(m_labelEnd));
    }
    return true;
}

void ScanPoller::handleEndedLabels()
{
    while (!m_scanBuffer.isEmpty() && handleLabel(false)) {
        // What arrived while the label was handled may end the next one.
        if (m_port.isOpen() && m_port.bytesWaiting() != 0)
            receive();
    }
}

void ScanPoller::takeExpansion(const QString &expanded, const QString &rest)
{
    // What the decoder finds after the compressed label stays as the next label, without the
    // compressed label's own end.
    m_scanBuffer
        = !m_labelEnd.isEmpty() && rest.startsWith(m_labelEnd) ? rest.mid(m_labelEnd.size()) : rest;
    handleRoute(routeLabel(expanded, LineEnds::Kept), true);
}

void ScanPoller::handleRoute(const ScanRoute &route, bool expansion)
{
    switch (route.kind) {
    case ScanKind::Nothing:
    case ScanKind::Pending: // waits in the buffer for the rest of it
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
        // The status line shows the label as it was scanned, the rest included, without the
        // line end the rest keeps.
        Q_EMIT statusChanged(base::status::readingLabel() + route.label
                             + withoutLineEndsAtEnd(route.rest).toString());
        // What the port holds beyond the label is thrown away; with a label end it is the
        // next label, which would be lost.
        if (m_labelEnd.isEmpty())
            m_port.discardInput();
        // The rest stays in the buffer even when the label's handling fails.
        m_scanBuffer.prepend(route.rest);
        Q_EMIT labelScanned(route.label);
        return;
    }
}

} // namespace barlink::scanner
