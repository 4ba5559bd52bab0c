#pragma once

#include "base/Clock.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace barlink::base {
class OperatorDisplay;
class Prompter;
} // namespace barlink::base
namespace barlink::base {
class LabelGate;
} // namespace barlink::base

namespace barlink::label {}

namespace barlink::scanner {

class ScannerPort;

// Assembles labels from the scanner port: reads what arrives into the scan buffer and, once
// the port has been quiet for two poll intervals after the last read, hands the label on as
// routeScan() says. The poller reads as soon as the port says bytes have arrived, ticks every
// poll interval while a label is pending, and does not wake while nothing is.
class ScanPoller : public QObject
{
    Q_OBJECT
public:
    // More characters than any label carries: a scanner that never goes quiet
    // cannot make the buffer grow beyond this.
    static constexpr qsizetype MaxScanBuffer = 256 * 1024;

    // Where labels go.
    struct Handlers
    {
        std::function<void(const QString &label)> interpretLabel;
        // The expanded text of the compressed label, empty when it cannot be expanded. rest
        // receives what follows the compressed label, a label of its own.
        std::function<QString(const QString &label, QString &rest)> decodeCompressedLabel;
        std::function<void(const QString &label)> interpretProgramBarcode;
    };

    ScanPoller(ScannerPort &port,
               Handlers handlers,
               base::OperatorDisplay &display,
               base::Prompter &prompter,
               base::LabelGate &gate,
               QObject *parent = nullptr,
               base::Clock &clock = base::Clock::real());
    ~ScanPoller() override;

    // Starts polling at the interval; intervals below 1 ms are not used.
    void start(int intervalMs);
    void stop();
    [[nodiscard]] int interval() const { return m_timer->interval(); }
    // Whether the poller will tick without the port's word that bytes have arrived.
    [[nodiscard]] bool isTicking() const { return m_timer->isActive(); }

    // One tick: reads what has arrived, or counts a quiet interval and hands the label on
    // after the second. Skips while a label is being handled.
    void tick();

    // The scanner went away: what it had sent of a label may be cut off, and joined to the
    // next scan it would make a label nobody scanned. It is thrown away; the operator scans
    // that label again.
    void dropPartialLabel();

    [[nodiscard]] const QString &scanBuffer() const { return m_scanBuffer; }
    [[nodiscard]] int idleTicks() const { return m_idleTicks; }

    [[nodiscard]] static QString overflowText(qsizetype discarded);

Q_SIGNALS:
    // The scanner sent a label of nothing but blanks and control characters (a line end on
    // its own): it is not handled. scanned: the label as it came.
    void labelIgnored(const QString &scanned);

private:
    void bytesArrived();
    void step();
    void scheduleTick();
    void receive();
    void handleLabel();
    void reportOverflowWhenQuiet();

    ScannerPort &m_port;
    Handlers m_handlers;
    base::OperatorDisplay &m_display;
    base::Prompter &m_prompter;
    base::LabelGate &m_gate;
    std::unique_ptr<base::Timer> m_timer;
    bool m_started = false;
    QString m_scanBuffer;
    int m_idleTicks = 0;
    // Characters thrown away since the buffer overflowed; reported once the port is quiet.
    qsizetype m_discarded = 0;
};

} // namespace barlink::scanner
