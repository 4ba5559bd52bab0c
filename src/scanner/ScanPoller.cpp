#include "ScanPoller.h"

#include "ScanRouting.h"
#include "ScannerPort.h"
#include "base/Error.h"
#include "base/LabelGate.h"
#include "base/OperatorDisplay.h"
#include "base/Prompter.h"
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
                       Handlers handlers,
                       base::OperatorDisplay &display,
                       base::Prompter &prompter,
                       base::LabelGate &gate,
                       QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_handlers(std::move(handlers))
    , m_display(display)
    , m_prompter(prompter)
    , m_gate(gate)
{
    // Every read and every tick starts the interval anew, so that quiet is measured from the
    // last byte read; a precise timer keeps to the interval instead of the 5% either way a
    // coarse one may drift.
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ScanPoller::tick);
    connect(&m_port, &ScannerPort::bytesArrived, this, &ScanPoller::bytesArrived);
}

ScanPoller::~ScanPoller() = default;

void ScanPoller::start(int intervalMs)
{
    m_timer.setInterval(std::max(1, intervalMs));
    m_started = true;
    scheduleTick();
}

void ScanPoller::stop()
{
    m_started = false;
    m_timer.stop();
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
        m_timer.start();
    else
        m_timer.stop();
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
        m_display.setLastScan(lastScanText(m_scanBuffer));
    }
    if (m_idleTicks != 2)
        return;

    base::LabelGate::Hold hold(m_gate);
    try {
        handleLabel();
    } catch (const base::Error &error) {
        // The label in hand is done with; what followed it in the buffer stays.
        qCInfo(lcPoll) << "label handling failed:" << error.what();
        m_idleTicks = 0;
        m_prompter.informWithDetails(base::Prompter::Icon::Critical,
                                     base::unexpectedErrorText(error),
                                     base::unexpectedErrorDetails(error));
    } catch (const std::exception &error) {
        m_idleTicks = 0;
        m_prompter.inform(base::Prompter::Icon::Critical,
                          base::unexpectedErrorText(base::Error::InvalidCall,
                                                    QString::fromLocal8Bit(error.what())));
    }
}

void ScanPoller::dropPartialLabel()
{
    if (!m_scanBuffer.isEmpty())
        qCInfo(lcPoll) << "dropped" << m_scanBuffer.size() << "characters of a cut-off label";
    m_scanBuffer.clear();
    m_idleTicks = 0;
    m_discarded = 0;
    m_display.setActivity(false);
    m_display.setLastScan(lastScanText(QString()));
    scheduleTick();
}

void ScanPoller::receive()
{
    const QString received = text::fromSingleByte(m_port.readAll());
    if (received.isEmpty())
        return;
    m_display.setActivity(true, received.left(1));
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
    m_display.setActivity(false);
    m_display.setStatus(overflowText(m_discarded));
    m_display.setLastScan(lastScanText(QString()));
    m_discarded = 0;
    m_idleTicks = 0;
}

void ScanPoller::handleLabel()
{
    m_idleTicks = 0;
    m_display.setActivity(false);
    // The label in hand leaves the buffer before anything is handled: when "%N%" fails, the
    // label it was for goes with it, as the text is not taken without its field.
    ScanRoute route = routeScan(std::exchange(m_scanBuffer, QString()));
    if (route.fieldNFirst)
        m_handlers.interpretLabel(QStringLiteral("%N%"));

    if (route.kind == ScanKind::Compressed) {
        // What the decoder finds after the compressed label stays as the next label; a label
        // that cannot be expanded takes everything after it with it.
        QString rest;
        const QString expanded = m_handlers.decodeCompressedLabel(route.label, rest);
        if (expanded.isEmpty())
            return;
        m_scanBuffer = rest;
        route = routeLabel(expanded);
    }

    switch (route.kind) {
    case ScanKind::Nothing:
    case ScanKind::Compressed:
        return;
    case ScanKind::Ignored:
        Q_EMIT labelIgnored(route.label);
        return;
    case ScanKind::Program:
        m_handlers.interpretProgramBarcode(route.label);
        return;
    case ScanKind::Ordinary:
        // The status line shows the label as it was scanned, the rest included.
        m_display.setStatus(base::status::readingLabel() + route.label + route.rest);
        m_port.discardInput();
        // The rest stays in the buffer even when the label's handling fails.
        m_scanBuffer.prepend(route.rest);
        m_handlers.interpretLabel(route.label);
        return;
    }
}

} // namespace barlink::scanner
