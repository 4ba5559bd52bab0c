#include "ScanPoller.h"

#include "ScannerPort.h"
#include "base/Error.h"
#include "base/OperatorDisplay.h"
#include "base/Prompter.h"
#include "base/StatusTexts.h"
#include "base/LabelGate.h"
#include "text/SingleByte.h"

#include <QLoggingCategory>

#include <utility>

Q_LOGGING_CATEGORY(lcPoll, "barlink.scanner.poll", QtWarningMsg)

namespace barlink::scanner {

namespace {

const QChar CompressedMarker(0xF1);

QString lastScanText(const QString &buffer)
{
    return QStringLiteral(" Last Scan:    ") + buffer;
}

} // namespace

ScanPoller::ScanPoller(ScannerPort &port,
                       LabelHandlers &handlers,
                       app::OperatorDisplay &display,
                       app::Prompter &prompter,
                       label::LabelGate &gate,
                       QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_handlers(handlers)
    , m_display(display)
    , m_prompter(prompter)
    , m_gate(gate)
{
    // A label is handled on the second quiet tick: the ticks keep to the interval instead of
    // the 5% either way a coarse timer may drift, so that the wait stays within three
    // intervals of the label's last byte.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ScanPoller::tick);
}

void ScanPoller::start(int intervalMs)
{
    m_timer.start(std::max(1, intervalMs));
}

QString ScanPoller::overflowText(qsizetype discarded)
{
    return QStringLiteral("Scanner input too long: %1 characters without a pause were discarded.")
        .arg(discarded);
}

void ScanPoller::tick()
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

    label::LabelGate::Hold hold(m_gate);
    try {
        handleLabel();
    } catch (const Error &error) {
        // The label in hand is done with; what followed it in the buffer stays.
        qCInfo(lcPoll) << "label handling failed:" << error.what();
        m_idleTicks = 0;
        m_prompter.inform(app::Prompter::Icon::Critical, unexpectedErrorText(error));
    } catch (const std::exception &error) {
        m_idleTicks = 0;
        m_prompter.inform(app::Prompter::Icon::Critical,
                          unexpectedErrorText(Error::InvalidCall,
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
    // The label in hand; the scan buffer keeps only what is handled later.
    QString label = std::exchange(m_scanBuffer, QString());

    // Apostrophe rule: "'" + text + "$" + ... selects field N for the text before "$". When
    // "%N%" fails, the label is abandoned whole: the text is not taken without its field.
    if (label.startsWith(QLatin1Char('\''))) {
        const qsizetype dollar = label.indexOf(QLatin1Char('$'), 1);
        if (dollar >= 1) {
            label = label.mid(1, dollar - 1);
            if (label.isEmpty())
                return;
            (void)m_handlers.interpretLabel(QStringLiteral("%N%"));
        }
    }

    // What follows a compressed label in the same burst is a label of its own.
    if (label.startsWith(CompressedMarker)) {
        label = m_handlers.decodeCompressedLabel(label, m_scanBuffer);
        if (label.isEmpty())
            return;
    }

    if (label.contains(QLatin1Char('^'))) {
        m_handlers.interpretProgramBarcode(label);
        return;
    }

    label.replace(QLatin1Char('!'), QLatin1Char(' '));
    m_display.setStatus(app::status::readingLabel() + label);
    m_port.discardInput();
    // A label that begins with "%" ends at its closing "%"; what follows is a label of its own,
    // handled before anything that followed a compressed label.
    const qsizetype percent = label.indexOf(QLatin1Char('%'), 1);
    if (percent >= 0) {
        m_scanBuffer.prepend(label.mid(percent + 1));
        label.truncate(percent + 1);
    }
    (void)m_handlers.interpretLabel(label);
}

} // namespace barlink::scanner
